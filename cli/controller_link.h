#pragma once

#include "cli/console.h"
#include "cli/options.h"
#include "cli/outcome.h"
#include "cli/trace.h"
#include "config/store.h"
#include "link/port_keeper.h"
#include "link/serial_port.h"
#include "protocol/session.h"
#include "protocol/status_model.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace vandorelle::cli {

class InterruptWatch;

// The port, the store and the session of one run, with the waits a command needs.
// Everything runs on the main thread; waits run the event loop.
class ControllerLink : public QObject {
    Q_OBJECT
public:
    ControllerLink(const Options &options, Console &console, InterruptWatch &interrupt);
    ~ControllerLink() override;

    ConfigStore store;
    StatusModel status;
    Session session{store, status};

    // Opens the port of the options (or of the settings file) at the window's line settings,
    // and the trace file. A port that cannot be opened says why and what to do.
    Outcome open();
    // From now on a vanished device is waited for and opened again when it is back, instead of
    // ending the command (monitor). Before open().
    void keepReconnecting();
    PortKeeper &portKeeper() { return m_keeper; }
    // The device is away and being waited for.
    bool waitingForDevice() const { return m_keeper.waitingForDevice(); }
    QString portLabel() const { return m_portLabel; }

    // What a command needs to have heard before it starts.
    struct Needs {
        bool firmware = false; // and refuse firmware below V7.000
        bool date = false;
    };
    // Polls every 900 ms until the model string (and what `needs` names) arrived, then takes
    // the device family from it. Exit 3 when nothing sufficient arrived within the time-out.
    Outcome connectController(Needs needs);

    // The five poll requests of the window's poll tick; false when the port refused them.
    bool sendPoll();

    // Runs the event loop until done() holds (true), the time-out passes, the device
    // disappears or the user interrupts (false). A negative time-out waits without a bound of
    // its own.
    bool waitUntil(const std::function<bool()> &done, int timeoutMs);
    bool interrupted() const;
    static Outcome interruptedOutcome();
    // The device went away (adapter pulled, emulator ended): nothing more will come.
    bool lineLost() const { return m_lineLost; }
    // Exit 3 before a controller answered, 4 once one did (an exchange was cut short).
    Outcome lineLostOutcome(ExitCode code) const;

    int framesReceived(const QString &tag) const { return m_frames.value(tag); }
    // Since the last answer to a poll request that held (noise does not count), or since the
    // port was opened while none came.
    qint64 msSinceLastAnswer() const;
    int timeoutMs() const { return m_options.timeoutMs; }
    QString timeoutText() const;

    // Panel 5 texts (rejected records, refused batches) since the last call.
    QStringList takeErrors();

private:
    void onReceived(int count);
    void onLineError(int errors);

    const Options &m_options;
    Console &m_console;
    InterruptWatch &m_interrupt;
    TraceWriter m_trace;
    TVaComm m_port;
    PortKeeper m_keeper{m_port};
    TracingPort m_tracingPort{m_port, m_trace};
    QString m_portLabel;
    QHash<QString, int> m_frames;
    QStringList m_errors;
    qint64 m_lastAnswer = 0;
    int m_pollsSent = 0;
    bool m_lineLost = false;
    bool m_reconnecting = false;
};

} // namespace vandorelle::cli
