#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QProcess;

namespace vandorelle::test {

// The emulated controller as a separate process on a fresh pseudo-terminal, for
// end-to-end tests. Point the tool's port at devicePath() (setDeviceOverride(path)
// or exportAsComPort()). The emulator stops when the object goes. It paces its output
// like a 9600-baud line unless started with {"--baud", "0"}; see `vandorelle-sim --help`
// for the fault options.
class Emulator {
public:
    Emulator();
    ~Emulator();
    Emulator(const Emulator &) = delete;
    Emulator &operator=(const Emulator &) = delete;

    static QString binaryPath();

    // Starts with the given command-line options and waits for its readiness line (the
    // terminal's path) until it comes or the emulator ends; startTimeoutMs is only a
    // last resort. False with lastError() on failure.
    bool start(const QStringList &options = {}, int startTimeoutMs = 60000);
    // Its standard error (the trace of -v among it) goes to this file from the next start on,
    // appended, instead of the test's own.
    void setErrorFile(const QString &path) { errorFile_ = path; }
    // SIGTERM, then a bounded wait; killed if it does not end in time.
    void stop();
    bool isRunning() const;
    // Exit code of the stopped emulator; -1 while running or when it crashed or was killed.
    int exitCode() const { return exitCode_; }

    QString devicePath() const { return devicePath_; }
    QString lastError() const { return error_; }
    // Sets VANDORELLE_COM<n> to the device path, for code that opens port n.
    void exportAsComPort(int n = 1) const;

private:
    std::unique_ptr<QProcess> process_;
    QString devicePath_;
    QString errorFile_;
    QString error_;
    int exitCode_ = -1;
};

struct RawFrame {
    QByteArray tag;
    QByteArray payload;
    bool operator==(const RawFrame &) const = default;
};

// The PC's end of the line without the tool: raw bytes out, frames in. Every wait is
// bounded by its time-out. XON and XOFF from the emulator are taken out of what
// arrives, as the tool's terminal does, and kept apart in flowControl().
class RawLine {
public:
    RawLine() = default;
    ~RawLine();
    RawLine(const RawLine &) = delete;
    RawLine &operator=(const RawLine &) = delete;

    bool open(const QString &path); // raw 8-bit, no echo
    void close();
    bool isOpen() const { return fd_ >= 0; }
    bool write(const QByteArray &bytes);

    // Frames in arrival order until `count` have come or the time-out.
    std::vector<RawFrame> readFrames(int count, int timeoutMs = 10000);
    // Frames up to and including the first with `tag`; stops early at the time-out.
    std::vector<RawFrame> readUntil(const QByteArray &tag, int timeoutMs = 10000);
    // Whatever arrives within waitMs, left in the buffer.
    QByteArray readRaw(int waitMs);
    // Bytes skipped before a "start_" since the line was opened.
    qint64 skippedBytes() const { return skipped_; }
    // The XON and XOFF characters received since the line was opened, in order.
    QByteArray flowControl() const { return flowControl_; }

private:
    bool fill(int timeoutMs);
    bool cutFrame(RawFrame &frame);

    int fd_ = -1;
    QByteArray buffer_;
    QByteArray flowControl_;
    qint64 skipped_ = 0;
};

// Splits a value-list payload ('1,0,30,31,') into its numbers.
std::vector<long long> payloadValues(const QByteArray &payload);
// True when the last value is the sum of the others.
bool sumCheckHolds(const QByteArray &payload);

} // namespace vandorelle::test
