#include "cli/sensor_values.h"

#include "cli/json_output.h"

#include <QStringList>

namespace vandorelle::cli {

QJsonObject sensorJson(const LiveValues &answer)
{
    QJsonObject o;
    for (const SensorValue &s : sensorValues(answer))
        o.insert(QString::fromLatin1(s.key), s.flag ? QJsonValue(*s.value != 0) : numberOrNull(s.value));
    return o;
}

QString sensorCsvHeader()
{
    QStringList fields{QStringLiteral("time")};
    for (const SensorValue &s : sensorValues(LiveValues{}))
        fields << QString::fromLatin1(s.key);
    return fields.join(u';');
}

QString sensorCsvLine(const QDateTime &when, const LiveValues &answer)
{
    QStringList fields{isoTimeStamp(when)};
    for (const SensorValue &s : sensorValues(answer))
        fields << (s.value ? QString::number(*s.value, 'g', 12).replace(u'.', u',') : QString());
    return fields.join(u';');
}

QString isoTimeStamp(const QDateTime &when)
{
    return when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODate);
}

} // namespace vandorelle::cli
