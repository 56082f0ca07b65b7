#pragma once

#include "config/store.h"

#include <QString>

// Text lines of the two schedule lists: one line per weekday and motor with all eight
// switching times, in fixed columns under the list headings.
namespace vandorelle::schedule {

constexpr int kLineLength = 108;     // 20 prefix + 8 columns of 11
constexpr int kSeparatorLength = 104;

// Weekday, two blanks and the name in a 16-character field, then four blanks; then per
// number the time text, a blank and "^ |  " (up), "v |  " (down) or "  |  " (no time).
QString scheduleLine(const ConfigStore &store, const QString &motorName, int weekday, int motor);
const QString &separatorLine();

// Line i of the list sorted by weekday (230 lines) and j of the one sorted by motor (255),
// with the motor names of the store.
QString tagListLine(const ConfigStore &store, int line);
QString motorListLine(const ConfigStore &store, int line);

// What the lists show from start-up until they are first drawn.
QString initialTagListLine(int line);
QString initialMotorListLine(int line);

} // namespace vandorelle::schedule
