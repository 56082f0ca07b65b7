#pragma once

#include "protocol/live_values.h"

#include <optional>
#include <vector>

namespace vandorelle {

// One sensor value of a poll answer under the name the machine-readable outputs give it.
struct SensorValue {
    const char *key;             // "insideTemperature"
    bool flag;                   // rain and alarm: yes or no
    std::optional<double> value; // none where the controller has no such sensor
};

// Brightness, mean brightness, inside and outside temperature with their minimum and
// maximum, wind, maximum wind, the wind figure, humidity, rain, alarm; always in this order.
std::vector<SensorValue> sensorValues(const LiveValues &answer);

} // namespace vandorelle
