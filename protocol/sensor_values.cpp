#include "protocol/sensor_values.h"

#include <QString>

namespace vandorelle {

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

} // namespace vandorelle
