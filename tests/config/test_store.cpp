#include "config/store.h"

#include <gtest/gtest.h>

using namespace vandorelle;

TEST(ConfigStore, StartValuesAreThoseOfAFreshController)
{
    ConfigStore s;
    for (const auto &e : s.Schaltzeit) {
        EXPECT_EQ(e.Zeit, 0);
        EXPECT_FALSE(e.inUse());
        EXPECT_EQ(e.Dauer, 39);
        EXPECT_EQ(e.Gruppe, 1);
        EXPECT_EQ(e.Funktion, 0);
        EXPECT_EQ(e.Richtung, 0);
    }
    EXPECT_TRUE(s.allPending());
    EXPECT_EQ(s.Beschattung[0].Temperatur, 32);
    EXPECT_EQ(s.Beschattung[31].Helligkeit, 144);
    EXPECT_EQ(s.DaemmerungMorgen[5].Helligkeit, 109);
    EXPECT_EQ(s.Wind[0].Geschwindigkeit, 5);
    EXPECT_EQ(s.HeizungsSteuerung[0].TagTemperatur, 170);
    EXPECT_EQ(s.AussenTemperatursteuerung[0].Richtung, 1);
    EXPECT_EQ(s.AlarmPattern[17], 1);
    EXPECT_EQ(s.GruppenZentralsteuerung[3][3], 0);
    EXPECT_EQ(s.Parameter.ZufallsZeitspanne, 28);
    EXPECT_EQ(s.Parameter.HeizungsHysterese, 2);
    EXPECT_EQ(s.MotorNamen[0], QStringLiteral("Motor 1"));
    EXPECT_EQ(s.MotorNamen[31], QStringLiteral("Motor 32"));
    EXPECT_FALSE(s.SoftGZS);
}

TEST(ConfigStore, ResetUndoesEveryKindOfChange)
{
    ConfigStore s;
    s.entry(3, 5, 2).Zeit = 500;
    s.Regen[4].Richtung = 1;
    s.AlarmPattern[0] = 2;
    s.GruppenZentralsteuerung[1][2] = 0xff;
    s.MotorNamen[7] = QStringLiteral("Küche");
    s.SoftGZS = true;
    s.clearAllPending();
    s.reset();
    EXPECT_EQ(s, ConfigStore());
}

TEST(ConfigStore, FlatIndexIsWeekdayMajor)
{
    EXPECT_EQ(ConfigStore::flatIndex(1, 1, 1), 0);
    EXPECT_EQ(ConfigStore::flatIndex(2, 1, 1), 256);
    EXPECT_EQ(ConfigStore::flatIndex(7, 32, 8), 1791);
    EXPECT_EQ(ConfigStore::flatIndex(1, 2, 1), 8);
    ConfigStore s;
    s.entry(7, 32, 8).Zeit = 1440;
    EXPECT_EQ(s.Schaltzeit[1791].Zeit, 1440);
}

TEST(ConfigStore, TimeCodesCountMinutesFromOne)
{
    EXPECT_EQ(timeCode(0, 0), 1);
    EXPECT_EQ(timeCode(23, 59), 1440);
    EXPECT_EQ(timeCode(-1, 30), 0); // no hour: not in use
    EXPECT_EQ(hourOf(1), 0);
    EXPECT_EQ(minuteOf(1), 0);
    EXPECT_EQ(hourOf(1440), 23);
    EXPECT_EQ(minuteOf(1440), 59);
    for (int code = 1; code <= 1440; ++code)
        ASSERT_EQ(timeCode(hourOf(code), minuteOf(code)), code);
}

TEST(ConfigStore, PendingMarksCoverEveryRecord)
{
    ConfigStore s;
    s.clearAllPending();
    EXPECT_TRUE(s.nonePending());

    s.markPending(MotorTable::FeuchtigkeitsSteuerung, 31);
    s.markSchedulePending(ConfigStore::flatIndex(2, 1, 1));
    EXPECT_EQ(s.pendingCount(), 2);
    EXPECT_EQ(s.FeuchtigkeitsSteuerung[31].Senden, 1);
    EXPECT_EQ(s.Schaltzeit[256].Senden, 1);

    // After a completed send everything is marked again, so the next send sends it all.
    s.markAllPending();
    EXPECT_TRUE(s.allPending());
}
