#include "bridge/controller_connection.h"

#include "bridge/log.h"
#include "protocol/device_family.h"

#include <QDeadlineTimer>

namespace vandorelle::bridge {

namespace {

constexpr int kDrainCheckMs = 5;

bool isPollAnswerOrName(const QString &tag) { return isPollAnswer(tag) || tag == QStringLiteral("smn"); }

} // namespace

ControllerConnection::ControllerConnection(const PortChoice &choice, const QString &portLabel, QObject *parent)
    : QObject(parent), m_choice(choice), m_label(portLabel)
{
    session.setPort(&m_port);
    status.setPanel(StatusModel::Model, kKeineVerbindung);
    m_supervisor.writesSettingsFile = false;
    m_supervisor.rewindsLogbook = false;
    m_supervisor.setTimers(&m_poll, &m_watchdog, nullptr);
    m_poll.setInterval(kPollMs);
    m_watchdog.setInterval(kWatchdogMs);
    m_openRetry.setInterval(kOpenRetryMs);
    m_openRetry.setSingleShot(true);
    connect(&m_poll, &QTimer::timeout, &m_supervisor, &Supervisor::Timer1Timer);
    connect(&m_watchdog, &QTimer::timeout, &m_supervisor, &Supervisor::Timer3Timer);
    connect(&m_openRetry, &QTimer::timeout, this, &ControllerConnection::tryOpen);

    connect(&m_port, &TVaComm::OnRxChar, this, [this] {
        // A listener that writes may meet a full write buffer; the receive event must survive it.
        try {
            session.receiveAvailable();
        } catch (const EVaCommError &e) {
            logWarning(QStringLiteral("%1: %2").arg(m_label, e.message()));
        }
    });
    connect(&m_port, &TVaComm::OnError, this, [this](int errors) {
        if (!(errors & LineError::Hangup))
            logDebug(QStringLiteral("%1: line error 0x%2").arg(m_label).arg(errors, 4, 16, QLatin1Char('0')));
    });
    connect(&m_keeper, &PortKeeper::deviceLost, this, [this] {
        logWarning(QStringLiteral("%1 went away (unplugged, or the other end closed); waiting for it").arg(m_label));
        session.reportLineLost();
        setOnline(false);
    });
    connect(&m_keeper, &PortKeeper::deviceBack, this, [this] {
        logNotice(QStringLiteral("%1 is back").arg(m_label));
        opened();
    });

    connect(&session, &Session::frameHandled, this, [this](const QString &tag, const QString &, bool accepted) {
        if (accepted && isPollAnswerOrName(tag))
            emit answered(tag);
    });
    connect(&status, &StatusModel::panelChanged, this, [this](int panel, const QString &text) {
        // The watchdog or a vanished device: no need to wait for the next poll tick.
        if (panel == StatusModel::Model && text == kKeineVerbindung)
            setOnline(false);
    });
    connect(&m_supervisor, &Supervisor::adaptWindow, this, [this](const DeviceFlags &flags) {
        m_flags = flags;
        m_model = status.panel(StatusModel::Model);
        m_firmware = status.panel(StatusModel::Firmware).mid(1); // "V7.090"
        setOnline(true);
    });
    connect(&m_supervisor, &Supervisor::showNotConnected, this, [this] { setOnline(false); });
    connect(&m_supervisor, &Supervisor::errorMessage, this,
            [this](const QString &text) { logWarning(QStringLiteral("%1: %2").arg(m_label, text)); });
    connect(&m_supervisor, &Supervisor::firmwareRefused, this, [this] {
        emit firmwareRefused(QStringLiteral("the controller on %1 has firmware %2, older than V7.000, which this "
                                            "bridge needs")
                                 .arg(m_label, status.panel(StatusModel::Firmware)));
    });
}

ControllerConnection::~ControllerConnection() { m_port.Close(); }

void ControllerConnection::start() { tryOpen(); }

void ControllerConnection::noteOpenFailure(const QString &text)
{
    // Said once per reason: a port held for an hour gives one line, not 720.
    if (text != m_lastOpenFailure)
        logWarning(text);
    m_lastOpenFailure = text;
}

void ControllerConnection::tryOpen()
{
    if (m_released)
        return;
    try {
        m_keeper.setReopening(true);
        m_keeper.choose(m_choice);
        m_keeper.open();
    } catch (const EVaCommError &e) {
        if (m_keeper.waitingForDevice()) {
            noteOpenFailure(QStringLiteral("%1 is not there; waiting for it").arg(m_label));
        } else {
            noteOpenFailure(QStringLiteral("cannot open %1: %2\ntrying again every %3 s")
                                .arg(m_label, e.text())
                                .arg(kOpenRetryMs / 1000));
            m_openRetry.start();
        }
        return;
    }
    logNotice(QStringLiteral("opened %1").arg(m_label));
    opened();
}

void ControllerConnection::opened()
{
    m_lastOpenFailure.clear();
    m_openRetry.stop();
    // Judged afresh: a model string from before does not count for this line.
    m_supervisor.resetLink();
    status.setPanel(StatusModel::Model, kKeineVerbindung);
    m_supervisor.previousRxCount = session.RxCount;
    m_poll.start();
    m_watchdog.start();
    m_supervisor.Timer1Timer();
}

void ControllerConnection::stopPolling()
{
    m_poll.stop();
    m_watchdog.stop();
    m_openRetry.stop();
}

void ControllerConnection::release(const std::function<void()> &done)
{
    m_released = true;
    stopPolling();
    const QDeadlineTimer bound(kDrainBoundMs);
    delete m_drainCheck;
    m_drainCheck = new QTimer(this);
    QTimer *check = m_drainCheck;
    connect(check, &QTimer::timeout, this, [this, check, bound, done] {
        if (!outputDrained() && !bound.hasExpired())
            return;
        check->stop();
        check->deleteLater();
        m_drainCheck = nullptr;
        m_keeper.setReopening(false);
        m_port.Close();
        status.setPanel(StatusModel::Model, kKeineVerbindung);
        setOnline(false);
        done();
    });
    check->start(kDrainCheckMs);
}

void ControllerConnection::resume()
{
    if (!m_released)
        return;
    m_released = false;
    if (m_drainCheck) {
        // Taken back before the port was closed: it stays ours, and the release never happens.
        delete m_drainCheck;
        m_drainCheck = nullptr;
        if (m_port.Active())
            opened();
        else if (!m_keeper.waitingForDevice())
            tryOpen();
        return;
    }
    tryOpen();
}

bool ControllerConnection::write(const QStringList &writes)
{
    try {
        for (const QString &w : writes) {
            if (!session.send(w)) {
                logWarning(QStringLiteral("%1 is not open: %2 not sent").arg(m_label, quotedBytes(w)));
                return false;
            }
            logDebug(QStringLiteral("to the controller: %1").arg(quotedBytes(w)));
        }
    } catch (const EVaCommError &e) {
        logWarning(QStringLiteral("%1 refused the write: %2").arg(m_label, e.message()));
        return false;
    }
    return true;
}

bool ControllerConnection::outputDrained() const { return !m_port.Active() || m_port.msSinceOutputDrained() > 0; }

void ControllerConnection::requestNames() { write({QStringLiteral("smn")}); }

void ControllerConnection::setOnline(bool online)
{
    if (online == m_online)
        return;
    m_online = online;
    emit onlineChanged(online);
}

} // namespace vandorelle::bridge
