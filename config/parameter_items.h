#pragma once

#include "config/store.h"

#include <QString>
#include <QStringList>

#include <vector>

// Item lists of the parameter tab's boxes; a stored code is the index into them.
namespace vandorelle::parameters {

const QStringList &randomSpanItems();        // "± 2 min" .. "± 254 min"
const QStringList &shadingHysteresisItems(); // "2" .. "50"
const QStringList &sensorOffsetItems();      // "- 5 °C" .. "0 °C" .. "+ 5 °C"
const QStringList &heatingHysteresisItems(); // "± 0,1 °C" .. "± 0,9 °C"
// What a motor does on alarm, as symbol texts: up, neutral, down.
const QStringList &alarmItems();

// A global parameter as the tab shows it: the group box it stands in, the caption beside
// its box, the box with its items, and the field the box edits.
struct ParameterSpec {
    const char *group;
    const char *caption;
    const char *control;
    const QStringList &(*items)();
    int32_t Parameters::*field;
    const char *hint;
};
// In the order of the tab.
const std::vector<ParameterSpec> &parameterSpecs();
const ParameterSpec &parameterSpec(const char *control);

inline const QString kAlarmGroupCaption = QStringLiteral("Alarm-Setup");
inline const QString kGroupControlCaption = QStringLiteral("Gruppen-Zentralsteuerung, Soft-GZS");
inline const QString kSoftGzsCaption = QStringLiteral("Soft-GZS aktiv");
QString groupColumnCaption(int group); // "Gruppe 1" .. "Gruppe 4"

} // namespace vandorelle::parameters
