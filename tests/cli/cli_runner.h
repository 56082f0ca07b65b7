#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace vandorelle::test {

// One finished run of build/vandorelle-cli.
struct CliRun {
    bool finished = false; // within the bound
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    qint64 elapsedMs = 0;

    QStringList outLines() const;
    QStringList errLines() const;
    // For assertion messages.
    std::string describe() const;
};

struct CliSetup {
    QString workDir;       // empty: the test's own
    QStringList variables; // "NAME=value", on top of the test's environment
};

QString cliPath();
CliRun runCli(const QStringList &args, const CliSetup &setup = {}, int boundMs = 60000);

// A run that the test ends itself (monitor).
class CliProcess {
public:
    explicit CliProcess(const QStringList &args);
    ~CliProcess();
    // Waits for a complete line on stdout; empty when none came within the bound.
    QString readLine(int boundMs = 15000);
    CliRun interruptAndWait(int boundMs = 15000);
    bool running() const;
    // The run as it ended by itself; elapsedMs counts from this call.
    CliRun waitForEnd(int boundMs = 15000);

private:
    std::unique_ptr<QProcess> m_process;
};

} // namespace vandorelle::test
