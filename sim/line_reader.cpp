#include "sim/line_reader.h"

#include "sim/line_writer.h"
#include "sim/receive_buffer.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace vandorelle::sim {

namespace {
constexpr int kPaceIntervalMs = 5;
constexpr int kChunk = 4096;
} // namespace

LineReader::LineReader(int fd, int baud, LineWriter &writer, Sink sink, Room room, QObject *parent)
    : QObject(parent),
      fd_(fd),
      pace_(baud),
      writer_(writer),
      sink_(std::move(sink)),
      room_(std::move(room)),
      readable_(fd, QSocketNotifier::Read)
{
    paceTimer_.setInterval(kPaceIntervalMs);
    connect(&paceTimer_, &QTimer::timeout, this, [this] { pump(); });
    connect(&readable_, &QSocketNotifier::activated, this, [this] { pump(); });
}

void LineReader::resume()
{
    // Never from inside the controller's own work: it called us.
    QTimer::singleShot(0, this, [this] { pump(); });
}

void LineReader::waitForData()
{
    pace_.rest();
    paceTimer_.stop();
    readable_.setEnabled(true);
}

void LineReader::waitForCredit()
{
    readable_.setEnabled(false);
    if (!paceTimer_.isActive()) paceTimer_.start();
}

void LineReader::waitForRoom()
{
    readable_.setEnabled(false);
    paceTimer_.stop();
}

void LineReader::pump()
{
    char buffer[kChunk];
    for (;;) {
        qint64 want = std::min(room_(), kChunk);
        if (want <= 0) {
            waitForRoom();
            return;
        }
        if (pace_.paced()) {
            want = std::min(want, pace_.allowance());
            if (want <= 0) {
                waitForCredit();
                return;
            }
        }
        const ssize_t n = ::read(fd_, buffer, size_t(want));
        if (n > 0) {
            if (pace_.paced()) pace_.spend(n);
            deliver(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            waitForData();
            return;
        }
        // EIO cannot happen while the emulator holds the slave; never spin on it.
        waitForRoom();
        return;
    }
}

void LineReader::deliver(const char *bytes, qint64 count)
{
    qint64 from = 0;
    for (qint64 i = 0; i < count; ++i) {
        if (bytes[i] != kXon && bytes[i] != kXoff) continue;
        if (i > from) sink_(QByteArray(bytes + from, int(i - from)));
        writer_.holdOutput(bytes[i] == kXoff);
        from = i + 1;
    }
    if (count > from) sink_(QByteArray(bytes + from, int(count - from)));
}

} // namespace vandorelle::sim
