#include "config/free_memory.h"
#include "config/schedule_rules.h"

#include <gtest/gtest.h>

using namespace vandorelle;
using namespace vandorelle::schedule;

namespace {

// Fills `count` single-day entries, weekday-major from the start of the table.
void singleEntries(ConfigStore &s, int count)
{
    for (int i = 0; i < count; ++i) {
        s.Schaltzeit[i].Zeit = 1 + i % 1440;
        s.Schaltzeit[i].Gruppe = 1;
    }
}

} // namespace

TEST(FreeMemory, FiguresAndWarningAtTheLimits)
{
    struct Case {
        int singles;
        int percent;
        bool warning;
    };
    for (const Case c : {Case{0, 100, false}, Case{1, 99, false}, Case{237, 1, false}, Case{238, 0, false},
                         Case{239, 0, false}, Case{240, 0, true}, Case{241, 0, true}, Case{243, -1, true}}) {
        ConfigStore store;
        singleEntries(store, c.singles);
        const FreeMemory m = freeMemory(store);
        EXPECT_EQ(m.percent, c.percent) << c.singles;
        EXPECT_EQ(m.warning, c.warning) << c.singles;
    }
    EXPECT_EQ(freeMemoryText(100), QStringLiteral("Freier Schaltzeiten-Speicher: 100%"));
    EXPECT_EQ(freeMemoryText(-1), QStringLiteral("Freier Schaltzeiten-Speicher: -1%"));
}

TEST(FreeMemory, GroupedEntriesCountOnceForTheWholeGroup)
{
    ConfigStore store;
    storeEntry(store, 0, 3, 0, {0, 100, 39, 0}, GroupChoice::AllWeek);
    EXPECT_EQ(usedShares(store), kSharesPerRecord);
    EXPECT_EQ(freeMemory(store).percent, 99);

    storeEntry(store, 0, 3, 1, {0, 100, 39, 0}, GroupChoice::MondayFriday);
    storeEntry(store, 5, 3, 2, {0, 100, 39, 0}, GroupChoice::SaturdaySunday);
    EXPECT_EQ(usedShares(store), 3 * kSharesPerRecord);
}

TEST(FreeMemory, UnusedEntriesAndUnknownGroupsAddNothing)
{
    ConfigStore store;
    store.Schaltzeit[0].Gruppe = 7;      // no time
    store.Schaltzeit[1].Zeit = 10;
    store.Schaltzeit[1].Gruppe = 3;      // not a group
    store.Schaltzeit[2].Zeit = 10;
    store.Schaltzeit[2].Gruppe = 5;
    EXPECT_EQ(usedShares(store), kSharesPerRecord / 5);
}

TEST(FreeMemory, ThirtyFourFullWeeksAndSixSinglesLeaveNoWarning)
{
    // 34 "Mo - So" records plus 205 singles: 239 records, one free.
    ConfigStore store;
    for (int i = 0; i < 34; ++i)
        storeEntry(store, 0, i / 8, i % 8, {0, 100, 39, 0}, GroupChoice::AllWeek);
    int placed = 0;
    for (int m = 5; m < kMotors && placed < 205; ++m)
        for (int d = 0; d < kWeekdays && placed < 205; ++d)
            for (int n = 0; n < kEntries && placed < 205; ++n, ++placed)
                store.Schaltzeit[slot(d, m, n)].Zeit = 1;
    EXPECT_EQ(usedShares(store), 239 * kSharesPerRecord);
    const FreeMemory memory = freeMemory(store);
    EXPECT_EQ(memory.percent, 0);
    EXPECT_FALSE(memory.warning);
}

TEST(FreeMemory, WholeGroupRecordsCountExactly)
{
    // 48, 60, 72 and 84 whole records leave exactly 80, 75, 70 and 65 %: no percent lost to rounding.
    for (const GroupChoice group : {GroupChoice::MondayFriday, GroupChoice::AllWeek}) {
        for (const int records : {48, 60, 72, 84}) {
            ConfigStore store;
            for (int i = 0; i < records; ++i)
                storeEntry(store, 0, i / 8, i % 8, {0, 100, 39, 0}, group);
            EXPECT_EQ(freeMemory(store).percent, 100 - records * 100 / kMemoryRecords) << records;
        }
    }
}
