#pragma once

#include "protocol/session.h"
#include "protocol/silence_watch.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace vandorelle {

// "PC --> Steuerung": wipes the controller's schedule memory, then sends one batch of records
// per "stc" acknowledgement: the schedule weekday by weekday, names, group control, and the
// per-motor and global records function by function. A controller that stops acknowledging
// (counted from when our last byte left the port) ends it with every record left pending; a
// batch the controller refused keeps its records pending and is named at the end.
// The window and the command line both drive it; it touches no widget.
class SendAllExchange : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 10000;

    // Sequencer states: the batch sent at the next acknowledgement.
    enum State : int {
        Schedule = 0,
        Names = 1,
        Groups = 2,
        Reversing = 21,
        Shading = 3,
        Dawn = 4,
        Dusk = 5,
        WindState = 6,
        Rain = 7,
        OutsideOffset = 8,
        Alarm = 10,
        Proportional = 11,
        Inside = 12,
        Heating = 121,
        HeatingHysteresis = 122,
        Humidity = 123,
        Outside = 13,
        InsideOffset = 15,
        PushButton = 16,
        ShadingHysteresis = 17,
        RandomSpan = 171,
        End = 18,
    };

    enum class StartResult {
        Started,
        NoConnection, // nothing happens
        ClockNotSet,  // the controller's date reads "01.01.00": show clockNotSetMessage()
        Busy,         // another exchange is running
    };

    explicit SendAllExchange(Session &session, QObject *parent = nullptr);

    // A port that cannot take the first record throws its error; the send has then not started.
    StartResult start();
    bool running() const { return m_running; }
    int state() const { return m_state; }
    int weekdayCounter() const { return m_weekday; }

    void setTimeoutInterval(int milliseconds) { m_watch.setInterval(milliseconds); }
    int timeoutInterval() const { return m_watch.interval(); }
    // Captions of the batches the controller refused in the last send.
    QStringList refusedBatches() const;

    // The random span is taken from its selector when a window provides one; without it,
    // or while the selector shows no choice, from the store.
    std::function<int()> randomSpanCode;

    // Characters the whole send is expected to move (the progress maximum).
    static int expectedCharacters(const DeviceFlags &flags);
    static QString clockNotSetMessage();
    static QString timeoutMessage();
    static QString lineLostMessage();
    static QString refusedMessage(const QStringList &captions, bool scheduleRefused);
    // Line 7 of the motor list during a send: prefix + caption of the running batch.
    static QString progressPrefix() { return QStringLiteral("   S e n d e  Daten zur Steuerung ...  "); }

    // One acknowledgement; the session's "stc" frames arrive here.
    void OnAcknowledge(const QString &payload);

signals:
    void started(int maximum);
    // A batch begins; panel 6 already shows caption.
    void batchStarted(const QString &caption);
    void progress(int txCount);
    // The group check boxes on display must reach the store before " rgz" is built.
    void collectGroups();
    // The schedule is complete on the controller: the free-memory figure may change.
    void scheduleSent();
    // completed: every batch went out and was accepted; otherwise message says what is missing.
    void finished(bool completed, const QString &message);

private:
    // What went out since the last acknowledgement, so that a refusal can be answered.
    struct SentBatch {
        QString caption;
        bool schedule = false;   // the wipe or a part of the schedule
        MotorTable table = MotorTable::Beschattung;
        std::vector<int> motors; // whose records went out
    };

    void onFrame(const QString &tag, const QString &payload);
    void onExpired(SilenceWatch::Reason reason);
    void runBatch();
    void sendScheduleDay();
    void sendMotorRecords(MotorTable table, int step);
    void sendRecord(const QStringList &pieces);
    void step(int characters);
    void fail(const QString &panelText, const QString &message);
    void finish();
    void end();

    Session &m_session;
    SilenceWatch m_watch;
    bool m_running = false;
    int m_state = End;
    int m_weekday = 0;
    SentBatch m_sent;
    std::vector<SentBatch> m_refused;
};

} // namespace vandorelle
