#include "protocol/read_all.h"

#include "protocol/pc_records.h"

namespace vandorelle {

ReadAllExchange::ReadAllExchange(Session &session, QObject *parent)
    : QObject(parent), m_session(session)
{
    m_silence.setSingleShot(true);
    m_silence.setInterval(kDefaultTimeoutMs);
    connect(&m_silence, &QTimer::timeout, this, &ReadAllExchange::onSilence);
    connect(&m_session, &Session::rxCountChanged, this, &ReadAllExchange::onCharacters);
    connect(&m_session, &Session::scheduleEndMarker, this, &ReadAllExchange::onEndMarker);
}

int ReadAllExchange::expectedCharacters(const DeviceFlags &flags)
{
    if (flags.ShadingFamily)
        return 19364;
    if (flags.ConservatoryFamily)
        return 26000;
    return 4680;
}

QString ReadAllExchange::timeoutMessage()
{
    return QStringLiteral(
        "Die Steuerung hat nicht mehr geantwortet. Das Lesen der Daten wurde abgebrochen.\n\n"
        "Die angezeigten Daten sind unvollständig: ein Teil wurde neu gelesen, der Rest ist der "
        "vorherige Stand. Alle Daten sind zum Senden vorgemerkt.");
}

bool ReadAllExchange::start()
{
    if (m_running || m_session.noConnection || m_session.sendInProgress || m_session.readAllRunning)
        return false;

    // The controller's start marker re-initialises the table again; until then it is empty.
    for (SchaltzeitEntry &e : m_session.store.Schaltzeit)
        e = SchaltzeitEntry{.Richtung = 0, .Zeit = 0, .Dauer = 0, .Gruppe = 1, .Funktion = 0, .Senden = 0};

    m_running = true;
    m_session.readAllRunning = true;
    emit started(expectedCharacters(m_session.flags));

    m_session.RxCount = 0;
    m_session.TxCount = 0;
    for (const QString &request : pc::readAllRequests(m_session.flags))
        m_session.send(request);
    m_silence.start();
    return true;
}

void ReadAllExchange::onCharacters()
{
    if (!m_running)
        return;
    m_silence.start();
    emit progress(m_session.RxCount);
}

void ReadAllExchange::onEndMarker()
{
    // A late end marker after a time-out must not pretend that the store is complete.
    if (!m_running)
        return;
    m_session.store.clearAllPending();
    end();
    emit finished(true, QString());
}

void ReadAllExchange::onSilence()
{
    if (!m_running)
        return;
    m_session.store.markAllPending();
    m_session.status.setPanel(StatusModel::Error, kZeitueberschreitung);
    end();
    emit finished(false, timeoutMessage());
}

void ReadAllExchange::end()
{
    m_silence.stop();
    m_session.status.setPanel(StatusModel::Activity, QString());
    // Keeps the link watchdog from taking the quiet moment after the exchange for a lost line.
    m_session.RxCount += 1;
    m_running = false;
    m_session.readAllRunning = false;
}

} // namespace vandorelle
