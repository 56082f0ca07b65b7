// Values from the line reach the store unchecked and may be any 32-bit number. Nothing built
// from them may overflow; under the sanitizer build an overflow fails the test.

#include "config/config_file.h"
#include "config/schedule_bar.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace vandorelle;

// Saved without overflow, and refused when loaded: no controller can hold such a time.
TEST(ConfigFileExtremes, TimeCodesNoControllerCanHoldAreSavedButNotLoaded)
{
    ConfigStore saved;
    saved.entry(1, 1, 1).Zeit = INT32_MIN;
    saved.entry(1, 1, 2).Zeit = INT32_MAX;
    const QByteArray file = writeConfigFile(saved);
    EXPECT_TRUE(file.contains("[Schaltzeit_Mo_Motor01_Nr1]\r\nRichtung=Auf\r\nStunde=-35791394\r\nMinute=-9\r\n"));
    EXPECT_TRUE(file.contains("[Schaltzeit_Mo_Motor01_Nr2]\r\nRichtung=Auf\r\nStunde=35791394\r\nMinute=6\r\n"));

    ConfigStore loaded;
    loaded.clearAllPending();
    const LoadResult result = readConfigFile(file, loaded);
    EXPECT_EQ(result.status, LoadResult::Status::OutOfRange);
    EXPECT_EQ(result.message, QStringLiteral("Wert '-35791394' außerhalb des gültigen Bereichs (Zeile 37)"));
    EXPECT_TRUE(loaded.nonePending());

    const QByteArray beyond = "[Schaltzeit_Mo_Motor01_Nr1]\r\nStunde=-99999999\r\nMinute=0\r\nFunktion=Normal\r\n\r\n";
    EXPECT_EQ(readConfigFile(beyond, loaded).line, 2);
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
