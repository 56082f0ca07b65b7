#pragma once

#include "config/settings_file.h"
#include "config/store.h"
#include "link/port_keeper.h"
#include "link/serial_port.h"
#include "link/supervisor.h"
#include "protocol/session.h"
#include "protocol/status_model.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace vandorelle::bridge {

// The controller on its serial line, kept as the window keeps it: polled every 900 ms and
// watched, with the device family read from its model string; a device that goes away is
// waited for, a port that someone else holds is tried again every 5 s. The link watchdog looks
// twice as often as the window's, so that a silent controller is offline within 2.5 s.
class ControllerConnection : public QObject {
    Q_OBJECT
public:
    ControllerConnection(const PortChoice &choice, const QString &portLabel, QObject *parent = nullptr);
    ~ControllerConnection() override;

    ConfigStore store;
    StatusModel status;
    Session session{store, status};

    static constexpr int kPollMs = 900;
    static constexpr int kWatchdogMs = 1250;
    static constexpr int kOpenRetryMs = 5000;
    static constexpr int kDrainBoundMs = 2000;

    void start();
    // Stops polling and closes the port once what was queued has left it (within a bound);
    // then done(). The port stays closed until resume(); a resume() before it is closed
    // cancels the release, and done() is not called.
    void release(const std::function<void()> &done);
    void resume();
    bool released() const { return m_released; }

    // Answers on a port of ours: a model string arrived since the last loss.
    bool online() const { return m_online; }
    bool modelKnown() const { return !m_model.isEmpty(); }
    QString model() const { return m_model; }       // the last one seen, kept while offline
    QString firmware() const { return m_firmware; } // "7.090"
    const DeviceFlags &flags() const { return m_flags; }

    // Each text as one write; false (and said in the log) when the port is closed or refuses.
    bool write(const QStringList &writes);
    // Nothing of ours is waiting for the line: a command now is the next thing on it.
    bool outputDrained() const;
    void requestNames();

signals:
    void onlineChanged(bool online);
    // A poll answer or a motor name was handled.
    void answered(const QString &tag);
    void firmwareRefused(const QString &text);

private:
    void tryOpen();
    void opened();
    void stopPolling();
    void setOnline(bool online);
    void noteOpenFailure(const QString &text);

    PortChoice m_choice;
    QString m_label;
    TVaComm m_port;
    PortKeeper m_keeper{m_port};
    Supervisor m_supervisor{session};
    QTimer m_poll;
    QTimer m_watchdog;
    QTimer m_openRetry;
    QTimer *m_drainCheck = nullptr; // a release waiting for the output to leave
    QString m_lastOpenFailure;
    QString m_model;
    QString m_firmware;
    DeviceFlags m_flags;
    bool m_online = false;
    bool m_released = false;
};

} // namespace vandorelle::bridge
