#pragma once

#include <QString>
#include <QStringList>

// Item lists of the parameter tab's boxes; a stored code is the index into them.
namespace vandorelle::parameters {

const QStringList &randomSpanItems();        // "± 2 min" .. "± 254 min"
const QStringList &shadingHysteresisItems(); // "2" .. "50"
const QStringList &sensorOffsetItems();      // "- 5 °C" .. "0 °C" .. "+ 5 °C"
const QStringList &heatingHysteresisItems(); // "± 0,1 °C" .. "± 0,9 °C"
// What a motor does on alarm, as symbol texts: up, neutral, down.
const QStringList &alarmItems();

} // namespace vandorelle::parameters
