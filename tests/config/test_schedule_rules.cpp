#include "config/schedule_rules.h"

#include <gtest/gtest.h>

using namespace vandorelle;
using namespace vandorelle::schedule;

namespace {

enum Day { Mo, Di, Mi, Do, Fr, Sa, So };
constexpr int kMotor = 4;
constexpr int kNumber = 2;

SchaltzeitEntry &at(ConfigStore &s, int day, int motor = kMotor, int number = kNumber)
{
    return s.Schaltzeit[slot(day, motor, number)];
}

EntryValues values(int32_t zeit, int32_t richtung = 1, int32_t dauer = 12, int32_t funktion = 2)
{
    return {richtung, zeit, dauer, funktion};
}

class StoreRules : public ::testing::Test {
protected:
    StoreRules() { store.clearAllPending(); }
    ConfigStore store;
};

} // namespace

TEST_F(StoreRules, MondayToFridayOnWednesdayWritesTheWorkdaysAndShrinksAllWeekOnTheWeekend)
{
    at(store, Sa) = {0, 100, 39, 7, 0, 0};
    at(store, So) = {0, 200, 39, 1, 0, 0};
    ASSERT_TRUE(storeEntry(store, Mi, kMotor, kNumber, values(451), GroupChoice::MondayFriday));
    for (int d = Mo; d <= Fr; ++d) {
        EXPECT_EQ(at(store, d), (SchaltzeitEntry{1, 451, 12, 5, 2, 1})) << "day " << d;
    }
    // Saturday was part of "Mo - So" and keeps its time as "Sa - So"; Sunday is untouched.
    EXPECT_EQ(at(store, Sa), (SchaltzeitEntry{0, 100, 39, 2, 0, 0}));
    EXPECT_EQ(at(store, So), (SchaltzeitEntry{0, 200, 39, 1, 0, 0}));
    // Other numbers and motors are never touched.
    EXPECT_EQ(at(store, Mi, kMotor, kNumber + 1).Zeit, 0);
    EXPECT_EQ(at(store, Mi, kMotor + 1, kNumber).Zeit, 0);
}

TEST_F(StoreRules, SingleDayOnTuesdayLeavesTheOtherWorkdaysAsSingleEntries)
{
    storeEntry(store, Mo, kMotor, kNumber, values(500, 0), GroupChoice::MondayFriday);
    for (auto &e : store.Schaltzeit) e.Senden = 0;
    ASSERT_TRUE(storeEntry(store, Di, kMotor, kNumber, values(700, 1), GroupChoice::Single));
    EXPECT_EQ(at(store, Di), (SchaltzeitEntry{1, 700, 12, 1, 2, 1}));
    for (int d : {Mo, Mi, Do, Fr}) {
        EXPECT_EQ(at(store, d).Zeit, 500) << d;
        EXPECT_EQ(at(store, d).Richtung, 0) << d;
        EXPECT_EQ(at(store, d).Gruppe, 1) << d;
        EXPECT_EQ(at(store, d).Senden, 0) << "only the edited day is marked, day " << d;
    }
}

TEST_F(StoreRules, AllWeekEditedOnSaturdayRewritesEveryDay)
{
    storeEntry(store, Mo, kMotor, kNumber, values(300), GroupChoice::AllWeek);
    ASSERT_TRUE(storeEntry(store, Sa, kMotor, kNumber, values(1440, 0, 126, 1), GroupChoice::AllWeek));
    for (int d = Mo; d <= So; ++d)
        EXPECT_EQ(at(store, d), (SchaltzeitEntry{0, 1440, 126, 7, 1, 1})) << d;
}

TEST_F(StoreRules, BreakingAllWeekKeepsTheOtherHalfOfTheWeekGrouped)
{
    storeEntry(store, Mo, kMotor, kNumber, values(300), GroupChoice::AllWeek);
    storeEntry(store, So, kMotor, kNumber, values(900), GroupChoice::Single);
    for (int d = Mo; d <= Fr; ++d)
        EXPECT_EQ(at(store, d).Gruppe, 5) << d;
    EXPECT_EQ(at(store, Sa).Gruppe, 1);
    EXPECT_EQ(at(store, Sa).Zeit, 300);
    EXPECT_EQ(at(store, So), (SchaltzeitEntry{1, 900, 12, 1, 2, 1}));

    storeEntry(store, Mo, kMotor, kNumber + 1, values(300), GroupChoice::AllWeek);
    storeEntry(store, Mi, kMotor, kNumber + 1, values(60), GroupChoice::Single);
    EXPECT_EQ(at(store, Sa, kMotor, kNumber + 1).Gruppe, 2);
    EXPECT_EQ(at(store, So, kMotor, kNumber + 1).Gruppe, 2);
    EXPECT_EQ(at(store, Fr, kMotor, kNumber + 1).Gruppe, 1);
}

TEST_F(StoreRules, SaturdaySundayShrinksAllWeekOnWorkdays)
{
    storeEntry(store, Mo, kMotor, kNumber, values(300), GroupChoice::AllWeek);
    storeEntry(store, Sa, kMotor, kNumber, values(400), GroupChoice::SaturdaySunday);
    EXPECT_EQ(at(store, So), (SchaltzeitEntry{1, 400, 12, 2, 2, 1}));
    EXPECT_EQ(at(store, Di).Gruppe, 5);
    EXPECT_EQ(at(store, Di).Zeit, 300);
}

TEST_F(StoreRules, DeletingAGroupedEntryEmptiesEveryMemberDay)
{
    storeEntry(store, Mo, kMotor, kNumber, values(300), GroupChoice::AllWeek);
    storeEntry(store, Do, kMotor, kNumber, values(0), GroupChoice::AllWeek);
    for (int d = Mo; d <= So; ++d)
        EXPECT_FALSE(at(store, d).inUse()) << d;
}

TEST_F(StoreRules, NothingIsWrittenWithoutGroupOrOutsideTheTable)
{
    const ConfigStore before = store;
    EXPECT_FALSE(storeEntry(store, Mo, kMotor, kNumber, values(300), groupChoice(QString())));
    EXPECT_FALSE(storeEntry(store, Mo, kMotor, 8, values(300), GroupChoice::Single));
    EXPECT_FALSE(storeEntry(store, Mo, -1, kNumber, values(300), GroupChoice::Single));
    EXPECT_FALSE(storeEntry(store, 7, kMotor, kNumber, values(300), GroupChoice::Single));
    EXPECT_EQ(store, before);
}

TEST(GroupItems, SelectorsShowAnyOtherGroupAsTheMiddleItemListClicksOnlyTheDaysOwn)
{
    EXPECT_EQ(groupItemForSelectors(1), 0);
    EXPECT_EQ(groupItemForSelectors(5), 1);
    EXPECT_EQ(groupItemForSelectors(2), 1);
    EXPECT_EQ(groupItemForSelectors(3), 1);
    EXPECT_EQ(groupItemForSelectors(7), 2);

    EXPECT_EQ(groupItemForListClick(5, Mo), 1);
    EXPECT_EQ(groupItemForListClick(5, Sa), -1);
    EXPECT_EQ(groupItemForListClick(2, So), 1);
    EXPECT_EQ(groupItemForListClick(2, Fr), -1);
    EXPECT_EQ(groupItemForListClick(7, Sa), 2);
    EXPECT_EQ(groupItemForListClick(1, Sa), 0);
    EXPECT_EQ(groupItemForListClick(0, Mo), -1);
}

TEST(ClickPosition, EightColumnsAfterTheNameShare)
{
    // W = 800: name width round(184.0) = 184, columns of 616 / 8 = 77 pixels.
    EXPECT_EQ(numberFromClick(184, 800, true).number, 0);
    EXPECT_EQ(numberFromClick(184, 800, true).shiftedX, 0);
    EXPECT_EQ(numberFromClick(184 + 77, 800, true).number, 1);
    EXPECT_EQ(numberFromClick(184 + 7 * 77, 800, true).number, 7);
    EXPECT_EQ(numberFromClick(800, 800, true).number, 7) << "clamped to the last number";
    EXPECT_EQ(numberFromClick(10, 800, true).number, 0) << "inside the name: first number";
    EXPECT_EQ(numberFromClick(10, 800, true).shiftedX, 10 - 184);
}

TEST(ClickPosition, HalvesGoToTheEvenNeighbour)
{
    // Four columns, W = 40: name width 16, columns of 6 pixels.
    EXPECT_EQ(numberFromClick(16 + 3, 40, false).number, 0);  // 0.5
    EXPECT_EQ(numberFromClick(16 + 9, 40, false).number, 2);  // 1.5
    EXPECT_EQ(numberFromClick(16 + 15, 40, false).number, 2); // 2.5
    EXPECT_EQ(numberFromClick(16 + 21, 40, false).number, 3); // 3.5 -> 4, clamped
    // The name width rounds the same way: 0.23 * 50 = 11.5 -> 12, 0.23 * 150 = 34.5 -> 34.
    EXPECT_EQ(numberFromClick(0, 50, true).shiftedX, -12);
    EXPECT_EQ(numberFromClick(0, 150, true).shiftedX, -34);
}

TEST(ClickPosition, FourNumbersOnSmallModelsAndNoCrashOnAnEmptyList)
{
    EXPECT_EQ(numberFromClick(447, 447, false).number, 3);
    EXPECT_EQ(numberFromClick(300, 447, false).number, 2);
    EXPECT_EQ(numberFromClick(50, 0, true).number, 0);
}

TEST(ListLines, SeparatorClicksSelectTheLineBelow)
{
    EXPECT_EQ(tagListSelection(32).line, 33);
    EXPECT_EQ(tagListSelection(32).weekday, Di);
    EXPECT_EQ(tagListSelection(32).motor, 0);
    EXPECT_EQ(tagListSelection(229).weekday, So);
    EXPECT_EQ(tagListSelection(229).motor, 31);
    EXPECT_EQ(tagListSelection(100).weekday, 3);
    EXPECT_EQ(tagListSelection(100).motor, 1);

    EXPECT_EQ(motorListSelection(7).line, 8);
    EXPECT_EQ(motorListSelection(7).motor, 1);
    EXPECT_EQ(motorListSelection(7).weekday, Mo);
    EXPECT_EQ(motorListSelection(247).line, 248);
    EXPECT_EQ(motorListSelection(254).motor, 31);
    EXPECT_EQ(motorListSelection(254).weekday, So);

    int separators = 0;
    for (int i = 0; i < kTagListLines; ++i) separators += isTagSeparator(i);
    EXPECT_EQ(separators, 6);
    separators = 0;
    for (int j = 0; j < kMotorListLines; ++j) separators += isMotorSeparator(j);
    EXPECT_EQ(separators, 31);
}

TEST(CopyMotor, ReplacesAllFiftySixEntriesAndMarksThem)
{
    ConfigStore store;
    store.clearAllPending();
    for (int d = 0; d < kWeekdays; ++d) {
        at(store, d, 0, 0) = {1, 100 + d, 5, 1, 1, 0};
        at(store, d, 1, 3) = {0, 999, 39, 1, 0, 0}; // overwritten by an empty source entry
    }
    at(store, Sa, 0, 7) = {0, 1300, 126, 2, 2, 0};
    const ConfigStore before = store;

    ASSERT_TRUE(copyMotor(store, 0, 1));
    int marked = 0;
    for (int d = 0; d < kWeekdays; ++d) {
        for (int n = 0; n < kEntries; ++n) {
            SchaltzeitEntry expected = at(store, d, 0, n);
            expected.Senden = 1;
            EXPECT_EQ(at(store, d, 1, n), expected) << d << "/" << n;
            marked += at(store, d, 1, n).Senden;
            EXPECT_EQ(at(store, d, 0, n), before.Schaltzeit[slot(d, 0, n)]) << "source untouched";
        }
    }
    EXPECT_EQ(marked, 56);
    EXPECT_EQ(at(store, Mo, 2, 0), before.Schaltzeit[slot(Mo, 2, 0)]);
}

TEST(CopyMotor, OutOfRangeTargetCopiesNothing)
{
    ConfigStore store;
    at(store, Mo, 0, 0).Zeit = 5;
    const ConfigStore before = store;
    EXPECT_FALSE(copyMotor(store, 0, 32));
    EXPECT_FALSE(copyMotor(store, 0, -1));
    EXPECT_FALSE(copyMotor(store, -1, 3));
    EXPECT_EQ(store, before);
}
