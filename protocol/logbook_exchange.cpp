#include "protocol/logbook_exchange.h"

#include "protocol/session.h"
#include "protocol/value_list.h"

#include <QSaveFile>

namespace vandorelle {

namespace {

const QString kDisplayCaption = QStringLiteral("Logbuch Daten");
const QString kExportCaption = QStringLiteral("Save Logbuch to Disk");

// Entry numbers and the total come from the line and may be any 32-bit value; the arithmetic
// on them wraps instead of overflowing.
int32_t entryAfter(int32_t number) { return int32_t(int64_t(number) + 1); }
int32_t shownNumber(int32_t total, int32_t number) { return int32_t(int64_t(total) - number + 1); }

} // namespace

LogbookExchange::LogbookExchange(Session &session, QObject *parent)
    : QObject(parent), m_session(session), m_watch(session, kDefaultSilenceMs)
{
    for (int i = 0; i < kLogbookPageLines; ++i)
        m_lines << QString();
    connect(&m_watch, &SilenceWatch::expired, this, &LogbookExchange::onExpired);
    connect(&m_session, &Session::frameHandled, this, &LogbookExchange::onFrame);
}

LogbookExchange::~LogbookExchange()
{
    if (m_file)
        m_file->cancelWriting();
}

void LogbookExchange::setSilenceTimeout(int milliseconds) { m_watch.setInterval(milliseconds); }
int LogbookExchange::silenceTimeout() const { return m_watch.interval(); }

bool LogbookExchange::readNextPage()
{
    if (busy())
        return false;
    startRead(false);
    return true;
}

bool LogbookExchange::readFromStart()
{
    if (busy())
        return false;
    startRead(true);
    return true;
}

void LogbookExchange::startRead(bool fromStart)
{
    m_operation = Operation::Read;
    emit started(m_operation);
    m_watch.start();
    QStringList requests{QStringLiteral("smn"), QStringLiteral("sla")};
    if (fromStart)
        requests << QStringLiteral("slr");
    sendRequests(requests << QStringLiteral("sld"));
}

// A port that cannot take the requests ends the transfer before its error goes on.
void LogbookExchange::sendRequests(const QStringList &requests)
{
    try {
        for (const QString &request : requests)
            m_session.send(request);
    } catch (...) {
        if (m_file)
            m_file->cancelWriting();
        m_file.reset();
        finish(Outcome::TimedOut);
        throw;
    }
}

bool LogbookExchange::startExport(const QString &path, bool fromStart)
{
    if (busy())
        return false;
    m_path = path;
    m_linesWritten = 0;
    m_file = std::make_unique<QSaveFile>(path);
    if (!m_file->open(QIODevice::WriteOnly)) {
        const QString message = QStringLiteral("Die Logbuch-Datei kann nicht angelegt werden:\n%1\n%2")
                                    .arg(path, m_file->errorString());
        m_file.reset();
        emit finished(Operation::Export, Outcome::FileError, message);
        return false;
    }
    m_operation = Operation::Export;
    emit started(m_operation);
    if (!writeToFile(logbookFileLine(kLogbookExportHeader)))
        return false;
    m_watch.start();
    QStringList requests;
    if (fromStart)
        requests << QStringLiteral("slr");
    sendRequests(requests << QStringLiteral("smn") << QStringLiteral("sla") << QStringLiteral("slf"));
    emit exportProgress(0);
    return true;
}

void LogbookExchange::deleteLogbook()
{
    m_session.send(QStringLiteral("sll"));
    clearPage();
    m_lastEntry = 1;
}

void LogbookExchange::onFrame(const QString &tag, const QString &payload, bool accepted)
{
    static const QStringList kOwnTags{QStringLiteral("smn"), QStringLiteral("sla"), QStringLiteral("sld"),
                                      QStringLiteral("slf")};
    if (busy() && accepted && kOwnTags.contains(tag))
        m_watch.progress();
    if (tag == QLatin1String("sla"))
        onTotal(payload);
    else if (tag == QLatin1String("sld"))
        onDisplayEntry(payload);
    else if (tag == QLatin1String("slf"))
        onExportEntry(payload);
}

void LogbookExchange::onTotal(const QString &payload)
{
    m_session.status.setPanel(StatusModel::Activity, kDisplayCaption);
    QString rest = payload;
    ValueList values{};
    if (!ParseValueList(rest, values))
        return;
    m_total = values[0];
    emit totalChanged(m_total);
}

bool LogbookExchange::parseEntry(const QString &payload, LogbookEntry &entry)
{
    QString rest = payload;
    ValueList values{};
    const bool ok = ParseValueList(rest, values) && ChecksumOk(values, kLogbookEntryValues);
    if (!ok) {
        m_session.status.setPanel(StatusModel::Error, QStringLiteral("LoBuFe %1").arg(qint64(values[0]) - 1));
        return false;
    }
    entry = LogbookEntry::fromValues(values);
    return true;
}

void LogbookExchange::onDisplayEntry(const QString &payload)
{
    m_session.status.setPanel(StatusModel::Activity, kDisplayCaption);
    LogbookEntry entry;
    if (!parseEntry(payload, entry))
        return;

    const bool end = entry.isEndMarker();
    int32_t number = entry.number;
    if (end) {
        number = entryAfter(m_lastEntry);
        m_session.status.setPanel(StatusModel::Activity, QString());
    } else {
        m_lastEntry = number;
    }

    const LogbookPlacement place = logbookPlacement(number, end);
    if (place.newPage)
        clearPage();
    const int32_t shown = shownNumber(m_total, number);
    setLine(place.line, logbookDisplayLine(entry, shown, motorName(entry.motor)));
    selectLine(end ? 0 : place.line);

    if (end && m_operation == Operation::Read) {
        m_session.RxCount += 1;
        finish(Outcome::Completed);
    }
}

void LogbookExchange::onExportEntry(const QString &payload)
{
    if (m_operation != Operation::Export)
        return; // no file to write to: a late answer of an export that already ended
    m_session.status.setPanel(StatusModel::Activity, kExportCaption);
    LogbookEntry entry;
    if (!parseEntry(payload, entry))
        return;

    const bool end = entry.isEndMarker();
    int32_t number = entry.number;
    if (end) {
        number = entryAfter(m_lastEntry);
    } else {
        m_lastEntry = number;
        emit exportProgress(number);
    }
    m_session.status.setPanel(StatusModel::Activity, QStringLiteral("Logbuch Zeile %1").arg(number));

    const int32_t shown = shownNumber(m_total, number);
    if (!writeToFile(logbookFileLine(logbookExportLine(entry, shown, motorName(entry.motor)))))
        return;
    ++m_linesWritten;

    if (end) {
        m_session.RxCount += 1;
        m_session.status.setPanel(StatusModel::Activity, QString());
        if (!m_file->commit()) {
            failFile(m_file->errorString());
            return;
        }
        m_file.reset();
        finish(Outcome::Completed);
    }
}

bool LogbookExchange::writeToFile(const QByteArray &bytes)
{
    if (m_file->write(bytes) != bytes.size() || !m_file->flush()) {
        failFile(m_file->errorString());
        return false;
    }
    return true;
}

void LogbookExchange::failFile(const QString &what)
{
    m_file->cancelWriting();
    m_file.reset();
    m_session.status.setPanel(StatusModel::Activity, QString());
    finish(Outcome::FileError,
           QStringLiteral("Die Logbuch-Datei kann nicht geschrieben werden:\n%1\n%2").arg(m_path, what));
}

void LogbookExchange::onExpired(SilenceWatch::Reason reason)
{
    if (!busy())
        return;
    const bool lost = reason == SilenceWatch::Reason::LineLost;
    const Outcome outcome = lost ? Outcome::LineLost : Outcome::TimedOut;
    m_session.status.setPanel(StatusModel::Error, lost ? kVerbindungUnterbrochen : kZeitueberschreitung);
    m_session.status.setPanel(StatusModel::Activity, QString());
    if (m_operation != Operation::Export) {
        finish(outcome);
        return;
    }
    // Keep what arrived: the user is told the file is incomplete.
    if (!m_file->commit()) {
        failFile(m_file->errorString());
        return;
    }
    m_file.reset();
    const QString why = lost ? QStringLiteral("Die Verbindung zur Steuerung ist unterbrochen")
                             : QStringLiteral("Zeitüberschreitung");
    finish(outcome, QStringLiteral("%1: Die Steuerung hat das Logbuch nicht vollständig gesendet.\n"
                                   "Die Datei %2 ist unvollständig.")
                        .arg(why, m_path));
}

void LogbookExchange::finish(Outcome outcome, const QString &message)
{
    m_watch.stop();
    const Operation operation = m_operation;
    m_operation = Operation::None;
    emit finished(operation, outcome, message);
}

void LogbookExchange::clearPage()
{
    for (QString &line : m_lines)
        line.clear();
    emit pageCleared();
}

void LogbookExchange::setLine(int index, const QString &text)
{
    m_lines[index] = text;
    emit lineChanged(index, text);
}

void LogbookExchange::selectLine(int index)
{
    m_selected = index;
    emit lineSelected(index);
}

QString LogbookExchange::motorName(int32_t motor) const
{
    return logbookMotorName(m_session.store.MotorNamen, motor);
}

} // namespace vandorelle
