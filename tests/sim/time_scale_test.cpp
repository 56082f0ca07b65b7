#include "sim/controller.h"
#include "support/emulator.h"

#include <gtest/gtest.h>

using namespace vandorelle;
using namespace vandorelle::sim;

// With --time-scale 480 the emulator's clock and weather go through a whole day in three
// minutes of its monotonic time, ticked as the program ticks it.
TEST(SimTimeScale, ADayOfClockAndWeatherPassesInThreeMinutes)
{
    ControllerSettings settings;
    settings.seed = 3;
    settings.timeScale = 480;
    const QDateTime wall(QDate(2026, 6, 21), QTime(0, 0));
    QByteArray last;
    EmulatedController sim(settings, [&](const QByteArray &frame) { last = frame; }, [&] { return wall; }, 0);

    int noonLight = 0, nightLight = 255, windiest = 0, calmest = 999;
    for (qint64 ms = 250; ms <= 180'000; ms += 250) {
        sim.tick(ms);
        if (ms % 1000 != 0)
            continue;
        sim.receive("skd\r", ms);
        const std::vector<long long> v = test::payloadValues(last.mid(9, last.size() - 14));
        ASSERT_EQ(v.size(), 16u);
        const int hour = sim.clock().now(ms).time().hour();
        if (hour == 13)
            noonLight = std::max<int>(noonLight, int(v[0]));
        if (hour == 1)
            nightLight = std::min<int>(nightLight, int(v[0]));
        windiest = std::max<int>(windiest, int(v[9]));
        calmest = std::min<int>(calmest, int(v[9]));
    }
    EXPECT_EQ(sim.clock().now(180'000), wall.addDays(1));
    EXPECT_GT(noonLight, 100);
    EXPECT_EQ(nightLight, 0);
    EXPECT_GT(windiest, calmest + 10); // gusts still come and go
}

TEST(SimTimeScale, OptionTakesWholeFactorsUpToADayAMinute)
{
    test::Emulator emulator;
    EXPECT_FALSE(emulator.start({"--time-scale", "0"}));
    EXPECT_FALSE(emulator.start({"--time-scale", "1441"}));
    EXPECT_FALSE(emulator.start({"--time-scale", "fast"}));
    ASSERT_TRUE(emulator.start({"--time-scale", "480", "--baud", "0",
                                "--state", QStringLiteral(VANDORELLE_SOURCE_DIR "/demo/Musterhaus.vsk")}))
        << qPrintable(emulator.lastError());
    emulator.stop();
    EXPECT_EQ(emulator.exitCode(), 0);
}
