#include "bridge/discovery.h"

#include "bridge/sensor_entities.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vandorelle::bridge {

namespace {

class Announcer {
public:
    Announcer(const BridgeConfig &config, const ControllerSnapshot &s)
        : m_config(config), m_node(QStringLiteral("vandorelle_") + config.id), m_prefix(config.prefix + u'/')
    {
        m_device = QJsonObject{
            {QStringLiteral("identifiers"), QJsonArray{m_node}},
            {QStringLiteral("name"), QStringLiteral("Vandorelle controller")},
            {QStringLiteral("model"), s.model},
            {QStringLiteral("sw_version"), s.firmware},
        };
    }

    QString topic(const QString &suffix) const { return m_prefix + suffix; }

    // Entities that mean nothing without the controller are unavailable with it.
    QJsonObject entity(const QString &objectId, const QString &name, bool followsController = true) const
    {
        QJsonObject o{
            {QStringLiteral("name"), name},
            {QStringLiteral("unique_id"), m_node + u'_' + objectId},
            {QStringLiteral("device"), m_device},
        };
        if (followsController)
            o.insert(QStringLiteral("availability_topic"), topic(QStringLiteral("status")));
        return o;
    }

    Publication document(const char *component, const QString &objectId, const QJsonObject &body) const
    {
        return {configTopic(component, objectId), QJsonDocument(body).toJson(QJsonDocument::Compact)};
    }
    Publication removal(const char *component, const QString &objectId) const
    {
        return {configTopic(component, objectId), QByteArray()};
    }

private:
    QString configTopic(const char *component, const QString &objectId) const
    {
        return m_config.discoveryPrefix + u'/' + QLatin1String(component) + u'/' + m_node + u'/' + objectId
            + QStringLiteral("/config");
    }

    const BridgeConfig &m_config;
    QString m_node;
    QString m_prefix;
    QJsonObject m_device;
};

void addCovers(const Announcer &a, const BridgeConfig &config, const ControllerSnapshot &s, QList<Publication> &out)
{
    for (int m = 1; m <= kMotors; ++m) {
        const QString id = QStringLiteral("motor_%1").arg(m);
        if (m > s.motors()) {
            out.append(a.removal("cover", id));
            continue;
        }
        QJsonObject cover = a.entity(id, s.names[std::size_t(m - 1)]);
        cover.insert(QStringLiteral("command_topic"), a.topic(QStringLiteral("motor/%1/set").arg(m)));
        cover.insert(QStringLiteral("payload_open"), QStringLiteral("OPEN"));
        cover.insert(QStringLiteral("payload_close"), QStringLiteral("CLOSE"));
        cover.insert(QStringLiteral("payload_stop"), QStringLiteral("STOP"));
        // The controller does not report where a motor stands.
        cover.insert(QStringLiteral("optimistic"), true);
        cover.insert(QStringLiteral("device_class"), config.coverClassOf(m));
        out.append(a.document("cover", id, cover));
    }
}

void addSensors(const Announcer &a, QList<Publication> &out)
{
    for (const SensorEntity &e : sensorEntities()) {
        if (!e.component)
            continue;
        const QString id = QLatin1String(e.topic);
        QJsonObject o = a.entity(id, QString::fromUtf8(e.name), false);
        // Unavailable without the controller, and when the controller has no such sensor.
        o.insert(QStringLiteral("availability"),
                 QJsonArray{QJsonObject{{QStringLiteral("topic"), a.topic(QStringLiteral("status"))}},
                            QJsonObject{{QStringLiteral("topic"), a.topic(id + QStringLiteral("/available"))}}});
        o.insert(QStringLiteral("availability_mode"), QStringLiteral("all"));
        o.insert(QStringLiteral("state_topic"), a.topic(id));
        if (e.deviceClass)
            o.insert(QStringLiteral("device_class"), QLatin1String(e.deviceClass));
        if (e.unit)
            o.insert(QStringLiteral("unit_of_measurement"), QString::fromUtf8(e.unit));
        if (e.measurement)
            o.insert(QStringLiteral("state_class"), QStringLiteral("measurement"));
        if (!e.deviceClass && QLatin1String(e.component) == QLatin1String("sensor"))
            o.insert(QStringLiteral("icon"), QStringLiteral("mdi:white-balance-sunny"));
        out.append(a.document(e.component, id, o));
    }
}

void addBridgeEntities(const Announcer &a, QList<Publication> &out)
{
    // Connectivity follows the availability topic itself, with the broker's last will.
    QJsonObject connectivity = a.entity(QStringLiteral("connectivity"), QStringLiteral("Connection"), false);
    connectivity.insert(QStringLiteral("state_topic"), a.topic(QStringLiteral("status")));
    connectivity.insert(QStringLiteral("payload_on"), kOnline);
    connectivity.insert(QStringLiteral("payload_off"), kOffline);
    connectivity.insert(QStringLiteral("device_class"), QStringLiteral("connectivity"));
    connectivity.insert(QStringLiteral("entity_category"), QStringLiteral("diagnostic"));
    out.append(a.document("binary_sensor", QStringLiteral("connectivity"), connectivity));

    QJsonObject reset = a.entity(QStringLiteral("wind_max_reset"), QStringLiteral("Reset maximum wind speed"));
    reset.insert(QStringLiteral("command_topic"), a.topic(QStringLiteral("wind_max/reset")));
    reset.insert(QStringLiteral("payload_press"), QStringLiteral("PRESS"));
    out.append(a.document("button", QStringLiteral("wind_max_reset"), reset));

    const std::pair<const char *, const char *> texts[] = {{"date", "Controller date"}, {"time", "Controller time"}};
    for (const auto &[id, name] : texts) {
        QJsonObject o = a.entity(QLatin1String(id), QLatin1String(name));
        o.insert(QStringLiteral("state_topic"), a.topic(QLatin1String(id)));
        o.insert(QStringLiteral("entity_category"), QStringLiteral("diagnostic"));
        out.append(a.document("sensor", QLatin1String(id), o));
    }

    // Usable while the controller is away: the port may be paused on purpose.
    QJsonObject pause = a.entity(QStringLiteral("port_released"), QStringLiteral("Port released"), false);
    pause.insert(QStringLiteral("command_topic"), a.topic(QStringLiteral("bridge/set")));
    pause.insert(QStringLiteral("state_topic"), a.topic(QStringLiteral("bridge/state")));
    pause.insert(QStringLiteral("payload_on"), QStringLiteral("PAUSE"));
    pause.insert(QStringLiteral("payload_off"), QStringLiteral("RESUME"));
    pause.insert(QStringLiteral("state_on"), QStringLiteral("paused"));
    pause.insert(QStringLiteral("state_off"), QStringLiteral("running"));
    pause.insert(QStringLiteral("entity_category"), QStringLiteral("config"));
    pause.insert(QStringLiteral("icon"), QStringLiteral("mdi:serial-port"));
    out.append(a.document("switch", QStringLiteral("port_released"), pause));
}

} // namespace

QList<Publication> discoveryDocuments(const BridgeConfig &config, const ControllerSnapshot &s)
{
    const Announcer a(config, s);
    QList<Publication> out;
    addCovers(a, config, s, out);
    addSensors(a, out);
    addBridgeEntities(a, out);
    return out;
}

} // namespace vandorelle::bridge
