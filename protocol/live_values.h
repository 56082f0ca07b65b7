#pragma once

#include "protocol/sensor_reading.h"

#include <QString>

#include <array>
#include <cstdint>

namespace vandorelle {

// Sensor readings of the last "skd" answer, as the display texts the tabs show.
// Nothing here is stored in the configuration.
struct LiveValues {
    std::array<int32_t, 16> values{}; // the answer's numbers as they came
    QString luxCurrent;   // value 1
    QString luxMean;      // value 15
    QString insideActual; // e.g. "21,5°" or "    -"
    QString insideMin;    // e.g. "18°" or "  -"
    QString insideMax;
    QString outsideActual;
    QString outsideMin;
    QString outsideMax;
    QString aktWind;      // "12 km/h"
    int windSpeed = 0;    // km/h, drives WindProgressBar (hidden at 0)
    QString maxWind;
    QString alarmStatus;  // "Alarm ausgelöst" / "   Kein Alarm"
    QString regenStatus;  // " Es regnet" / " Kein Regen"
    QString relFeuchte;   // "55 %" or " - "
    SensorReading reading; // the same answer as numbers, for the history
    bool received = false;
};

} // namespace vandorelle
