#include "support/emulator.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace vandorelle::test {

namespace {
constexpr int kStopTimeoutMs = 5000;
constexpr int kKillTimeoutMs = 2000;
constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;
constexpr int kReadySliceMs = 1000; // how often the wait for the first line looks at the process
} // namespace

Emulator::Emulator() = default;

Emulator::~Emulator() { stop(); }

QString Emulator::binaryPath() { return QStringLiteral(VANDORELLE_BINARY_DIR "/vandorelle-sim"); }

bool Emulator::start(const QStringList &options, int startTimeoutMs)
{
    stop();
    error_.clear();
    devicePath_.clear();
    exitCode_ = -1;
    process_ = std::make_unique<QProcess>();
    if (errorFile_.isEmpty())
        process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    else
        process_->setStandardErrorFile(errorFile_, QIODevice::Append);
    process_->start(binaryPath(), options);
    const QDeadlineTimer deadline(startTimeoutMs);
    if (!process_->waitForStarted(int(std::max<qint64>(1, deadline.remainingTime())))) {
        error_ = QStringLiteral("cannot start %1: %2").arg(binaryPath(), process_->errorString());
        process_.reset();
        return false;
    }
    // Its first line says it is ready; a busy machine may take long to get there, so
    // only its end, or a last-resort deadline, stops the wait.
    while (!process_->canReadLine()) {
        if (process_->state() != QProcess::Running) {
            stop();
            error_ = QStringLiteral("the emulator ended before it was ready (%1)")
                         .arg(exitCode_ >= 0 ? QStringLiteral("exit code %1").arg(exitCode_)
                                             : QStringLiteral("crashed or killed"));
            return false;
        }
        if (deadline.hasExpired()) {
            stop();
            error_ = QStringLiteral("the emulator gave no device path within %1 s").arg(startTimeoutMs / 1000);
            return false;
        }
        process_->waitForReadyRead(int(std::clamp<qint64>(deadline.remainingTime(), 1, kReadySliceMs)));
    }
    devicePath_ = QString::fromLocal8Bit(process_->readLine()).trimmed();
    if (devicePath_.isEmpty()) {
        error_ = QStringLiteral("the emulator's first line was empty");
        stop();
        return false;
    }
    return true;
}

void Emulator::stop()
{
    if (!process_) return;
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(kStopTimeoutMs)) {
            process_->kill();
            process_->waitForFinished(kKillTimeoutMs);
        }
    }
    exitCode_ = process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
    process_.reset();
}

bool Emulator::isRunning() const { return process_ && process_->state() == QProcess::Running; }

void Emulator::exportAsComPort(int n) const
{
    qputenv(QStringLiteral("VANDORELLE_COM%1").arg(n).toLatin1().constData(), devicePath_.toLocal8Bit());
}

RawLine::~RawLine() { close(); }

bool RawLine::open(const QString &path)
{
    close();
    fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return false;
    termios tio{};
    if (tcgetattr(fd_, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd_, TCSANOW, &tio);
    }
    buffer_.clear();
    flowControl_.clear();
    skipped_ = 0;
    return true;
}

void RawLine::close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool RawLine::write(const QByteArray &bytes)
{
    qint64 done = 0;
    const QDeadlineTimer deadline(5000);
    while (done < bytes.size() && !deadline.hasExpired()) {
        const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, 50);
        } else {
            return false;
        }
    }
    return done == bytes.size();
}

bool RawLine::fill(int timeoutMs)
{
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, std::max(0, timeoutMs)) <= 0) return false;
    char chunk[4096];
    const ssize_t n = ::read(fd_, chunk, sizeof chunk);
    if (n <= 0) {
        ::poll(nullptr, 0, 10); // a hung-up line must not spin until the deadline
        return false;
    }
    for (ssize_t i = 0; i < n; ++i) {
        const char c = chunk[i];
        (c == kXon || c == kXoff ? flowControl_ : buffer_).append(c);
    }
    return true;
}

bool RawLine::cutFrame(RawFrame &frame)
{
    const qsizetype start = buffer_.indexOf("start_");
    if (start < 0) return false;
    const qsizetype end = buffer_.indexOf("ende_", start + 6);
    if (end < 0 || end < start + 9) return false;
    skipped_ += start;
    frame.tag = buffer_.mid(start + 6, 3);
    frame.payload = buffer_.mid(start + 9, end - start - 9);
    buffer_.remove(0, end + 5);
    return true;
}

std::vector<RawFrame> RawLine::readFrames(int count, int timeoutMs)
{
    std::vector<RawFrame> frames;
    const QDeadlineTimer deadline(timeoutMs);
    RawFrame frame;
    while (int(frames.size()) < count) {
        if (cutFrame(frame)) {
            frames.push_back(frame);
            continue;
        }
        if (deadline.hasExpired()) break;
        fill(int(deadline.remainingTime()));
    }
    return frames;
}

std::vector<RawFrame> RawLine::readUntil(const QByteArray &tag, int timeoutMs)
{
    std::vector<RawFrame> frames;
    const QDeadlineTimer deadline(timeoutMs);
    RawFrame frame;
    for (;;) {
        if (cutFrame(frame)) {
            frames.push_back(frame);
            if (frame.tag == tag) break;
            continue;
        }
        if (deadline.hasExpired()) break;
        fill(int(deadline.remainingTime()));
    }
    return frames;
}

QByteArray RawLine::readRaw(int waitMs)
{
    const QDeadlineTimer deadline(waitMs);
    while (!deadline.hasExpired()) fill(int(deadline.remainingTime()));
    return buffer_;
}

std::vector<long long> payloadValues(const QByteArray &payload)
{
    std::vector<long long> values;
    const QList<QByteArray> parts = payload.split(',');
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) values.push_back(parts[i].toLongLong());
    return values;
}

bool sumCheckHolds(const QByteArray &payload)
{
    const auto values = payloadValues(payload);
    if (values.size() < 2) return false;
    long long sum = 0;
    for (size_t i = 0; i + 1 < values.size(); ++i) sum += values[i];
    return sum == values.back();
}

} // namespace vandorelle::test
