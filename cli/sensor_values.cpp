#include "cli/sensor_values.h"

#include "cli/json_output.h"

#include <QStringList>

namespace vandorelle::cli {

namespace {

constexpr int32_t kNoTemperatureSensor = 999;

std::optional<double> plain(int32_t value)
{
    return double(value);
}

// Whole degrees and the digits after the decimal comma, as the window writes them side by
// side ("21,5"); none without a sensor.
std::optional<double> temperature(const SensorAnswer &v, int whole)
{
    if (v[whole] == kNoTemperatureSensor)
        return std::nullopt;
    return (QString::number(v[whole]) + u'.' + QString::number(qAbs(v[whole + 1]))).toDouble();
}

std::optional<double> extreme(const SensorAnswer &v, int whole, int extremeAt)
{
    if (v[whole] == kNoTemperatureSensor)
        return std::nullopt;
    return double(v[extremeAt]);
}

} // namespace

std::vector<SensorValue> sensorValues(const SensorAnswer &v)
{
    // Positions in the answer: brightness 1, inside 2..5, outside 6..9, wind 10 and 11,
    // alarm 12, rain 13, wind figure 14, mean brightness 15, humidity 16 (0: no sensor).
    return {
        {"brightness", false, plain(v[0])},
        {"brightnessMean", false, plain(v[14])},
        {"insideTemperature", false, temperature(v, 1)},
        {"insideMin", false, extreme(v, 1, 3)},
        {"insideMax", false, extreme(v, 1, 4)},
        {"outsideTemperature", false, temperature(v, 5)},
        {"outsideMin", false, extreme(v, 5, 7)},
        {"outsideMax", false, extreme(v, 5, 8)},
        {"wind", false, plain(v[9])},
        {"windMax", false, plain(v[10])},
        {"windFigure", false, plain(v[13])},
        {"humidity", false, v[15] != 0 ? plain(v[15]) : std::nullopt},
        {"rain", true, double(v[12] != 0)},
        {"alarm", true, double(v[11] != 0)},
    };
}

QJsonObject sensorJson(const SensorAnswer &answer)
{
    QJsonObject o;
    for (const SensorValue &s : sensorValues(answer))
        o.insert(QString::fromLatin1(s.key), s.flag ? QJsonValue(*s.value != 0) : numberOrNull(s.value));
    return o;
}

QString sensorCsvHeader()
{
    QStringList fields{QStringLiteral("time")};
    for (const SensorValue &s : sensorValues({}))
        fields << QString::fromLatin1(s.key);
    return fields.join(u';');
}

QString sensorCsvLine(const QDateTime &when, const SensorAnswer &answer)
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
