#pragma once

#include "protocol/sensor_reading.h"

#include <QString>

#include <vector>

namespace vandorelle {

// What the history window can show, in the order of its choice.
enum class Quantity { Helligkeit, Wind, Luftfeuchtigkeit, Temperatur };
constexpr int kQuantities = 4;

struct QuantitySeries {
    SensorChannel channel;
    QString label; // "Innentemperatur"
};

struct QuantityInfo {
    QString name; // the window's choice: "Temperatur"
    QString unit; // "°C"
    std::vector<QuantitySeries> series;
    bool fromZero; // the axis starts at 0 (nothing below is possible)

    QString axisTitle() const { return name + QStringLiteral(" (") + unit + u')'; }
};

const QuantityInfo &quantityInfo(Quantity q);

} // namespace vandorelle
