#include "cli/sensor_values.h"

#include "cli/json_output.h"

#include <QStringList>

namespace vandorelle::cli {

namespace {

// The reading's number as the controller wrote it (21.3, not the float's 21.299999...).
std::optional<double> measured(const SensorReading &r, SensorChannel c)
{
    if (!r.has(c))
        return std::nullopt;
    return QString::number(r.values[c], 'g', 7).toDouble();
}

// Minimum and maximum belong to a temperature sensor that is there.
std::optional<double> extreme(const LiveValues &a, SensorChannel sensor, int position)
{
    if (!a.reading.has(sensor))
        return std::nullopt;
    return double(a.values[std::size_t(position)]);
}

} // namespace

std::vector<SensorValue> sensorValues(const LiveValues &a)
{
    const SensorReading &r = a.reading;
    // Minimum and maximum are answer values 4, 5 (inside) and 8, 9 (outside); maximum wind 11;
    // the wind figure of the status bar 14.
    return {
        {"brightness", false, measured(r, LuxCurrent)},
        {"brightnessMean", false, measured(r, LuxMean)},
        {"insideTemperature", false, measured(r, InsideTemperature)},
        {"insideMin", false, extreme(a, InsideTemperature, 3)},
        {"insideMax", false, extreme(a, InsideTemperature, 4)},
        {"outsideTemperature", false, measured(r, OutsideTemperature)},
        {"outsideMin", false, extreme(a, OutsideTemperature, 7)},
        {"outsideMax", false, extreme(a, OutsideTemperature, 8)},
        {"wind", false, measured(r, WindSpeed)},
        {"windMax", false, double(a.values[10])},
        {"windFigure", false, double(a.values[13])},
        {"humidity", false, measured(r, Humidity)},
        {"rain", true, double(r.rain)},
        {"alarm", true, double(r.alarm)},
    };
}

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
