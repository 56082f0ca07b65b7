#pragma once

#include "bridge/mqtt_client.h"
#include "config/store.h"
#include "protocol/device_family.h"
#include "protocol/live_values.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <array>

namespace vandorelle::bridge {

// What the bridge knows of its controller at one moment.
struct ControllerSnapshot {
    bool online = false;     // the controller answers on a port of ours
    bool paused = false;     // the port is left to another program
    bool stopped = false;    // the bridge is ending
    bool modelKnown = false; // a model string was seen in this run
    QString model;
    QString firmware;        // "7.090"
    QString date;
    QString time;
    DeviceFlags flags;
    std::array<QString, kMotors> names{}; // as shown: trimmed, "Motor n" where blank
    const LiveValues *live = nullptr;     // none until a sensor answer came

    int motors() const { return modelKnown ? motorCount(flags) : 0; }
};

inline const QString kOnline = QStringLiteral("online");
inline const QString kOffline = QStringLiteral("offline");

// Every retained topic of the state under the prefix: availability, controller facts, motor
// names (and the removal of names beyond the motor count), sensor values with their
// availability, and the whole as one JSON document under "state".
QList<Publication> stateTopics(const QString &prefix, const ControllerSnapshot &s);
QJsonObject stateDocument(const ControllerSnapshot &s);

// What was last published on each topic, so that only changes go out.
class TopicMemory {
public:
    QList<Publication> changed(const QList<Publication> &all);
    void forget() { m_payloads.clear(); }

private:
    QHash<QString, QByteArray> m_payloads;
};

} // namespace vandorelle::bridge
