#pragma once

#include "config/store.h"

#include <QString>
#include <QStringList>

// Item lists of the heating editor's boxes; a stored code is the index into them.
namespace vandorelle::heating {

constexpr int kSetPointCount = 256; // 4,0 °C .. 29,5 °C in tenths

const QStringList &modeItems();     // "Heizbetrieb", "Kühlbetrieb"
const QStringList &dayNightItems(); // "Tag", "Nacht"
// "4,0°C" .. "29,5°C"; the day box offers one more, empty item after them.
const QStringList &setPointItems();
const QStringList &daySetPointItems();

QString setPointText(int32_t code); // "" outside the scale
bool isSetPoint(int32_t code);

} // namespace vandorelle::heating
