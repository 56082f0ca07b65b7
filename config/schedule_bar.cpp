#include "config/schedule_bar.h"

#include "config/schedule_items.h"
#include "config/schedule_rules.h"

#include <algorithm>

namespace vandorelle::schedule {

namespace {
BarState stateOf(const SchaltzeitEntry &e)
{
    return e.Richtung == 0 ? BarState::Up : BarState::Down;
}
} // namespace

BarSegments barSegments(const ConfigStore &store, int weekday, int motor, BarGeometry geometry)
{
    BarSegments seg{};
    if (!validEntry(weekday, motor, 0))
        return seg;
    // Positions follow the raw (possibly negative) widths, so later segments stay where the
    // formula puts them; only the width shown is clipped at 0.
    std::array<int, 9> rawWidth{};
    seg[0].left = geometry.firstLeft;
    int last = -1;
    BarState closing = BarState::Up;
    for (int k = 0; k < kEntries; ++k) {
        BarSegment &label = seg[k];
        BarSegment &next = seg[k + 1];
        const SchaltzeitEntry &e = store.Schaltzeit[slot(weekday, motor, k)];
        if (k >= 1) {
            next.caption = label.caption;
            int sum = 0;
            for (int j = 0; j < k; ++j)
                sum += rawWidth[j];
            label.left = sum;
            // The segment shows the state of the switching its caption names: after an
            // unused number that is the last used one before it, not the unused entry's
            // leftover direction.
            label.state = last >= 0 ? closing : stateOf(store.Schaltzeit[slot(weekday, motor, k - 1)]);
        }
        if (e.Zeit < 1) {
            rawWidth[k] = 0;
        } else {
            rawWidth[k] = barX(e.Zeit, geometry.unit) - label.left;
            next.caption = timeText(e.Zeit);
            last = k;
            closing = stateOf(e);
        }
    }
    rawWidth[8] = 0;
    if (last >= 0) {
        BarSegment &tail = seg[last + 1];
        if (last + 1 == 8)
            tail.left = seg[7].left + rawWidth[7];
        rawWidth[last + 1] = geometry.unit - tail.left;
        tail.state = closing;
    }
    for (int k = 0; k < 9; ++k)
        seg[k].width = std::max(0, rawWidth[k]);
    // The time before the day's first switching continues the state of its last one.
    for (int k = 0; k < 8; ++k) {
        if (seg[k].width >= 1) {
            seg[k].state = closing;
            break;
        }
    }
    return seg;
}

std::array<BarSegments, kWeekdays> weekSegments(const ConfigStore &store, int motor)
{
    std::array<BarSegments, kWeekdays> rows{};
    for (int d = 0; d < kWeekdays; ++d)
        rows[d] = barSegments(store, d, motor, kWeekRow);
    return rows;
}

} // namespace vandorelle::schedule
