#pragma once

#include "config/settings_file.h"
#include "protocol/device_family.h"
#include "protocol/session.h"

#include <QObject>
#include <QString>

#include <functional>

class QTimer;

namespace vandorelle {

// The connection blinker: red square without connection; red square and magenta circle
// alternating with the poll tick while connected.
enum class DotState { RedSquare, MagentaCircle };

// True for the answer to one of the poll's requests (each answers under its request's tag).
bool isPollAnswer(const QString &tag);

// Keeps the tool and the controller in touch: polls, watches the link, refuses old
// firmware, reads the device family and tells the window how to adapt. Headless: the owner
// connects the timers' timeouts to the tick handlers, tests call them directly.
class Supervisor : public QObject {
    Q_OBJECT
public:
    explicit Supervisor(Session &session, QObject *parent = nullptr);

    // Timer1 (900 ms poll), Timer3 (2500 ms watchdog), DCF77_LED_Timer (100 ms); the
    // supervisor only starts and stops them.
    void setTimers(QTimer *poll, QTimer *watchdog, QTimer *timeSignal);

    // The working directory (a settings file there wins over the configuration folder's),
    // and the port the settings file records.
    QString settingsDirectory;
    std::function<PortChoice()> portChoice = [] { return PortChoice{}; };

    void Timer1Timer();
    void Timer3Timer();
    void DCF77ButtonClick();
    void DCF77_LED_TimerTimer();
    // The time-signal mode ends: "sts" arrived or the parameter tab was left.
    void endTimeSignalMode();
    void parameterPageLeft();
    // Port change: no connection until a model string arrives, firmware judged afresh.
    void resetLink();
    // Start of a run: the once-per-run decisions are taken again.
    void resetRunFlags();
    // No controller any more: "Keine Verbindung", every record pending for the next send.
    void declareLinkLost();

    // What only the window does once per run: a service has no settings file of the window's to
    // keep, and must not move the logbook's read pointer under the window's feet.
    bool writesSettingsFile = true;
    bool rewindsLogbook = true;

    bool settingsWritten = false;  // "Vandorelle.ini" written in this run
    bool logbookResetSent = false; // "slr" sent in this run
    bool refused = false;          // old firmware: the program is ending
    bool timeSignalMode = false;
    int32_t previousRxCount = 0;
    DotState dot = DotState::RedSquare;

    static QString urlFor(const DeviceFlags &flags);
    static QString firmwareRefusalText();
    static const QString kSettingsWriteError;
    static const QString kUnknownModel;

signals:
    void showNotConnected();                                // every tick without connection
    void adaptWindow(const vandorelle::DeviceFlags &flags); // every connected tick
    void firmwareRefused(const QString &text);              // show it, then end the program
    void errorMessage(const QString &text);
    void dotChanged(vandorelle::DotState state);

private:
    bool poll();
    void evaluateConnection(QString &deferredError);
    void blinkDot();
    bool sendRequest(const QString &text);

    Session &m_session;
    QTimer *m_poll = nullptr;
    QTimer *m_watchdog = nullptr;
    QTimer *m_timeSignal = nullptr;
    bool m_writeErrorShown = false;
};

} // namespace vandorelle
