// Values from files and the line reach the store unchecked and may be any 32-bit number.
// Nothing built from them may overflow; under the sanitizer build an overflow fails the test.

#include "config/config_file.h"
#include "config/schedule_bar.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace vandorelle;

// Saving and loading must not change such a time code either.
TEST(ConfigFileExtremes, TimeCodesAtTheEndsOfTheRangeSurviveSaveAndLoad)
{
    ConfigStore saved;
    saved.entry(1, 1, 1).Zeit = INT32_MIN;
    saved.entry(1, 1, 2).Zeit = INT32_MAX;
    saved.entry(7, 32, 8).Zeit = -5;

    ConfigStore loaded;
    const LoadResult result = readConfigFile(writeConfigFile(saved), loaded);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(loaded.entry(1, 1, 1).Zeit, INT32_MIN);
    EXPECT_EQ(loaded.entry(1, 1, 2).Zeit, INT32_MAX);
    EXPECT_EQ(loaded.entry(7, 32, 8).Zeit, -5);
}

TEST(ConfigFileExtremes, AnHourBeyondTheRangeIsHeldAtItsEndAndSavedAsSuch)
{
    const QByteArray file = "[Schaltzeit_Mo_Motor01_Nr1]\r\nStunde=-99999999\r\nMinute=0\r\nFunktion=Normal\r\n\r\n";
    ConfigStore first;
    ASSERT_TRUE(readConfigFile(file, first).ok);
    EXPECT_EQ(first.entry(1, 1, 1).Zeit, INT32_MIN);

    const QByteArray saved = writeConfigFile(first);
    ConfigStore second;
    ASSERT_TRUE(readConfigFile(saved, second).ok);
    EXPECT_EQ(second, first);
    EXPECT_EQ(writeConfigFile(second), saved);
}

TEST(ScheduleBarExtremes, ATimeFarBeyondTheDayStillGivesAPosition)
{
    EXPECT_EQ(schedule::barX(INT32_MAX, schedule::kDayBar.unit), 954437176);
    EXPECT_EQ(schedule::barX(INT32_MIN, schedule::kDayBar.unit), -954437176);

    ConfigStore store;
    store.entry(1, 1, 1).Zeit = INT32_MAX;
    store.entry(1, 1, 2).Zeit = timeCode(12, 0);
    const schedule::BarSegments bar = schedule::barSegments(store, 0, 0, schedule::kDayBar);
    for (const schedule::BarSegment &segment : bar)
        EXPECT_GE(segment.width, 0);
}
