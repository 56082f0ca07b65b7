#include "bridge/service.h"

#include "bridge/discovery.h"
#include "bridge/log.h"
#include "protocol/device_family.h"

namespace vandorelle::bridge {

BridgeService::BridgeService(const BridgeConfig &config, const PortChoice &port, const QString &portLabel,
                             MqttClient &mqtt, QObject *parent)
    : QObject(parent), m_config(config), m_mqtt(mqtt), m_controller(port, portLabel)
{
    m_pace.setSingleShot(true);
    m_pace.setInterval(kPaceMs);
    connect(&m_pace, &QTimer::timeout, this, &BridgeService::sendNextCommand);
    m_manualIdle.setSingleShot(true);
    m_manualIdle.setInterval(config.manualTimeoutS * 1000);
    connect(&m_manualIdle, &QTimer::timeout, this, [this] {
        leaveManualControl(QStringLiteral("%1 s without a command").arg(m_config.manualTimeoutS));
    });
    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, [this] {
        m_state.forget();
        publishState();
    });
    m_namesEvery.setInterval(kNamesEveryMs);
    connect(&m_namesEvery, &QTimer::timeout, this, [this] {
        m_namesExpected = motorCount(m_controller.flags());
        m_controller.requestNames();
    });
    m_namesBound.setSingleShot(true);
    m_namesBound.setInterval(kNamesBoundMs);
    connect(&m_namesBound, &QTimer::timeout, this, &BridgeService::namesComplete);

    connect(&m_mqtt, &MqttClient::connected, this, &BridgeService::onBrokerConnected);
    connect(&m_mqtt, &MqttClient::connectionLost, this, [this](const QString &reason) {
        logWarning(QStringLiteral("lost the broker at %1: %2; connecting again").arg(m_mqtt.brokerLabel(), reason));
    });
    connect(&m_mqtt, &MqttClient::unreachable, this, [this](const QString &reason) {
        logWarning(QStringLiteral("cannot reach the broker at %1: %2; trying again").arg(m_mqtt.brokerLabel(), reason));
    });
    connect(&m_mqtt, &MqttClient::refused, this, [this](int exitCode, const QString &reason) {
        logError(reason);
        shutDown(exitCode, QStringLiteral("the broker refused us"));
    });
    connect(&m_mqtt, &MqttClient::message, this, &BridgeService::onMessage);
    connect(&m_mqtt, &MqttClient::messagesDropped, this, [](int count) {
        logWarning(QStringLiteral("%1 messages dropped: they came faster than they could be handled").arg(count));
    });

    connect(&m_controller, &ControllerConnection::onlineChanged, this, &BridgeService::onOnlineChanged);
    connect(&m_controller, &ControllerConnection::answered, this, &BridgeService::onAnswered);
    connect(&m_controller, &ControllerConnection::firmwareRefused, this, [this](const QString &text) {
        logError(text);
        shutDown(ExitFirmwareRefused, QStringLiteral("firmware too old"));
    });
}

void BridgeService::start()
{
    m_refresh.start();
    m_controller.start();
}

ControllerSnapshot BridgeService::snapshot() const
{
    ControllerSnapshot s;
    s.online = m_controller.online();
    s.paused = m_controller.released();
    s.stopped = m_stopping;
    s.modelKnown = m_controller.modelKnown();
    s.model = m_controller.model();
    s.firmware = m_controller.firmware();
    s.date = m_controller.status.panel(StatusModel::Date);
    s.time = m_controller.status.panel(StatusModel::Time);
    s.flags = m_controller.flags();
    for (int m = 1; m <= kMotors; ++m)
        s.names[std::size_t(m - 1)] = shownMotorName(m_controller.store.MotorNamen[std::size_t(m - 1)], m - 1);
    if (m_controller.session.live.received)
        s.live = &m_controller.session.live;
    return s;
}

void BridgeService::publishState()
{
    if (!m_mqtt.isConnected())
        return;
    const QString status = topic(QStringLiteral("status"));
    for (const Publication &p : m_state.changed(stateTopics(m_config.prefix, snapshot())))
        m_mqtt.publish(p, p.topic == status ? kQosAcknowledged : 0);
}

void BridgeService::publishDiscovery()
{
    if (!m_config.discovery || !m_mqtt.isConnected() || !m_controller.modelKnown() || !m_namesKnown || m_stopping)
        return;
    const QList<Publication> changed = m_discovery.changed(discoveryDocuments(m_config, snapshot()));
    for (const Publication &p : changed)
        m_mqtt.publish(p, kQosAcknowledged);
    if (!changed.isEmpty())
        logInfo(QStringLiteral("announced the controller for discovery under %1 (%2 documents)")
                    .arg(m_config.discoveryPrefix)
                    .arg(changed.size()));
}

void BridgeService::onBrokerConnected()
{
    logNotice(QStringLiteral("connected to the broker at %1; topics under %2").arg(m_mqtt.brokerLabel(), m_config.prefix));
    for (const char *suffix : {"motor/+/set", "wind_max/reset", "bridge/set"})
        m_mqtt.subscribe(topic(QLatin1String(suffix)));
    if (m_config.discovery)
        m_mqtt.subscribe(m_config.discoveryPrefix + QStringLiteral("/status"));
    // A restarted broker may have lost every retained message.
    m_state.forget();
    m_discovery.forget();
    publishState();
    publishDiscovery();
}

void BridgeService::onMessage(const QString &topicName, const QByteArray &payload, bool retained)
{
    if (m_stopping)
        return;
    if (m_config.discovery && topicName == m_config.discoveryPrefix + QStringLiteral("/status")) {
        // Home automation started afresh: it wants the announcements again.
        if (payload.trimmed() == "online") {
            m_discovery.forget();
            publishDiscovery();
        }
        return;
    }
    const ParsedCommand parsed = parseCommand(m_config.prefix, topicName, payload);
    if (!parsed.isCommandTopic())
        return;
    // What clears a retained message is no command.
    if (payload.isEmpty()) {
        logDebug(QStringLiteral("empty message on %1 ignored").arg(topicName));
        return;
    }
    const QString what = topicName + u' ' + quotedPayload(payload);
    logDebug(QStringLiteral("received %1").arg(what));
    if (retained) {
        refuse(what, QStringLiteral("a retained command would be carried out again on every connection; publish "
                                    "commands without the retain flag"));
        return;
    }
    if (!parsed.command) {
        refuse(what, parsed.refusal);
        return;
    }
    accept(*parsed.command);
}

void BridgeService::accept(const Command &c)
{
    if (c.kind == Command::Pause) {
        pause(QStringLiteral("PAUSE at the broker"));
        return;
    }
    if (c.kind == Command::Resume) {
        resume(QStringLiteral("RESUME at the broker"));
        return;
    }
    if (m_controller.released()) {
        refuse(c.describe(), QStringLiteral("the port is released; RESUME takes it back"));
        return;
    }
    if (!m_controller.online()) {
        refuse(c.describe(), QStringLiteral("the controller is offline"));
        return;
    }
    const int motors = motorCount(m_controller.flags());
    if (c.kind == Command::Motor && c.motor > motors) {
        refuse(c.describe(), QStringLiteral("the controller (%1) has motors 1 to %2 only")
                                 .arg(m_controller.model())
                                 .arg(motors));
        return;
    }
    m_commands.push(c);
    sendNextCommand();
}

void BridgeService::refuse(const QString &what, const QString &why)
{
    const QString text = QStringLiteral("%1 refused: %2").arg(what, why);
    logWarning(text);
    m_mqtt.publish({topic(QStringLiteral("error")), text.toUtf8(), false});
}

void BridgeService::dropWaitingCommands(const QString &why)
{
    m_pace.stop();
    while (const auto c = m_commands.take())
        refuse(c->describe(), why);
}

void BridgeService::sendNextCommand()
{
    if (m_commands.empty())
        return;
    // One command at a time on the line: the poll never waits behind a backlog of them.
    if (!m_controller.outputDrained()) {
        if (!m_pace.isActive())
            m_pace.start();
        return;
    }
    const Command c = *m_commands.take();
    const QStringList writes =
        c.kind == Command::Motor ? m_manual.command(c.motor, c.choice) : QStringList{QStringLiteral("swl")};
    if (m_controller.write(writes)) {
        logInfo(c.describe());
        if (c.kind == Command::Motor)
            m_manualIdle.start();
        else
            m_controller.session.addTx(3);
    } else {
        refuse(c.describe(), QStringLiteral("the port did not take it"));
    }
    if (!m_commands.empty())
        m_pace.start();
}

void BridgeService::leaveManualControl(const QString &cause)
{
    m_manualIdle.stop();
    const QStringList writes = m_manual.leave();
    if (!writes.isEmpty() && m_controller.write(writes))
        logInfo(QStringLiteral("left manual control (%1)").arg(cause));
}

void BridgeService::onOnlineChanged(bool online)
{
    if (online) {
        logNotice(QStringLiteral("the controller answers: %1, firmware V%2")
                      .arg(m_controller.model(), m_controller.firmware()));
        m_namesExpected = motorCount(m_controller.flags());
        m_controller.requestNames();
        m_namesBound.start();
        m_namesEvery.start();
    } else {
        if (!m_controller.released() && !m_stopping)
            logWarning(QStringLiteral("the controller does not answer"));
        // Whatever state it comes back in, manual control is entered afresh.
        m_manual.forget();
        m_manualIdle.stop();
        m_namesEvery.stop();
        m_namesBound.stop();
        m_namesExpected = 0;
        dropWaitingCommands(QStringLiteral("the controller went offline"));
    }
    publishState();
    publishDiscovery();
}

void BridgeService::onAnswered(const QString &tag)
{
    if (tag == QStringLiteral("smn") && m_namesExpected > 0 && --m_namesExpected == 0)
        namesComplete();
    publishState();
}

void BridgeService::namesComplete()
{
    m_namesBound.stop();
    m_namesExpected = 0;
    m_namesKnown = true;
    publishState();
    publishDiscovery();
}

void BridgeService::pause(const QString &cause)
{
    if (m_stopping)
        return;
    if (m_controller.released()) {
        logInfo(QStringLiteral("%1: the port is released already").arg(cause));
        return;
    }
    logNotice(QStringLiteral("releasing the port (%1)").arg(cause));
    dropWaitingCommands(QStringLiteral("the port is being released"));
    leaveManualControl(QStringLiteral("the port is released"));
    m_controller.release([this] {
        logNotice(QStringLiteral("port released; RESUME at %1 or SIGUSR2 takes it back").arg(topic(QStringLiteral("bridge/set"))));
        publishState();
    });
    publishState();
}

void BridgeService::resume(const QString &cause)
{
    if (m_stopping)
        return;
    if (!m_controller.released()) {
        logInfo(QStringLiteral("%1: the port is not released").arg(cause));
        return;
    }
    logNotice(QStringLiteral("taking the port back (%1)").arg(cause));
    m_controller.resume();
    publishState();
}

void BridgeService::shutDown(int exitCode, const QString &cause)
{
    if (m_stopping)
        return;
    logNotice(QStringLiteral("stopping (%1)").arg(cause));
    dropWaitingCommands(QStringLiteral("the bridge is stopping"));
    leaveManualControl(QStringLiteral("the bridge is stopping"));
    m_stopping = true;
    for (QTimer *t : {&m_pace, &m_refresh, &m_namesEvery, &m_namesBound, &m_manualIdle})
        t->stop();
    m_controller.release([this, exitCode] {
        // Said again in full, acknowledged: the broker must end up with these whatever went before.
        const QStringList lastTopics{topic(QStringLiteral("status")), topic(QStringLiteral("bridge/state")),
                                     topic(QStringLiteral("state"))};
        QList<Publication> last;
        for (const Publication &p : stateTopics(m_config.prefix, snapshot()))
            if (lastTopics.contains(p.topic))
                last.append(p);
        const bool cleanly = m_mqtt.finish(last, kLastWordsBoundMs);
        emit finished(exitCode, cleanly);
    });
}

} // namespace vandorelle::bridge
