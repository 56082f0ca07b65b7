#include "emulated_controller.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <algorithm>

namespace vandorelle::tools {

EmulatedController::EmulatedController() = default;

EmulatedController::~EmulatedController() { stop(); }

bool EmulatedController::start(const QString &program, const QStringList &options, int timeoutMs)
{
    stop();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(program, options);
    if (!m_process->waitForStarted(timeoutMs)) {
        m_error = QStringLiteral("cannot start %1: %2").arg(program, m_process->errorString());
        m_process.reset();
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process->canReadLine()) {
        if (deadline.hasExpired() || m_process->state() != QProcess::Running) {
            m_error = QStringLiteral("%1 gave no terminal path").arg(program);
            stop();
            return false;
        }
        m_process->waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    }
    m_devicePath = QString::fromLocal8Bit(m_process->readLine()).trimmed();
    return !m_devicePath.isEmpty();
}

void EmulatedController::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(5000)) {
            m_process->kill();
            m_process->waitForFinished(2000);
        }
    }
    m_process.reset();
}

} // namespace vandorelle::tools
