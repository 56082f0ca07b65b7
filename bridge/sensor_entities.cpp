#include "bridge/sensor_entities.h"

#include <cstring>

namespace vandorelle::bridge {

const std::vector<SensorEntity> &sensorEntities()
{
    // The controller's brightness is a figure of its own (0 to 255), not lux: no class, no unit.
    static const std::vector<SensorEntity> table = {
        {"brightness", "brightness", "Brightness", "sensor", nullptr, nullptr, true},
        {"brightnessMean", "brightness_mean", "Mean brightness", "sensor", nullptr, nullptr, true},
        {"insideTemperature", "inside_temperature", "Inside temperature", "sensor", "temperature", "°C", true},
        {"insideMin", "inside_min", "Inside temperature minimum", "sensor", "temperature", "°C", false},
        {"insideMax", "inside_max", "Inside temperature maximum", "sensor", "temperature", "°C", false},
        {"outsideTemperature", "outside_temperature", "Outside temperature", "sensor", "temperature", "°C", true},
        {"outsideMin", "outside_min", "Outside temperature minimum", "sensor", "temperature", "°C", false},
        {"outsideMax", "outside_max", "Outside temperature maximum", "sensor", "temperature", "°C", false},
        {"wind", "wind", "Wind speed", "sensor", "wind_speed", "km/h", true},
        {"windMax", "wind_max", "Maximum wind speed", "sensor", "wind_speed", "km/h", false},
        {"windFigure", "wind_figure", "Wind figure", nullptr, nullptr, nullptr, false},
        {"humidity", "humidity", "Humidity", "sensor", "humidity", "%", true},
        {"rain", "rain", "Rain", "binary_sensor", "moisture", nullptr, false},
        {"alarm", "alarm", "Alarm", "binary_sensor", "safety", nullptr, false},
    };
    return table;
}

const SensorEntity *sensorEntity(const char *key)
{
    for (const SensorEntity &e : sensorEntities())
        if (std::strcmp(e.key, key) == 0)
            return &e;
    return nullptr;
}

} // namespace vandorelle::bridge
