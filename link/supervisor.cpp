#include "link/supervisor.h"

#include "config/settings_file.h"
#include "link/serial_port.h"

#include <QTimer>

#include <algorithm>

namespace vandorelle {

namespace {
const char *const kPollRequests[] = {"sfi\r", "sdt\r", "sti\r", "skd\r", "smo\r"};
constexpr int kPollCharacters = 20;
constexpr int kMinimumFirmware = 7000;
} // namespace

bool isPollAnswer(const QString &tag)
{
    return std::any_of(std::begin(kPollRequests), std::end(kPollRequests),
                       [&](const char *request) { return tag + u'\r' == QLatin1String(request); });
}

const QString Supervisor::kSettingsWriteError =
    QStringLiteral("    Kann Initialisierungs-File nicht schreiben    ");
const QString Supervisor::kUnknownModel = QStringLiteral("Unbekanntes Modell");

Supervisor::Supervisor(Session &session, QObject *parent)
    : QObject(parent), m_session(session)
{
    connect(&m_session, &Session::timeSignalEnded, this, &Supervisor::endTimeSignalMode);
    // A vanished device needs no watchdog period to be noticed.
    connect(&m_session, &Session::lineLost, this, &Supervisor::declareLinkLost);
}

void Supervisor::setTimers(QTimer *poll, QTimer *watchdog, QTimer *timeSignal)
{
    m_poll = poll;
    m_watchdog = watchdog;
    m_timeSignal = timeSignal;
}

QString Supervisor::urlFor(const DeviceFlags &flags)
{
    return flags.ConservatoryFamily ? QStringLiteral("www.wintergarten.quorvix.example")
                                    : QStringLiteral("www.rollladen.quorvix.example");
}

QString Supervisor::firmwareRefusalText()
{
    return QStringLiteral("   Diese Version von Vandorelle kann ausschließlich für \n"
                          "Steuerungen mit Firmware V7.000 oder höher verwendet werden.\n");
}

bool Supervisor::sendRequest(const QString &text)
{
    try {
        m_session.send(text);
        m_writeErrorShown = false;
        return true;
    } catch (const EVaCommError &e) {
        // A line held off by XOFF fails every tick; one message per stall is enough, whoever
        // met it first.
        if (!m_writeErrorShown && !e.repeated()) {
            m_writeErrorShown = true;
            emit errorMessage(e.message());
        }
        return false;
    }
}

void Supervisor::Timer1Timer()
{
    if (refused)
        return;
    QString deferredError;
    if (!m_session.sendInProgress) {
        if (!poll())
            return;
        evaluateConnection(deferredError);
        if (refused)
            return;
    }
    blinkDot();
    // Shown last, so that a message box waiting for its OK leaves this tick complete.
    if (!deferredError.isEmpty())
        emit errorMessage(deferredError);
}

bool Supervisor::poll()
{
    for (const char *request : kPollRequests) {
        if (!sendRequest(QString::fromLatin1(request)))
            return false;
    }
    m_session.TxCount = int32_t(uint32_t(m_session.TxCount) + kPollCharacters);
    m_session.status.setPanel(StatusModel::Transmitted, QStringLiteral("TxD: %1").arg(m_session.TxCount));
    return true;
}

void Supervisor::evaluateConnection(QString &deferredError)
{
    StatusModel &status = m_session.status;
    DeviceFlags &flags = m_session.flags;

    if (status.panel(StatusModel::Model) == kKeineVerbindung) {
        m_session.noConnection = true;
        for (int panel : {StatusModel::Firmware, StatusModel::Date, StatusModel::Time})
            status.setPanel(panel, QString());
        flags.EightEntries = true;
        flags.BankModel = true;
        emit showNotConnected();
        return;
    }

    // Judged only on an answer of this connection: before it the number means nothing.
    if (m_session.firmwareKnown && m_session.firmwareNumber < kMinimumFirmware) {
        refused = true;
        if (m_poll)
            m_poll->stop();
        emit firmwareRefused(firmwareRefusalText());
        return;
    }

    const ModelEvaluation model = evaluateModel(status.panel(StatusModel::Model));
    flags = model.flags;
    if (!model.known)
        status.setPanel(StatusModel::Error, kUnknownModel);

    m_session.noConnection = false;
    emit adaptWindow(flags);

    if (writesSettingsFile && !settingsWritten) {
        settingsWritten = true; // no retry in this run, whatever happens
        if (!writeSettings(settingsDirectory, portChoice()))
            deferredError = kSettingsWriteError;
    }
    if (rewindsLogbook && !logbookResetSent) {
        logbookResetSent = true;
        sendRequest(QStringLiteral("slr"));
    }
}

void Supervisor::blinkDot()
{
    if (m_session.status.panel(StatusModel::Model) == kKeineVerbindung)
        dot = DotState::RedSquare;
    else
        dot = dot == DotState::RedSquare ? DotState::MagentaCircle : DotState::RedSquare;
    emit dotChanged(dot);
}

void Supervisor::Timer3Timer()
{
    if (m_session.sendInProgress)
        return;
    if (m_session.RxCount == previousRxCount)
        declareLinkLost();
    previousRxCount = m_session.RxCount;
}

void Supervisor::declareLinkLost()
{
    m_session.status.setPanel(StatusModel::Model, kKeineVerbindung);
    m_session.store.markAllPending();
    m_session.firmwareKnown = false;
}

void Supervisor::DCF77ButtonClick()
{
    sendRequest(QStringLiteral(" sdr"));
    timeSignalMode = true;
    if (m_timeSignal)
        m_timeSignal->start();
    if (m_poll)
        m_poll->stop();
}

void Supervisor::DCF77_LED_TimerTimer()
{
    if (sendRequest(QStringLiteral(" sti")))
        sendRequest(QStringLiteral(" sds"));
}

void Supervisor::endTimeSignalMode()
{
    timeSignalMode = false;
    if (m_timeSignal)
        m_timeSignal->stop();
    if (m_poll && !refused)
        m_poll->start();
}

void Supervisor::parameterPageLeft()
{
    if (timeSignalMode)
        endTimeSignalMode();
}

void Supervisor::resetLink()
{
    m_session.firmwareKnown = false;
    m_session.noConnection = true;
}

void Supervisor::resetRunFlags()
{
    settingsWritten = false;
    logbookResetSent = false;
}

} // namespace vandorelle
