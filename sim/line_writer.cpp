#include "sim/line_writer.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace vandorelle::sim {

namespace {
constexpr int kPaceIntervalMs = 5;
constexpr qint64 kMaxPendingBytes = 8 << 20; // a tool that never reads must not eat memory
} // namespace

LineWriter::LineWriter(int fd, int baud, TransportFaults faults, uint32_t seed, QObject *parent)
    : QObject(parent),
      fd_(fd),
      pace_(baud),
      faults_(faults),
      rng_(seed ^ 0x5eedu),
      writable_(fd, QSocketNotifier::Write)
{
    paceTimer_.setInterval(kPaceIntervalMs);
    connect(&paceTimer_, &QTimer::timeout, this, [this] { flush(); });
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

void LineWriter::sendFlowControl(char c)
{
    flowControl_ += c;
    if (!writable_.isEnabled()) flush();
}

void LineWriter::holdOutput(bool held)
{
    if (held == held_) return;
    held_ = held;
    if (!held_ && !queue_.empty()) scheduleFlush();
}

void LineWriter::scheduleFlush()
{
    if (writable_.isEnabled()) return; // waiting for the line to take more
    if (!pace_.paced())
        QTimer::singleShot(0, this, [this] { flush(); });
    else if (!paceTimer_.isActive())
        flush(); // the first character now, the rest at the line's pace
}

void LineWriter::waitUntilWritable()
{
    paceTimer_.stop();
    writable_.setEnabled(true);
}

// False while the line takes nothing more.
bool LineWriter::flushFlowControl()
{
    while (!flowControl_.isEmpty()) {
        const ssize_t written = ::write(fd_, flowControl_.constData(), size_t(flowControl_.size()));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            waitUntilWritable();
            return false;
        }
        if (written < 0) {
            if (warn_) warn_(QStringLiteral("write to the line failed; flow control dropped"));
            flowControl_.clear();
            return true;
        }
        if (pace_.paced()) pace_.spend(written);
        flowControl_.remove(0, written);
    }
    return true;
}

void LineWriter::flush()
{
    if (!flushFlowControl()) return;
    if (held_) {
        paceTimer_.stop(); // holdOutput(false) starts again
        return;
    }
    const bool paced = pace_.paced();
    qint64 credit = paced ? pace_.allowance() : 0;
    while (!queue_.empty()) {
        if (paced && credit < 1) break;
        qint64 want = queue_.front().size();
        QByteArray chunk;
        if (faults_.mergeFrames) {
            // One write for everything pending; pacing catches up afterwards.
            for (const QByteArray &part : queue_) chunk += part;
        } else {
            chunk = queue_.front();
            if (faults_.splitBytes) want = 1;
            if (paced) want = std::min(want, credit);
            chunk.truncate(want);
        }
        const ssize_t written = ::write(fd_, chunk.constData(), size_t(chunk.size()));
        if (written < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                waitUntilWritable();
                return;
            }
            if (warn_) warn_(QStringLiteral("write to the line failed; output dropped"));
            queue_.clear();
            pendingBytes_ = 0;
            break;
        }
        pendingBytes_ -= written;
        if (paced) {
            pace_.spend(written);
            credit -= written;
        }
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
            waitUntilWritable();
            return;
        }
    }
    if (queue_.empty() || !paced) {
        paceTimer_.stop();
        if (queue_.empty()) pace_.rest();
        if (!queue_.empty()) scheduleFlush();
    } else if (!paceTimer_.isActive()) {
        paceTimer_.start();
    }
}

} // namespace vandorelle::sim
