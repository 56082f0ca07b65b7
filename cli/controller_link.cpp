#include "cli/controller_link.h"

#include "cli/interrupt.h"
#include "link/port_list.h"
#include "link/supervisor.h"
#include "protocol/device_family.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>

#include <climits>

namespace vandorelle::cli {

namespace {

const char *const kPollRequests[] = {"sfi\r", "sdt\r", "sti\r", "skd\r", "smo\r"};
constexpr int kPollIntervalMs = 900;
constexpr int kMinimumFirmware = 7000;
constexpr int kWaitStepMs = 10;

} // namespace

ControllerLink::ControllerLink(const Options &options, Console &console, InterruptWatch &interrupt)
    : m_options(options), m_console(console), m_interrupt(interrupt)
{
    session.setPort(&m_tracingPort);
    connect(&m_port, &TVaComm::OnRxChar, this, &ControllerLink::onReceived);
    connect(&m_port, &TVaComm::OnError, this, &ControllerLink::onLineError);
    connect(&session, &Session::frameHandled, this, [this](const QString &tag, const QString &, bool accepted) {
        ++m_frames[tag];
        if (accepted && isPollAnswer(tag))
            m_lastAnswer = QDateTime::currentMSecsSinceEpoch();
    });
    connect(&status, &StatusModel::panelChanged, this, [this](int index, const QString &text) {
        if (index != StatusModel::Error || text.isEmpty())
            return;
        m_errors << text;
        // Emptied again so that the same text twice in a row is seen twice.
        status.setPanel(StatusModel::Error, QString());
    });
}

ControllerLink::~ControllerLink()
{
    if (m_port.Active()) {
        m_port.Close();
        m_trace.note(QStringLiteral("closed %1").arg(m_portLabel));
    }
}

Outcome ControllerLink::open()
{
    if (!m_options.traceFile.isEmpty()) {
        const QString error = m_trace.open(m_options.traceFile);
        if (!error.isEmpty())
            return Outcome::failure(ExitCode::FileError,
                                    QStringLiteral("cannot write the trace file %1: %2").arg(m_options.traceFile, error));
        const QStringList command = QCoreApplication::arguments().mid(1);
        m_trace.note(QStringLiteral("vandorelle-cli " VANDORELLE_VERSION " ") + command.join(u' '));
    }

    PortChoice choice;
    QString error;
    if (!choosePort(m_options.port, choice, error))
        return Outcome::failure(ExitCode::Usage, error);

    m_keeper.setReopening(m_reconnecting);
    try {
        m_keeper.choose(choice);
        m_portLabel = portMessageLabel(choice);
        m_keeper.open();
    } catch (const EVaCommError &e) {
        m_trace.note(QStringLiteral("cannot open %1: %2").arg(m_portLabel, e.message()));
        return Outcome::failure(ExitCode::PortUnavailable,
                                QStringLiteral("cannot open the port %1: %2").arg(m_portLabel, e.text()));
    }
    m_trace.note(QStringLiteral("opened %1").arg(m_portLabel));
    m_lastAnswer = QDateTime::currentMSecsSinceEpoch();
    status.setPanel(StatusModel::Model, kKeineVerbindung);
    return Outcome::success();
}

bool ControllerLink::sendPoll()
{
    // Runs from a timer too: the error must not escape into the event loop.
    try {
        for (const char *request : kPollRequests)
            session.send(QString::fromLatin1(request));
    } catch (const EVaCommError &e) {
        m_trace.note(e.message());
        return false;
    }
    ++m_pollsSent;
    return true;
}

Outcome ControllerLink::connectController(Needs needs)
{
    auto heard = [this, needs] {
        return framesReceived(QStringLiteral("smo")) > 0 && (!needs.firmware || session.firmwareKnown)
            && (!needs.date || framesReceived(QStringLiteral("sdt")) > 0);
    };

    m_console.progress(QStringLiteral("Waiting for the controller on %1 ...").arg(m_portLabel));
    QTimer poll;
    poll.setInterval(kPollIntervalMs);
    connect(&poll, &QTimer::timeout, this, &ControllerLink::sendPoll);
    poll.start();
    sendPoll();
    const bool answered = waitUntil(heard, m_options.timeoutMs);
    poll.stop();
    m_console.endProgress();
    if (interrupted())
        return interruptedOutcome();
    if (lineLost())
        return lineLostOutcome(ExitCode::NoController);
    if (!answered) {
        const bool anything = session.RxCount > 0;
        return Outcome::failure(ExitCode::NoController,
                                anything ? QStringLiteral("the controller on %1 did not report its model%2 within %3")
                                               .arg(m_portLabel,
                                                    needs.firmware ? QStringLiteral(" and firmware") : QString(),
                                                    timeoutText())
                                         : QStringLiteral("no controller answered on %1 within %2")
                                               .arg(m_portLabel, timeoutText()));
    }
    // Answers of a poll still on its way would mix into the exchange that follows.
    waitUntil([this] { return framesReceived(QStringLiteral("smo")) >= m_pollsSent; }, kPollIntervalMs);

    session.flags = evaluateModel(status.panel(StatusModel::Model)).flags;
    session.noConnection = false;

    if (needs.firmware && session.firmwareNumber < kMinimumFirmware)
        return Outcome::failure(ExitCode::Refused,
                                QStringLiteral("the controller's firmware %1 is older than V7.000, which this "
                                               "program needs")
                                    .arg(status.panel(StatusModel::Firmware)));
    takeErrors();
    return Outcome::success();
}

bool ControllerLink::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    if (interrupted())
        return false;
    QEventLoop loop;
    QTimer check;
    check.setInterval(kWaitStepMs);
    bool satisfied = false;
    connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) {
            satisfied = true;
            loop.quit();
        } else if (interrupted() || lineLost()) {
            loop.quit();
        }
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&m_interrupt, &InterruptWatch::interrupted, &loop, &QEventLoop::quit);
    check.start();
    if (timeoutMs >= 0)
        deadline.start(timeoutMs);
    loop.exec();
    return satisfied || done();
}

bool ControllerLink::interrupted() const
{
    return m_interrupt.raised();
}

Outcome ControllerLink::interruptedOutcome()
{
    return Outcome::failure(ExitCode::Interrupted, QStringLiteral("interrupted"));
}

Outcome ControllerLink::lineLostOutcome(ExitCode code) const
{
    return Outcome::failure(code, QStringLiteral("the device %1 disappeared (unplugged, or the other end closed)")
                                      .arg(m_portLabel));
}

qint64 ControllerLink::msSinceLastAnswer() const
{
    return QDateTime::currentMSecsSinceEpoch() - m_lastAnswer;
}

QString ControllerLink::timeoutText() const
{
    return QStringLiteral("%1 s").arg(m_options.timeoutMs / 1000.0);
}

QStringList ControllerLink::takeErrors()
{
    return std::exchange(m_errors, {});
}

void ControllerLink::onReceived(int)
{
    // A listener that writes may meet a full write buffer; the receive event must survive it.
    try {
        session.receiveAvailable();
    } catch (const EVaCommError &e) {
        m_trace.note(e.message());
    }
}

void ControllerLink::keepReconnecting()
{
    m_reconnecting = true;
    connect(&m_keeper, &PortKeeper::deviceBack, this, [this] {
        m_trace.note(QStringLiteral("the device is back: %1").arg(m_port.DeviceName()));
        // The controller gets a whole time-out to answer again.
        m_lastAnswer = QDateTime::currentMSecsSinceEpoch();
    });
}

void ControllerLink::onLineError(int errors)
{
    m_trace.note(QStringLiteral("line error 0x%1").arg(errors, 4, 16, QLatin1Char('0')));
    if (!(errors & LineError::Hangup))
        return;
    if (m_reconnecting) {
        m_trace.note(QStringLiteral("the device disappeared; waiting for it"));
        session.reportLineLost();
        return;
    }
    if (!m_lineLost) {
        m_lineLost = true;
        m_trace.note(QStringLiteral("the device disappeared"));
        session.reportLineLost();
    }
}

} // namespace vandorelle::cli
