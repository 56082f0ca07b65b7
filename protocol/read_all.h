#pragma once

#include "protocol/read_rounds.h"
#include "protocol/session.h"
#include "protocol/silence_watch.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace vandorelle {

// "Steuerung --> PC": fires every read request of the device family in one burst and lets
// the receive side decode the answers; the schedule's end marker ends the burst. Records that
// failed their check are asked for again (at most two more rounds); only when every record
// arrived sound is the store declared equal to the controller. Otherwise, and when the line
// stays silent for the time-out or disappears, the read ends incomplete with every record
// pending, because the store then mixes old and received values.
// The window and the command line both drive it; it touches no widget.
class ReadAllExchange : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 10000;
    static constexpr int kRetryRounds = 2;

    explicit ReadAllExchange(Session &session, QObject *parent = nullptr);

    // Starts the exchange with the session's device flags. False (and nothing happens) when
    // there is no connection or an exchange is already running. A port that cannot take the
    // requests throws its error after the store and the flags are put back as they were.
    bool start();
    bool running() const { return m_running; }

    // Silence after which the exchange gives up; tests shorten it.
    void setTimeoutInterval(int milliseconds) { m_watch.setInterval(milliseconds); }
    int timeoutInterval() const { return m_watch.interval(); }

    // After the end: what was still missing (empty after a complete read), and how many
    // rounds of re-requests the read needed.
    QStringList missing() const { return m_missing; }
    int retryRounds() const { return m_rounds.round(); }

    // Characters the family's complete answer is expected to bring (the progress maximum).
    static int expectedCharacters(const DeviceFlags &flags);

    // The German texts for the user when the read could not complete.
    static QString timeoutMessage();
    static QString lineLostMessage();
    static QString incompleteMessage(const QStringList &missing);

signals:
    // After the schedule reset, before the requests go out.
    void started(int maximum);
    void progress(int receivedCharacters);
    // completed: every record arrived sound; otherwise message says what went wrong.
    void finished(bool completed, const QString &message);

private:
    void onFrame(const QString &tag, const QString &payload, bool accepted);
    void afterRound();
    void requestAgain(const QStringList &tags);
    void rebuildSchedule();
    void onExpired(SilenceWatch::Reason reason);
    void finishIncomplete(const QString &panelText, const QString &message);
    void end();

    Session &m_session;
    SilenceWatch m_watch;
    ReadRounds m_rounds;
    QStringList m_missing;
    bool m_running = false;
};

} // namespace vandorelle
