#include "sim/line_writer.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace vandorelle::sim {

namespace {
constexpr int kPaceIntervalMs = 5;
constexpr double kMaxBurstMs = 20;           // credit saved up while idle
constexpr qint64 kMaxPendingBytes = 8 << 20; // a tool that never reads must not eat memory
constexpr int kBitsPerCharacter = 10;
} // namespace

LineWriter::LineWriter(int fd, int baud, TransportFaults faults, uint32_t seed, QObject *parent)
    : QObject(parent),
      fd_(fd),
      bytesPerMs_(baud > 0 ? baud / double(kBitsPerCharacter) / 1000.0 : 0),
      faults_(faults),
      rng_(seed ^ 0x5eedu),
      writable_(fd, QSocketNotifier::Write)
{
    clock_.start();
    pace_.setInterval(kPaceIntervalMs);
    connect(&pace_, &QTimer::timeout, this, [this] { flush(); });
    writable_.setEnabled(false);
    connect(&writable_, &QSocketNotifier::activated, this, [this] {
        writable_.setEnabled(false);
        flush();
    });
}

QByteArray LineWriter::garbage(std::mt19937 &rng)
{
    static const QByteArray alphabet = "abcdefghijklmnopqrstuvwxyz0123456789 ,.;:-+#*!?";
    const int length = std::uniform_int_distribution<int>(1, 12)(rng);
    QByteArray text;
    for (int i = 0; i < length; ++i)
        text += alphabet.at(std::uniform_int_distribution<int>(0, int(alphabet.size()) - 1)(rng));
    return text;
}

void LineWriter::send(const QByteArray &frame)
{
    if (faults_.silenceAfter >= 0 && framesSent_ >= faults_.silenceAfter) return;
    ++framesSent_;
    if (pendingBytes_ > kMaxPendingBytes) {
        if (warn_) warn_(QStringLiteral("nobody reads the line; frame dropped"));
        return;
    }
    if (faults_.garbage) {
        queue_.push_back(garbage(rng_));
        pendingBytes_ += queue_.back().size();
    }
    queue_.push_back(frame);
    pendingBytes_ += frame.size();
    scheduleFlush();
}

void LineWriter::scheduleFlush()
{
    if (writable_.isEnabled()) return; // waiting for the line to take more
    if (bytesPerMs_ <= 0)
        QTimer::singleShot(0, this, [this] { flush(); });
    else if (!pace_.isActive())
        pace_.start();
}

void LineWriter::refillCredit()
{
    const qint64 now = clock_.elapsed();
    const double earned = (now - lastRefillMs_) * bytesPerMs_;
    lastRefillMs_ = now;
    credit_ = std::min(credit_ + earned, std::max(1.0, kMaxBurstMs * bytesPerMs_));
}

void LineWriter::flush()
{
    const bool paced = bytesPerMs_ > 0;
    if (paced) refillCredit();
    while (!queue_.empty()) {
        if (paced && credit_ < 1) break;
        qint64 want = queue_.front().size();
        QByteArray chunk;
        if (faults_.mergeFrames) {
            // One write for everything pending; pacing catches up afterwards.
            for (const QByteArray &part : queue_) chunk += part;
        } else {
            chunk = queue_.front();
            if (faults_.splitBytes) want = 1;
            if (paced) want = std::min<qint64>(want, qint64(credit_));
            chunk.truncate(want);
        }
        const ssize_t written = ::write(fd_, chunk.constData(), size_t(chunk.size()));
        if (written < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pace_.stop();
                writable_.setEnabled(true);
                return;
            }
            if (warn_) warn_(QStringLiteral("write to the line failed; output dropped"));
            queue_.clear();
            pendingBytes_ = 0;
            break;
        }
        pendingBytes_ -= written;
        if (paced) credit_ -= double(written);
        qint64 left = written;
        while (left > 0 && !queue_.empty()) {
            QByteArray &front = queue_.front();
            if (front.size() <= left) {
                left -= front.size();
                queue_.pop_front();
            } else {
                front.remove(0, left);
                left = 0;
            }
        }
        if (written < chunk.size()) {
            pace_.stop();
            writable_.setEnabled(true);
            return;
        }
    }
    if (queue_.empty() || !paced) {
        pace_.stop();
        if (!queue_.empty()) scheduleFlush();
    } else if (!pace_.isActive()) {
        pace_.start();
    }
}

} // namespace vandorelle::sim
