#include "bridge/state_topics.h"

#include "bridge/sensor_entities.h"
#include "protocol/sensor_values.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace vandorelle::bridge {

namespace {

struct FamilyFlag {
    const char *name;
    bool DeviceFlags::*flag;
};

constexpr FamilyFlag kFamilyFlags[] = {
    {"shading", &DeviceFlags::ShadingFamily},
    {"conservatory", &DeviceFlags::ConservatoryFamily},
    {"push_button", &DeviceFlags::TastPresent},
    {"radio_push_button", &DeviceFlags::TastFunk},
    {"group_control", &DeviceFlags::GzsPresent},
    {"banks", &DeviceFlags::BankModel},
    {"eight_switching_times", &DeviceFlags::EightEntries},
};

QByteArray numberText(double v) { return QByteArray::number(v, 'g', 12); }
QByteArray flagText(double v) { return v != 0 ? "ON" : "OFF"; }
QByteArray text(const QString &s) { return s.toUtf8(); }

QString availability(const ControllerSnapshot &s) { return s.online && !s.paused && !s.stopped ? kOnline : kOffline; }
QString bridgeState(const ControllerSnapshot &s)
{
    return s.stopped ? QStringLiteral("stopped") : s.paused ? QStringLiteral("paused") : QStringLiteral("running");
}

} // namespace

QList<Publication> stateTopics(const QString &prefix, const ControllerSnapshot &s)
{
    const QString p = prefix + u'/';
    QList<Publication> out;
    out.append({p + QStringLiteral("status"), text(availability(s))});
    out.append({p + QStringLiteral("bridge/state"), text(bridgeState(s))});
    if (s.modelKnown) {
        out.append({p + QStringLiteral("model"), text(s.model)});
        out.append({p + QStringLiteral("firmware"), text(s.firmware)});
        out.append({p + QStringLiteral("motors"), QByteArray::number(s.motors())});
        out.append({p + QStringLiteral("switching_times"), QByteArray::number(entriesPerDay(s.flags))});
        for (const FamilyFlag &f : kFamilyFlags)
            out.append({p + QStringLiteral("family/") + QLatin1String(f.name), s.flags.*f.flag ? "true" : "false"});
        for (int m = 1; m <= kMotors; ++m)
            out.append({p + QStringLiteral("motor/%1/name").arg(m),
                        m <= s.motors() ? text(s.names[std::size_t(m - 1)]) : QByteArray()});
    }
    if (!s.date.isEmpty())
        out.append({p + QStringLiteral("date"), text(s.date)});
    if (!s.time.isEmpty())
        out.append({p + QStringLiteral("time"), text(s.time)});
    if (s.live) {
        for (const SensorValue &v : sensorValues(*s.live)) {
            const QString topic = p + QLatin1String(sensorEntity(v.key)->topic);
            // An absent sensor has no value: the retained one is taken away.
            out.append({topic, v.value ? (v.flag ? flagText(*v.value) : numberText(*v.value)) : QByteArray()});
            out.append({topic + QStringLiteral("/available"), text(v.value ? kOnline : kOffline)});
        }
    }
    out.append({p + QStringLiteral("state"), QJsonDocument(stateDocument(s)).toJson(QJsonDocument::Compact)});
    return out;
}

QJsonObject stateDocument(const ControllerSnapshot &s)
{
    QJsonObject doc{{QStringLiteral("status"), availability(s)}, {QStringLiteral("bridge"), bridgeState(s)}};
    if (s.modelKnown) {
        doc.insert(QStringLiteral("model"), s.model);
        doc.insert(QStringLiteral("firmware"), s.firmware);
        doc.insert(QStringLiteral("motors"), s.motors());
        doc.insert(QStringLiteral("switching_times"), entriesPerDay(s.flags));
        QJsonObject family;
        for (const FamilyFlag &f : kFamilyFlags)
            family.insert(QLatin1String(f.name), s.flags.*f.flag);
        doc.insert(QStringLiteral("family"), family);
        QJsonArray names;
        for (int m = 1; m <= s.motors(); ++m)
            names.append(s.names[std::size_t(m - 1)]);
        doc.insert(QStringLiteral("motor_names"), names);
    }
    if (!s.date.isEmpty())
        doc.insert(QStringLiteral("date"), s.date);
    if (!s.time.isEmpty())
        doc.insert(QStringLiteral("time"), s.time);
    if (s.live) {
        QJsonObject sensors;
        for (const SensorValue &v : sensorValues(*s.live)) {
            const QString key = QLatin1String(sensorEntity(v.key)->topic);
            if (!v.value)
                sensors.insert(key, QJsonValue::Null);
            else if (v.flag)
                sensors.insert(key, *v.value != 0);
            else
                sensors.insert(key, *v.value);
        }
        doc.insert(QStringLiteral("sensors"), sensors);
    }
    return doc;
}

QList<Publication> TopicMemory::changed(const QList<Publication> &all)
{
    QList<Publication> out;
    for (const Publication &p : all) {
        const auto it = m_payloads.constFind(p.topic);
        if (it != m_payloads.constEnd() && *it == p.payload)
            continue;
        m_payloads.insert(p.topic, p.payload);
        out.append(p);
    }
    return out;
}

} // namespace vandorelle::bridge
