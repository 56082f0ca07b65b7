#pragma once

#include "protocol/value_list.h"

#include <array>
#include <cmath>

namespace vandorelle {

// The measured quantities of a sensor answer that the history keeps.
enum SensorChannel : int {
    LuxCurrent,
    LuxMean,
    InsideTemperature,
    OutsideTemperature,
    WindSpeed,
    Humidity,
};
constexpr int kSensorChannels = 6;

// One poll answer as numbers; NaN where the controller has no such sensor.
struct SensorReading {
    std::array<float, kSensorChannels> values{};
    bool rain = false;
    bool alarm = false;

    bool has(SensorChannel c) const { return !std::isnan(values[c]); }
};

// The "skd" values: brightness 1, temperatures 2/3 and 6/7 (whole, tenths; 999 = absent),
// wind 10, alarm 12, rain 13, mean brightness 15, humidity 16 (0 = absent).
SensorReading sensorReadingOf(const ValueList &v);

} // namespace vandorelle
