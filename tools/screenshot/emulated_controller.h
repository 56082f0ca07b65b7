#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QProcess;

namespace vandorelle::tools {

// The emulated controller as a child process; stopped when the object goes.
class EmulatedController {
public:
    EmulatedController();
    ~EmulatedController();
    EmulatedController(const EmulatedController &) = delete;
    EmulatedController &operator=(const EmulatedController &) = delete;

    // Starts the program and waits, at most timeoutMs, for the terminal's path it prints
    // first. False with error() on failure.
    bool start(const QString &program, const QStringList &options, int timeoutMs = 10000);
    void stop();

    QString devicePath() const { return m_devicePath; }
    QString error() const { return m_error; }

private:
    std::unique_ptr<QProcess> m_process;
    QString m_devicePath;
    QString m_error;
};

} // namespace vandorelle::tools
