#pragma once

#include <vector>

namespace vandorelle::bridge {

// How a sensor value of the poll answer appears at the broker and in home automation.
struct SensorEntity {
    const char *key;         // the core's name of the value: "insideTemperature"
    const char *topic;       // under the prefix: "inside_temperature"
    const char *name;        // the entity's name: "Inside temperature"
    const char *component;   // "sensor" or "binary_sensor"; nullptr: published, not announced
    const char *deviceClass; // nullptr: none fits
    const char *unit;        // nullptr: none
    bool measurement;        // a value that is measured now (not a minimum or maximum)
};

// In the order of sensorValues().
const std::vector<SensorEntity> &sensorEntities();
const SensorEntity *sensorEntity(const char *key);

} // namespace vandorelle::bridge
