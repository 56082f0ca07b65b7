#pragma once

#include "protocol/logbook_lines.h"
#include "protocol/silence_watch.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QSaveFile;

namespace vandorelle {

class Session;

// Reads the controller's logbook into a page of list lines, exports it to a file, deletes it.
// Announces start, progress and end; the window (or the command line) reacts to those.
// A transfer that receives none of its records for the silence time-out (whatever else the
// line brings), or whose device disappears, ends by itself.
class LogbookExchange : public QObject {
    Q_OBJECT
public:
    enum class Operation { None, Read, Export };
    enum class Outcome { Completed, TimedOut, FileError, LineLost };

    static constexpr int kDefaultSilenceMs = 10000;

    explicit LogbookExchange(Session &session, QObject *parent = nullptr);
    ~LogbookExchange() override;

    // The next entries from the controller's read pointer ("smn", "sla", "sld").
    bool readNextPage();
    // From the newest entry again ("smn", "sla", "slr", "sld").
    bool readFromStart();
    // Every entry into the file at path, which is replaced only when the end marker arrived
    // (or, after a time-out, with what arrived so far). fromStart sends "slr" first.
    // False when busy or the file cannot be created (reported through finished()).
    bool startExport(const QString &path, bool fromStart = false);
    // "sll": the controller forgets its entries; the page is emptied.
    void deleteLogbook();

    void setSilenceTimeout(int milliseconds);
    int silenceTimeout() const;

    Operation operation() const { return m_operation; }
    bool busy() const { return m_operation != Operation::None; }
    int32_t total() const { return m_total; }
    int32_t lastEntryNumber() const { return m_lastEntry; }
    const QStringList &lines() const { return m_lines; }
    int selectedLine() const { return m_selected; }
    QString exportPath() const { return m_path; }
    int linesWritten() const { return m_linesWritten; } // export lines after the header

signals:
    void started(vandorelle::LogbookExchange::Operation operation);
    void totalChanged(int32_t total);
    void exportProgress(int32_t entryNumber);
    void pageCleared();
    void lineChanged(int index, const QString &text);
    void lineSelected(int index);
    // message is empty on success and for a read that timed out (the status bar says so).
    void finished(vandorelle::LogbookExchange::Operation operation,
                  vandorelle::LogbookExchange::Outcome outcome, const QString &message);

private:
    void onFrame(const QString &tag, const QString &payload, bool accepted);
    void sendRequests(const QStringList &requests);
    void onTotal(const QString &payload);
    void onDisplayEntry(const QString &payload);
    void onExportEntry(const QString &payload);
    bool parseEntry(const QString &payload, LogbookEntry &entry);
    void startRead(bool fromStart);
    bool writeToFile(const QByteArray &bytes);
    void clearPage();
    void setLine(int index, const QString &text);
    void selectLine(int index);
    void onExpired(SilenceWatch::Reason reason);
    void finish(Outcome outcome, const QString &message = QString());
    void failFile(const QString &what);
    QString motorName(int32_t motor) const;

    Session &m_session;
    SilenceWatch m_watch;
    Operation m_operation = Operation::None;
    int32_t m_total = 0;
    int32_t m_lastEntry = 0;
    QStringList m_lines;
    int m_selected = -1;
    std::unique_ptr<QSaveFile> m_file;
    QString m_path;
    int m_linesWritten = 0;
};

} // namespace vandorelle
