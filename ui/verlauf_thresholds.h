#pragma once

#include "protocol/sensor_quantities.h"

#include <QColor>
#include <QString>

#include <vector>

namespace vandorelle {

class TQuorvix;

// A threshold of the motor an editor shows, drawn as a horizontal line.
struct ThresholdLine {
    double value = 0;
    QString caption; // "Beschattung Küche: 140 Lux"
    QColor colour;
};

// The thresholds that compare with the quantity: those of the motors chosen in the
// editors of its tab, where that motor has the function switched on.
std::vector<ThresholdLine> thresholdLines(TQuorvix &w, Quantity quantity);

} // namespace vandorelle
