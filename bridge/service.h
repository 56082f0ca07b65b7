#pragma once

#include "bridge/bridge_config.h"
#include "bridge/commands.h"
#include "bridge/controller_connection.h"
#include "bridge/mqtt_client.h"
#include "bridge/state_topics.h"
#include "protocol/manual_control.h"

#include <QObject>
#include <QTimer>

namespace vandorelle::bridge {

// The controller at the broker: its state out, motor commands in, discovery, port sharing and
// a clean end. Everything runs on the thread of the event loop; the broker's messages arrive
// there as events, so a command never cuts into the handling of a poll answer.
class BridgeService : public QObject {
    Q_OBJECT
public:
    BridgeService(const BridgeConfig &config, const PortChoice &port, const QString &portLabel, MqttClient &mqtt,
                  QObject *parent = nullptr);

    void start();
    // Leaves manual control and releases the port for another program; resume() takes it back.
    void pause(const QString &cause);
    void resume(const QString &cause);
    // Leaves manual control, closes the port, says offline at the broker; then finished().
    void shutDown(int exitCode, const QString &cause);

    static constexpr int kRefreshMs = 60 * 1000;      // every retained topic at least this often
    static constexpr int kNamesEveryMs = 10 * 60 * 1000;
    static constexpr int kNamesBoundMs = 5000;        // discovery waits this long for the names
    static constexpr int kPaceMs = 5;                 // looks again whether the line is free
    static constexpr int kLastWordsBoundMs = 3000;

signals:
    void finished(int exitCode, bool cleanly);

private:
    void onBrokerConnected();
    void onMessage(const QString &topic, const QByteArray &payload, bool retained);
    void onOnlineChanged(bool online);
    void onAnswered(const QString &tag);
    void accept(const Command &c);
    void refuse(const QString &what, const QString &why);
    void dropWaitingCommands(const QString &why);
    void sendNextCommand();
    void leaveManualControl(const QString &cause);
    void namesComplete();
    void publishState();
    void publishDiscovery();
    ControllerSnapshot snapshot() const;
    QString topic(const QString &suffix) const { return m_config.prefix + u'/' + suffix; }

    const BridgeConfig &m_config;
    MqttClient &m_mqtt;
    ControllerConnection m_controller;
    CommandQueue m_commands;
    ManualSession m_manual;
    TopicMemory m_state;
    TopicMemory m_discovery;
    QTimer m_pace;
    QTimer m_manualIdle;
    QTimer m_refresh;
    QTimer m_namesEvery;
    QTimer m_namesBound;
    int m_namesExpected = 0; // names still to come of the last request
    bool m_namesKnown = false;
    bool m_stopping = false;
};

} // namespace vandorelle::bridge
