#include "config/schedule_bar.h"
#include "config/schedule_rules.h"

#include <gtest/gtest.h>

using namespace vandorelle;
using namespace vandorelle::schedule;

namespace {

void set(ConfigStore &s, int number, int hour, int minute, int richtung, int weekday = 0, int motor = 0)
{
    s.Schaltzeit[slot(weekday, motor, number)].Zeit = timeCode(hour, minute);
    s.Schaltzeit[slot(weekday, motor, number)].Richtung = richtung;
}

int visibleCount(const BarSegments &segs)
{
    int n = 0;
    for (const auto &s : segs) n += s.width > 0;
    return n;
}

} // namespace

TEST(DayBar, OnlyNumberThreeAtSixStretchesTheNextSegmentToTheEnd)
{
    ConfigStore store;
    set(store, 2, 6, 0, 0);
    const BarSegments b = barSegments(store, 0, 0, kDayBar);
    EXPECT_EQ(b[0].left, 5);
    EXPECT_EQ(b[0].width, 0);
    EXPECT_EQ(b[1].width, 0);
    EXPECT_EQ(b[2].left, 0);
    EXPECT_EQ(b[2].width, 160);
    EXPECT_EQ(b[2].state, BarState::Up);
    EXPECT_EQ(b[2].caption, QString());
    EXPECT_EQ(b[3].left, 160);
    EXPECT_EQ(b[3].width, 480);
    EXPECT_EQ(b[3].state, BarState::Up);
    EXPECT_EQ(b[3].caption, QStringLiteral("06:00"));
    EXPECT_EQ(visibleCount(b), 2);
}

TEST(DayBar, NoTimesShowNothing)
{
    ConfigStore store;
    for (const auto &s : barSegments(store, 3, 17, kDayBar))
        EXPECT_EQ(s.width, 0);
}

TEST(DayBar, TheNightBeforeTheFirstSwitchingContinuesTheLastState)
{
    ConfigStore store;
    set(store, 0, 7, 30, 0);  // up
    set(store, 1, 20, 15, 1); // down
    const BarSegments b = barSegments(store, 0, 0, kDayBar);
    const int x1 = timeCode(7, 30) * 640 / 1440;
    const int x2 = timeCode(20, 15) * 640 / 1440;
    EXPECT_EQ(b[0].left, 5);
    EXPECT_EQ(b[0].width, x1 - 5);
    EXPECT_EQ(b[0].state, BarState::Down) << "before 07:30 the motor is still down";
    EXPECT_EQ(b[1].left, x1 - 5);
    EXPECT_EQ(b[1].left + b[1].width, x2);
    EXPECT_EQ(b[1].state, BarState::Up);
    EXPECT_EQ(b[1].caption, QStringLiteral("07:30"));
    EXPECT_EQ(b[2].left, x2);
    EXPECT_EQ(b[2].left + b[2].width, 640);
    EXPECT_EQ(b[2].state, BarState::Down);
    EXPECT_EQ(b[2].caption, QStringLiteral("20:15"));
}

TEST(DayBar, AllEightNumbersUseTheNinthSegmentAsTail)
{
    ConfigStore store;
    for (int n = 0; n < 8; ++n) set(store, n, 2 + 2 * n, 0, n % 2);
    const BarSegments b = barSegments(store, 0, 0, kDayBar);
    EXPECT_EQ(b[8].left, b[7].left + b[7].width);
    EXPECT_EQ(b[8].left + b[8].width, 640);
    EXPECT_EQ(b[8].state, BarState::Down);
    EXPECT_EQ(b[8].caption, QStringLiteral("16:00"));
    EXPECT_EQ(visibleCount(b), 9);
}

TEST(DayBar, TimesOutOfOrderNeverGiveANegativeWidth)
{
    ConfigStore store;
    set(store, 0, 8, 0, 0);
    set(store, 1, 7, 0, 1); // earlier than its predecessor
    set(store, 2, 9, 0, 0);
    set(store, 3, 0, 0, 1); // 00:00 on a later number
    const BarSegments b = barSegments(store, 0, 0, kDayBar);
    for (const auto &s : b) EXPECT_GE(s.width, 0);
    EXPECT_EQ(b[1].width, 0);
    // The next segment starts where the formula puts it, at 07:00, not after the hidden one.
    EXPECT_EQ(b[2].left, barX(timeCode(7, 0), 640));
    EXPECT_EQ(b[2].left + b[2].width, barX(timeCode(9, 0), 640));

    ConfigStore early;
    set(early, 0, 0, 0, 0); // x = 0 lies left of the first segment's edge
    const BarSegments e = barSegments(early, 0, 0, kDayBar);
    EXPECT_EQ(e[0].width, 0);
    EXPECT_EQ(e[1].left, -5);
    EXPECT_EQ(e[1].left + e[1].width, 640);
}

TEST(WeekRows, UseTheNarrowerUnitAndTheirOwnLeftEdge)
{
    ConfigStore store;
    set(store, 0, 12, 0, 1, 2, 5);
    set(store, 0, 6, 0, 0, 6, 5);
    const auto week = weekSegments(store, 5);
    EXPECT_EQ(week[0][0].width, 0);
    EXPECT_EQ(week[2][0].left, 4);
    EXPECT_EQ(week[2][0].width, timeCode(12, 0) * 605 / 1440 - 4);
    EXPECT_EQ(week[2][1].left + week[2][1].width, 605);
    EXPECT_EQ(week[2][1].state, BarState::Down);
    EXPECT_EQ(week[6][1].state, BarState::Up);
    EXPECT_EQ(week[6][1].caption, QStringLiteral("06:00"));
}

TEST(DayBar, AfterAnUnusedNumberTheSegmentKeepsTheLastUsedState)
{
    ConfigStore store;
    set(store, 0, 7, 30, 0);
    set(store, 1, 20, 15, 1);
    store.Schaltzeit[slot(0, 0, 6)].Richtung = 0; // unused, left over from an earlier time
    set(store, 7, 22, 0, 0);
    const BarSegments b = barSegments(store, 0, 0, kDayBar);
    EXPECT_EQ(b[7].left, barX(timeCode(20, 15), 640));
    EXPECT_EQ(b[7].left + b[7].width, barX(timeCode(22, 0), 640));
    EXPECT_EQ(b[7].caption, QStringLiteral("20:15"));
    EXPECT_EQ(b[7].state, BarState::Down);
    EXPECT_EQ(b[8].state, BarState::Up);
}
