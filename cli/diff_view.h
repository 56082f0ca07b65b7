#pragma once

#include "config/config_compare.h"

#include <QJsonObject>
#include <QStringList>

namespace vandorelle::cli {

// A difference as text: "Beschattungsautomatik, Küche: Grenz-Lux-Wert 140 -> 155"; a changed
// switching-time line as the place, then the old line and the new one under it.
QStringList changeLines(const SettingChange &change);
QJsonObject changeJson(const SettingChange &change);

} // namespace vandorelle::cli
