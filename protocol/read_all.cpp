#include "protocol/read_all.h"

#include "protocol/pc_records.h"
#include "protocol/record_decoders.h"

namespace vandorelle {

namespace {
// Its answer arrives after every answer to the re-requests before it.
const QString kRoundEndRequest = QStringLiteral("sfi\r");

const QString kReading = QStringLiteral("Das Lesen der Daten");
const QString kDataStateText = QStringLiteral(
    "Die angezeigten Daten sind unvollständig: ein Teil wurde neu gelesen, der Rest ist der "
    "vorherige Stand. Alle Daten sind zum Senden vorgemerkt.");
} // namespace

ReadAllExchange::ReadAllExchange(Session &session, QObject *parent)
    : QObject(parent), m_session(session), m_watch(session, kDefaultTimeoutMs)
{
    connect(&m_watch, &SilenceWatch::expired, this, &ReadAllExchange::onExpired);
    connect(&m_session, &Session::rxCountChanged, this, [this] {
        if (m_running)
            emit progress(m_session.RxCount);
    });
    connect(&m_session, &Session::frameHandled, this, &ReadAllExchange::onFrame);
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
    return gaveUpText(SilenceWatch::Reason::Silence, kReading) + QStringLiteral("\n\n") + kDataStateText;
}

QString ReadAllExchange::lineLostMessage()
{
    return gaveUpText(SilenceWatch::Reason::LineLost, kReading) + QStringLiteral("\n\n") + kDataStateText;
}

QString ReadAllExchange::incompleteMessage(const QStringList &missing)
{
    return QStringLiteral("Einige Daten kamen auch nach zwei Wiederholungen fehlerhaft an. "
                          "Das Lesen der Daten ist unvollständig; es fehlen:\n%1\n\n")
               .arg(missing.join(QStringLiteral(", ")))
           + kDataStateText;
}

bool ReadAllExchange::start()
{
    if (m_running || m_session.noConnection || m_session.sendInProgress || m_session.readAllRunning)
        return false;

    const auto previousSchedule = m_session.store.Schaltzeit;
    // The controller's start marker re-initialises the table again; until then it is empty.
    for (SchaltzeitEntry &e : m_session.store.Schaltzeit)
        e = SchaltzeitEntry{.Richtung = 0, .Zeit = 0, .Dauer = 0, .Gruppe = 1, .Funktion = 0, .Senden = 0};

    m_running = true;
    m_session.readAllRunning = true;
    m_missing.clear();
    emit started(expectedCharacters(m_session.flags));

    m_session.RxCount = 0;
    m_session.TxCount = 0;
    const QStringList requests = pc::readAllRequests(m_session.flags);
    m_rounds.begin(requests);
    try {
        for (const QString &request : requests)
            m_session.send(request);
    } catch (...) {
        // A stopped line: nothing was read, so nothing the user had may be lost.
        m_session.store.Schaltzeit = previousSchedule;
        end();
        emit finished(false, QString());
        throw;
    }
    m_watch.start();
    return true;
}

void ReadAllExchange::onFrame(const QString &tag, const QString &payload, bool accepted)
{
    if (!m_running)
        return;
    if (m_rounds.onFrame(tag, payload, accepted))
        m_watch.progress();
    if (m_rounds.roundEnded())
        afterRound();
}

void ReadAllExchange::afterRound()
{
    if (m_rounds.complete()) {
        if (m_rounds.scheduleRetried())
            rebuildSchedule();
        m_session.store.clearAllPending();
        end();
        emit finished(true, QString());
        return;
    }
    if (m_rounds.round() < kRetryRounds) {
        requestAgain(m_rounds.incompleteTags());
        return;
    }
    if (m_rounds.scheduleRetried())
        rebuildSchedule();
    m_missing = m_rounds.missingRecords();
    // Panel 5 keeps the error text of the last record that failed.
    finishIncomplete(QString(), incompleteMessage(m_missing));
}

void ReadAllExchange::requestAgain(const QStringList &tags)
{
    m_rounds.beginRetry(tags);
    try {
        for (const QString &tag : tags)
            m_session.send(tag);
        m_session.send(kRoundEndRequest);
    } catch (const std::exception &e) {
        m_missing = m_rounds.missingRecords();
        finishIncomplete(QString::fromStdString(e.what()),
                         QString::fromStdString(e.what()) + QStringLiteral("\n\n") + incompleteMessage(m_missing));
        return;
    }
    m_watch.progress();
}

// Each round's start marker wiped the table: the entries of all rounds go in again, in the
// controller's order, onto a freshly initialised table.
void ReadAllExchange::rebuildSchedule()
{
    RecordContext ctx{m_session.store, m_session.status, m_session.live, m_session.flags,
                      m_session.firmwareNumber, m_session.firmwareKnown};
    for (QString payload : m_rounds.schedulePayloads()) {
        ValueList values{};
        if (ParseValueList(payload, values))
            decodeSchaltzeit(ctx, values);
    }
}

void ReadAllExchange::onExpired(SilenceWatch::Reason reason)
{
    if (!m_running)
        return;
    m_missing = m_rounds.missingRecords();
    if (reason == SilenceWatch::Reason::LineLost)
        finishIncomplete(kVerbindungUnterbrochen, lineLostMessage());
    else
        finishIncomplete(kZeitueberschreitung, timeoutMessage());
}

void ReadAllExchange::finishIncomplete(const QString &panelText, const QString &message)
{
    m_session.store.markAllPending();
    if (!panelText.isEmpty())
        m_session.status.setPanel(StatusModel::Error, panelText);
    end();
    emit finished(false, message);
}

void ReadAllExchange::end()
{
    m_watch.stop();
    m_session.status.setPanel(StatusModel::Activity, QString());
    // Keeps the link watchdog from taking the quiet moment after the exchange for a lost line.
    m_session.RxCount += 1;
    m_running = false;
    m_session.readAllRunning = false;
}

} // namespace vandorelle
