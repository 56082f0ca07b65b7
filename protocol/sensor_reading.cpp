#include "protocol/sensor_reading.h"

#include <cmath>
#include <limits>

namespace vandorelle {

namespace {

constexpr int32_t kAbsent = 999;
constexpr float kGap = std::numeric_limits<float>::quiet_NaN();

float plain(int32_t value) { return value == kAbsent ? kGap : float(value); }

// The window writes value 2 + "," + value 3: the second value is the digits after the
// comma, which add away from zero.
float temperature(int32_t whole, int32_t decimals)
{
    if (whole == kAbsent)
        return kGap;
    double fraction = std::abs(double(decimals));
    while (fraction >= 1.0)
        fraction /= 10.0;
    return float(whole < 0 ? whole - fraction : whole + fraction);
}

} // namespace

SensorReading sensorReadingOf(const ValueList &v)
{
    SensorReading r;
    r.values[LuxCurrent] = plain(v[0]);
    r.values[LuxMean] = plain(v[14]);
    r.values[InsideTemperature] = temperature(v[1], v[2]);
    r.values[OutsideTemperature] = temperature(v[5], v[6]);
    r.values[WindSpeed] = plain(v[9]);
    // The window shows " - " for 0: a controller without humidity sensor reports 0.
    r.values[Humidity] = v[15] == 0 ? kGap : plain(v[15]);
    r.alarm = v[11] != 0;
    r.rain = v[12] != 0;
    return r;
}

} // namespace vandorelle
