#pragma once

#include "config/store.h"

#include <QString>

#include <array>

// Segments of a day bar: nine segments in a fixed unit width (640 for the day bar of the
// schedule page, 605 for a row of the heating week overview), each coloured by the state
// (up or down) in force from its start, captioned with its start time.
namespace vandorelle::schedule {

enum class BarState { Up, Down };

struct BarSegment {
    int left = 0;
    int width = 0;      // never negative; 0 = not shown
    BarState state = BarState::Up;
    QString caption;
    bool operator==(const BarSegment &) const = default;
};

struct BarGeometry {
    int unit;      // pixels for 1440 minutes
    int firstLeft; // left edge of the first segment
};
constexpr BarGeometry kDayBar{640, 5};
constexpr BarGeometry kWeekRow{605, 4};

using BarSegments = std::array<BarSegment, 9>;

// x(t) = t * unit div 1440, integer arithmetic; the product in 64 bits, as a time code from a
// file or the line may be any 32-bit value.
constexpr int barX(int32_t zeit, int unit) { return int(int64_t(zeit) * unit / 1440); }

// Entries are taken in number order, not sorted by time: a later number with an earlier
// time overlaps its predecessor rather than running backwards.
BarSegments barSegments(const ConfigStore &store, int weekday, int motor, BarGeometry geometry);

// The seven rows (Monday first) of the heating week overview of one motor.
std::array<BarSegments, kWeekdays> weekSegments(const ConfigStore &store, int motor);

} // namespace vandorelle::schedule
