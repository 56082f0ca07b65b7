#include "link/serial_port.h"

#include "link/comm_errors.h"
#include "link/serial_device.h"
#include "link/wake_pipe.h"
#include "link/write_queue.h"

#include <QMetaObject>
#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <cerrno>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <poll.h>
#include <sys/ioctl.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace vandorelle {

namespace {

constexpr int kRxChar = 0x1;
// An unread input queue keeps poll() reporting input; look again after this long.
constexpr int kUnreadInputRecheckMs = 20;
constexpr int kMaxWriteChunk = 4096;

void warn(const char *what) { qWarning("%s", what); }

// Runs a signal's receivers; whatever they throw is reported and ends only that event.
template <typename Emit>
void emitGuarded(Emit &&emitSignal)
{
    try {
        emitSignal();
    } catch (const std::exception &e) {
        warn(e.what());
    } catch (...) {
        warn("Unknown exception in a serial port event handler");
    }
}

} // namespace

QString deviceForPort(int portNum)
{
    const QString override = qEnvironmentVariable(qPrintable(QStringLiteral("VANDORELLE_COM%1").arg(portNum)));
    if (!override.isEmpty())
        return override;
    return QStringLiteral("/dev/ttyS%1").arg(portNum - 1);
}

// Everything that lives from Open to Close. Posted hand-overs hold a reference, so one that
// arrives after Close finds a session that is no longer the port's and does nothing.
struct CommSession : std::enable_shared_from_this<CommSession> {
    CommSession(const TVaBuffers &buffers, const LineSettings &line)
        : queue(qMax(1, buffers.WriteSize)), readSize(qMax(1, buffers.ReadSize)),
          writeTimeout(qMax(0, buffers.WriteTimeout)), nsPerCharacter(characterTime(line))
    {
    }

    // Start bit, data bits, parity, stop bits: how long one character occupies the wire.
    static qint64 characterTime(const LineSettings &line)
    {
        const int rate = qMax(1, bitsPerSecond(line));
        const int halfBits = 2 * (1 + 4 + int(line.databits)) + (line.parity == Parity::paNone ? 0 : 2)
                             + (line.stopbits == Stopbits::sb1 ? 2 : line.stopbits == Stopbits::sb15 ? 3 : 4);
        return qint64(halfBits) * 500'000'000 / rate;
    }
    static qint64 nowNs()
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch()).count();
    }

    int fd = -1;
    WakePipe wake;
    WriteQueue queue;
    const int readSize;
    const int writeTimeout;
    LineErrorCounters counters; // owner thread only

    std::atomic<bool> stopping{false};
    std::atomic<bool> failed{false};
    std::atomic<quint64> reads{0};
    // The buffer stayed full: set by the first failure of a stall, cleared by the next success.
    std::atomic<bool> stalled{false};
    // When the last byte handed to the device will have left the wire (steady clock).
    const qint64 nsPerCharacter;
    std::atomic<qint64> wireIdleAtNs{0};

    std::mutex handoverMutex;
    std::condition_variable handoverDone;
    bool handled = false;

    std::thread eventThread;
    std::thread writeThread;
};

struct TVaComm::Impl {
    explicit Impl(TVaComm *owner) : q(owner) {}

    TVaComm *q;
    int portNum = 1;
    QString deviceOverride;
    LineSettings line;
    TVaBuffers buffers;

    // Guards the session pointer and serialises device reads and status queries with Close.
    mutable std::mutex ioMutex;
    std::shared_ptr<CommSession> session;
    std::atomic<bool> active{false};

    std::shared_ptr<CommSession> currentSession() const
    {
        std::lock_guard lock(ioMutex);
        return session;
    }
    bool isCurrent(const std::shared_ptr<CommSession> &s) const
    {
        return !s->stopping && currentSession() == s;
    }

    // Line settings take effect at once on an open port.
    void applyLine()
    {
        if (std::shared_ptr<CommSession> s = currentSession())
            applyLineSettings(s->fd, line);
    }

    void startThreads(const std::shared_ptr<CommSession> &s);
    void stopThreads(CommSession &s);

    void eventLoop(CommSession *s);
    void handOver(CommSession *s, int events, int errors);
    void writeLoop(CommSession *s);
    void failLine(CommSession *s, int errors, int err);

    void handleEvents(const std::shared_ptr<CommSession> &s, int events, int errors);
    void handleTxEmpty(const std::shared_ptr<CommSession> &s);
};

// ---- event thread -------------------------------------------------------------------------

void TVaComm::Impl::eventLoop(CommSession *s)
{
    bool watching = true;
    int lastCount = -1;
    quint64 lastReads = ~quint64(0);
    while (!s->stopping) {
        pollfd fds[2] = {{s->wake.readFd(), POLLIN, 0}, {s->fd, POLLIN, 0}};
        const int n = ::poll(fds, watching ? 2 : 1, -1);
        if (n < 0) {
            if (errno != EINTR)
                s->wake.waitFor(kUnreadInputRecheckMs); // keep an odd failure from spinning
            continue;
        }
        if (s->stopping || fds[0].revents != 0)
            break;
        const short revents = fds[1].revents;
        int events = 0;
        int errors = 0;
        if (revents & (POLLHUP | POLLERR | POLLNVAL)) {
            // The far end is gone and stays gone: report it once, then leave the fd alone.
            watching = false;
            if (revents & POLLIN)
                events |= kRxChar;
            if (!s->failed.exchange(true)) {
                s->queue.fail();
                errors |= LineError::Hangup;
            }
        } else if (revents & POLLIN) {
            int count = -1;
            ::ioctl(s->fd, FIONREAD, &count);
            const quint64 reads = s->reads;
            if (count == lastCount && reads == lastReads) {
                // Nobody read the last delivery and nothing new came: wait, don't spin.
                s->wake.waitFor(kUnreadInputRecheckMs);
                continue;
            }
            lastCount = count;
            lastReads = reads;
            events |= kRxChar;
        }
        if (events != 0 || errors != 0)
            handOver(s, events, errors);
    }
}

// Runs the events on the owner thread and waits until they are handled; Close cuts the wait
// short, so the owner may close the port even while this thread is waiting for it.
void TVaComm::Impl::handOver(CommSession *s, int events, int errors)
{
    {
        std::lock_guard lock(s->handoverMutex);
        s->handled = false;
    }
    std::shared_ptr<CommSession> shared = s->shared_from_this();
    QMetaObject::invokeMethod(
        q,
        [this, shared, events, errors] {
            handleEvents(shared, events, errors);
            std::lock_guard lock(shared->handoverMutex);
            shared->handled = true;
            shared->handoverDone.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(s->handoverMutex);
    s->handoverDone.wait(lock, [s] { return s->handled || s->stopping; });
}

void TVaComm::Impl::handleEvents(const std::shared_ptr<CommSession> &s, int events, int errors)
{
    // Once the line is gone its fd answers queries with errors that say nothing new.
    const bool lineGone = s->failed;
    if ((events & kRxChar) && isCurrent(s)) {
        int count = 0;
        try {
            std::lock_guard lock(ioMutex);
            count = inputQueueCount(s->fd);
        } catch (const EVaCommError &e) {
            if (!lineGone)
                warn(e.what());
        }
        if (count > 0)
            emitGuarded([&] { emit q->OnRxChar(count); });
    }
    // A handler may have closed the port.
    if (!isCurrent(s))
        return;
    try {
        std::lock_guard lock(ioMutex);
        errors |= s->counters.takeNew(s->fd);
    } catch (const EVaCommError &e) {
        if (!lineGone)
            warn(e.what());
    }
    if (errors != 0)
        emitGuarded([&] { emit q->OnError(errors); });
}

// ---- write thread -------------------------------------------------------------------------

void TVaComm::Impl::writeLoop(CommSession *s)
{
    while (s->queue.waitForData()) {
        const QByteArray chunk = s->queue.front(kMaxWriteChunk);
        if (chunk.isEmpty())
            continue;
        pollfd fds[2] = {{s->wake.readFd(), POLLIN, 0}, {s->fd, POLLOUT, 0}};
        const int n = ::poll(fds, 2, -1);
        if (n < 0) {
            if (errno != EINTR)
                failLine(s, LineError::WriteFailed, errno);
            continue;
        }
        if (fds[0].revents != 0)
            break;
        const short revents = fds[1].revents;
        const bool broken = (revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
        if (!(revents & POLLOUT) && !broken)
            continue;
        const ssize_t written = ::write(s->fd, chunk.constData(), size_t(chunk.size()));
        if (written < 0) {
            const int err = errno;
            if (err == EINTR || ((err == EAGAIN || err == EWOULDBLOCK) && !broken))
                continue;
            failLine(s, broken ? LineError::WriteFailed | LineError::Hangup : LineError::WriteFailed,
                     err == EAGAIN || err == EWOULDBLOCK ? EIO : err);
            continue;
        }
        // A pseudo-terminal or a driver's queue takes a whole batch at once; the line needs its time.
        const qint64 now = CommSession::nowNs();
        s->wireIdleAtNs = qMax(s->wireIdleAtNs.load(), now) + qint64(written) * s->nsPerCharacter;
        if (s->queue.consume(written)) {
            std::shared_ptr<CommSession> shared = s->shared_from_this();
            QMetaObject::invokeMethod(q, [this, shared] { handleTxEmpty(shared); }, Qt::QueuedConnection);
        }
    }
}

// A write that failed: report once, drop what cannot go out any more. The owner is told
// without waiting, since it may itself be waiting for room in the write buffer.
void TVaComm::Impl::failLine(CommSession *s, int errors, int err)
{
    if (s->failed.exchange(true))
        return;
    s->queue.fail();
    warn(commError(CommStep::Write, err).what());
    std::shared_ptr<CommSession> shared = s->shared_from_this();
    QMetaObject::invokeMethod(q, [this, shared, errors] { handleEvents(shared, 0, errors); },
                              Qt::QueuedConnection);
}

void TVaComm::Impl::handleTxEmpty(const std::shared_ptr<CommSession> &s)
{
    if (isCurrent(s))
        emitGuarded([&] { emit q->OnTxEmpty(); });
}

// ---- lifecycle ----------------------------------------------------------------------------

void TVaComm::Impl::startThreads(const std::shared_ptr<CommSession> &s)
{
    CommSession *raw = s.get();
    s->eventThread = std::thread([this, raw] { eventLoop(raw); });
    s->writeThread = std::thread([this, raw] { writeLoop(raw); });
}

void TVaComm::Impl::stopThreads(CommSession &s)
{
    s.stopping = true;
    {
        std::lock_guard lock(s.handoverMutex);
        s.handoverDone.notify_all();
    }
    s.queue.stop();
    s.wake.signal();
    for (std::thread *thread : {&s.eventThread, &s.writeThread}) {
        if (thread->joinable())
            thread->join();
    }
}

TVaComm::TVaComm(QObject *parent) : QObject(parent), d(std::make_unique<Impl>(this)) {}

TVaComm::~TVaComm() { Close(); }

void TVaComm::Open()
{
    if (d->active)
        throw portIsOpen();
    const QString path = DeviceName();
    const int fd = openSerialDevice(path);
    auto s = std::make_shared<CommSession>(d->buffers, d->line);
    s->fd = fd;
    try {
        configureSerialDevice(fd, d->line);
        if (!s->wake.open())
            throw commError(CommStep::SetEventMask, errno);
        s->counters.reset(fd);
    } catch (...) {
        closeSerialDevice(fd);
        throw;
    }
    // Published before the threads run, so their first hand-over already counts.
    {
        std::lock_guard lock(d->ioMutex);
        d->session = s;
        d->active = true;
    }
    try {
        d->startThreads(s);
    } catch (const std::system_error &e) {
        Close();
        throw commError(CommStep::SetEventMask, e.code().value());
    }
}

void TVaComm::Close()
{
    std::shared_ptr<CommSession> s = d->currentSession();
    if (!s)
        return;
    d->stopThreads(*s);
    std::lock_guard lock(d->ioMutex);
    closeSerialDevice(s->fd);
    s->fd = -1;
    d->session.reset();
    d->active = false;
}

bool TVaComm::Active() const { return d->active; }

bool TVaComm::QueueText(const QByteArray &bytes)
{
    std::shared_ptr<CommSession> s = d->currentSession();
    if (!s || s->failed)
        return false;
    if (bytes.isEmpty())
        return true;
    switch (s->queue.append(bytes, std::chrono::milliseconds(s->writeTimeout))) {
    case WriteQueue::Result::Queued:
        s->stalled = false;
        return true;
    case WriteQueue::Result::Refused: return false;
    case WriteQueue::Result::Full: break;
    }
    throw outputBufferFull(s->stalled.exchange(true));
}

qint64 TVaComm::msSinceOutputDrained() const
{
    std::shared_ptr<CommSession> s = d->currentSession();
    if (!s || s->failed)
        return std::numeric_limits<qint64>::max();
    const qint64 sinceWire = CommSession::nowNs() - s->wireIdleAtNs;
    if (!s->queue.isEmpty() || sinceWire <= 0)
        return 0;
    int queued = 0;
    std::lock_guard lock(d->ioMutex);
    // A real UART held off by XOFF keeps its bytes here; a pseudo-terminal reports none.
    if (s->fd >= 0 && ::ioctl(s->fd, TIOCOUTQ, &queued) == 0 && queued > 0)
        return 0;
    return qMax<qint64>(1, sinceWire / 1'000'000);
}

QByteArray TVaComm::ReadAvailable()
{
    QByteArray received;
    std::lock_guard lock(d->ioMutex);
    const std::shared_ptr<CommSession> &s = d->session;
    if (!s)
        return received;
    ++s->reads;
    std::vector<char> chunk(size_t(qMin(s->readSize, kMaxReadChunk)));
    while (received.size() < kMaxReadChunk) {
        const size_t room = size_t(qMin<qsizetype>(qsizetype(chunk.size()), kMaxReadChunk - received.size()));
        const ssize_t n = ::read(s->fd, chunk.data(), room);
        if (n > 0) {
            received.append(chunk.data(), qsizetype(n));
            continue;
        }
        if (n == 0)
            break;
        const int err = errno;
        if (err == EINTR)
            continue;
        if (err == EAGAIN || err == EWOULDBLOCK)
            break;
        // Keep what arrived; the failure shows again on the next read.
        if (received.isEmpty())
            throw commError(CommStep::Read, err);
        break;
    }
    return received;
}

int TVaComm::PortNum() const { return d->portNum; }

void TVaComm::setPortNum(int portNum)
{
    if (d->active)
        throw portIsOpen();
    d->portNum = portNum;
}

QString TVaComm::DeviceName() const
{
    return d->deviceOverride.isEmpty() ? deviceForPort(d->portNum) : d->deviceOverride;
}

void TVaComm::setDeviceOverride(const QString &path)
{
    if (d->active)
        throw portIsOpen();
    d->deviceOverride = path;
}

void TVaComm::setBaudrate(Baudrate rate)
{
    d->line.baudrate = rate;
    d->applyLine();
}

void TVaComm::setUserBaudrate(int rate)
{
    d->line.userBaudrate = rate;
    d->applyLine();
}

void TVaComm::setDatabits(Databits bits)
{
    d->line.databits = bits;
    d->applyLine();
}

void TVaComm::setParity(Parity parity)
{
    d->line.parity = parity;
    d->applyLine();
}

void TVaComm::setStopbits(Stopbits bits)
{
    d->line.stopbits = bits;
    d->applyLine();
}

TVaBuffers &TVaComm::Buffers()
{
    if (d->active)
        throw portIsOpen();
    return d->buffers;
}

const TVaBuffers &TVaComm::Buffers() const { return d->buffers; }

} // namespace vandorelle
