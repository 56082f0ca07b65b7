#include "cli_runner.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcessEnvironment>

#include <csignal>

namespace vandorelle::test {

namespace {

QStringList linesOf(const QByteArray &bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QProcessEnvironment environmentWith(const QStringList &variables)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const QString &v : variables) {
        const qsizetype eq = v.indexOf(u'=');
        env.insert(v.left(eq), v.mid(eq + 1));
    }
    return env;
}

} // namespace

QStringList CliRun::outLines() const { return linesOf(out); }
QStringList CliRun::errLines() const { return linesOf(err); }

std::string CliRun::describe() const
{
    return QStringLiteral("exit %1 after %2 ms%3\nstdout: %4\nstderr: %5")
        .arg(exitCode)
        .arg(elapsedMs)
        .arg(finished ? QString() : QStringLiteral(" (did not finish)"))
        .arg(QString::fromUtf8(out.left(2000)), QString::fromUtf8(err))
        .toStdString();
}

QString cliPath() { return QStringLiteral(VANDORELLE_BINARY_DIR "/vandorelle-cli"); }

CliRun runCli(const QStringList &args, const CliSetup &setup, int boundMs)
{
    QProcess process;
    process.setProcessEnvironment(environmentWith(setup.variables));
    if (!setup.workDir.isEmpty())
        process.setWorkingDirectory(setup.workDir);
    QElapsedTimer clock;
    clock.start();
    process.start(cliPath(), args);
    CliRun run;
    run.finished = process.waitForStarted(boundMs) && process.waitForFinished(boundMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    run.elapsedMs = clock.elapsed();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    if (run.finished && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    return run;
}

CliProcess::CliProcess(const QStringList &args) : m_process(std::make_unique<QProcess>())
{
    m_process->setProcessEnvironment(environmentWith({}));
    m_process->start(cliPath(), args);
    m_process->waitForStarted(15000);
}

CliProcess::~CliProcess()
{
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

QString CliProcess::readLine(int boundMs)
{
    const QDeadlineTimer deadline(boundMs);
    while (!m_process->canReadLine() && !deadline.hasExpired() && m_process->state() == QProcess::Running)
        m_process->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    if (!m_process->canReadLine())
        return {};
    return QString::fromUtf8(m_process->readLine()).trimmed();
}

bool CliProcess::running() const
{
    // Without an event loop the state is only brought up to date by a wait.
    return m_process->state() != QProcess::NotRunning && !m_process->waitForFinished(0);
}

CliRun CliProcess::interruptAndWait(int boundMs)
{
    ::kill(pid_t(m_process->processId()), SIGINT);
    return waitForEnd(boundMs);
}

CliRun CliProcess::waitForEnd(int boundMs)
{
    QElapsedTimer clock;
    clock.start();
    CliRun run;
    run.finished = m_process->state() == QProcess::NotRunning || m_process->waitForFinished(boundMs);
    run.elapsedMs = clock.elapsed();
    run.out = m_process->readAllStandardOutput();
    run.err = m_process->readAllStandardError();
    if (run.finished && m_process->exitStatus() == QProcess::NormalExit)
        run.exitCode = m_process->exitCode();
    return run;
}

} // namespace vandorelle::test
