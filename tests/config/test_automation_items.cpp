#include "config/automation_items.h"
#include "config/run_time_items.h"

#include <gtest/gtest.h>

using namespace vandorelle;

TEST(RunTimeItems, ScaleOfSecondsThenTensThen999)
{
    const QStringList &l = runTimeItems();
    ASSERT_EQ(l.size(), 190);
    EXPECT_EQ(l.at(0), QStringLiteral("1s"));
    EXPECT_EQ(l.at(98), QStringLiteral("99s"));
    EXPECT_EQ(l.at(99), QStringLiteral("100s"));
    EXPECT_EQ(l.at(100), QStringLiteral("110s"));
    EXPECT_EQ(l.at(188), QStringLiteral("990s"));
    EXPECT_EQ(l.at(189), QStringLiteral("999s"));
    ASSERT_EQ(runTimeItemsWithDauer().size(), 191);
    EXPECT_EQ(runTimeItemsWithDauer().at(190), QStringLiteral("Dauer"));
    EXPECT_EQ(runTimeSeconds(190), -1);
    EXPECT_EQ(runTimeSeconds(-1), -1);
}

TEST(RunTimeItems, RadioScale)
{
    const QStringList &l = radioRunTimeItems();
    ASSERT_EQ(l.size(), 87);
    EXPECT_EQ(l.at(0), QStringLiteral("2s"));
    EXPECT_EQ(l.at(15), QStringLiteral("32s"));
    EXPECT_EQ(l.at(16), QStringLiteral("36s"));
    EXPECT_EQ(l.at(22), QStringLiteral("01:00"));
    EXPECT_EQ(l.at(23), QStringLiteral("01:04"));
    EXPECT_EQ(l.at(69), QStringLiteral("59:44"));
    EXPECT_EQ(l.at(70), QStringLiteral("1:04:00"));
    EXPECT_EQ(l.at(86), QStringLiteral("4:16:00"));
    // Each group of eight ends at twice the value where it began.
    for (int group = 0; group < 8; ++group)
        EXPECT_EQ(radioRunTimeSeconds(23 + 8 * group), 64 << group);
    EXPECT_EQ(radioRunTimeSeconds(86), 15360);
    EXPECT_EQ(radioRunTimeSeconds(87), -1);
    // The same code on the wired scale.
    EXPECT_EQ(pushButtonRunTimeItems(false).at(22), QStringLiteral("23s"));
    EXPECT_EQ(pushButtonRunTimeItems(true).at(22), QStringLiteral("01:00"));
}

TEST(AutomationItems, ListsGeneratedFromTheirRules)
{
    struct Case {
        const QStringList &list;
        qsizetype size;
        const char *first;
        const char *last;
    };
    const Case cases[] = {
        {items::shadingTemperatures(), 46, "-10", "35"},
        {items::shadingHours(), 18, "05:00", "22:00"},
        {items::shadingBrightness(), 156, "100", "255"},
        {items::dawnStarts(), 9, "03:00", "Nr. 3"},
        {items::duskStarts(), 10, "14:00", "Nr. 4"},
        {items::twilightBrightness(), 250, "1", "250"},
        {items::windSpeeds(), 19, "5", "95"},
        {items::humidities(), 99, "1%", "99%"},
        {items::dayHours(), 24, "00:00", "23:00"},
        {items::setPoints(), 50, "1°", "50°"},
        {items::controlBands(), 9, "1°", "9°"},
        {items::positionCounts(), 8, "2", "9"},
        {items::temperatureThresholds(), 60, "-9°", "50°"},
        {items::reverseTimes(), 41, "0,0", "4,0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.first);
        ASSERT_EQ(c.list.size(), c.size);
        EXPECT_EQ(c.list.first(), QString::fromUtf8(c.first));
        EXPECT_EQ(c.list.last(), QString::fromUtf8(c.last));
    }
    EXPECT_EQ(items::dawnStarts().at(7), QStringLiteral("10:00"));
    EXPECT_EQ(items::duskStarts().at(8), QStringLiteral("22:00"));
    EXPECT_EQ(items::reverseTimes().at(4), QStringLiteral("0,4"));
    EXPECT_EQ(items::outsideActions().size(), 3);
    EXPECT_EQ(items::text(items::onOff(), 2), QString());
    EXPECT_EQ(items::text(items::onOff(), -1), QString());
}
