#include "config/automation_items.h"
#include "config/automation_rules.h"

#include <gtest/gtest.h>

using namespace vandorelle;

namespace {
// Codes of the shading hours: 0 = 05:00 .. 17 = 22:00.
int shadingHour(int hour) { return hour - 5; }
// Codes of the temperature thresholds: 0 = -9° .. 59 = 50°.
int degrees(int d) { return d + 9; }
} // namespace

TEST(AutomationRules, ShadingPeriodKeepsAtLeastOneHour)
{
    // "22:00" as start: 21:00 - 22:00.
    EXPECT_EQ(shadingStartChosen(shadingHour(22), shadingHour(20)), (CodePair{16, 17}));
    // "05:00" as end: 05:00 - 06:00.
    EXPECT_EQ(shadingEndChosen(shadingHour(10), shadingHour(5)), (CodePair{0, 1}));
    // A start at or after the end pushes the end one hour past it, and the reverse.
    EXPECT_EQ(shadingStartChosen(shadingHour(15), shadingHour(12)), (CodePair{10, 11}));
    EXPECT_EQ(shadingStartChosen(shadingHour(12), shadingHour(12)), (CodePair{7, 8}));
    EXPECT_EQ(shadingEndChosen(shadingHour(15), shadingHour(12)), (CodePair{6, 7}));
    EXPECT_EQ(shadingEndChosen(shadingHour(12), shadingHour(12)), (CodePair{6, 7}));
    // An ordered period stays as chosen.
    EXPECT_EQ(shadingStartChosen(3, 9), (CodePair{3, 9}));
    EXPECT_EQ(shadingEndChosen(3, 9), (CodePair{3, 9}));
    EXPECT_EQ(shadingStartChosen(15, 17), (CodePair{15, 17}));
}

TEST(AutomationRules, ActivePeriodMayBeOneHourForTheWholeDay)
{
    EXPECT_EQ(periodStartChosen(10, 8), (CodePair{10, 10}));
    EXPECT_EQ(periodStartChosen(8, 21), (CodePair{8, 21}));
    EXPECT_EQ(periodEndChosen(10, 8), (CodePair{8, 8}));
    EXPECT_EQ(periodEndChosen(8, 8), (CodePair{8, 8}));
}

TEST(AutomationRules, HumidityThresholdsAtTheEndsOfTheScale)
{
    // "F<" (1) and S1 at 99 %: 98 % / 99 %.
    EXPECT_EQ(thresholdOneChosen(98, 40, 1, kHumidityMaxCode), (CodePair{97, 98}));
    // "F>" (0) and S1 at 1 %: 2 % / 1 %.
    EXPECT_EQ(thresholdOneChosen(0, 40, 0, kHumidityMaxCode), (CodePair{1, 0}));
    // "F>" and S2 at 99 %: S2 98 %, S1 99 %.
    EXPECT_EQ(thresholdTwoChosen(50, 98, 0, kHumidityMaxCode), (CodePair{98, 97}));
    // "F<" and S2 at 1 %: S2 2 %, S1 1 %.
    EXPECT_EQ(thresholdTwoChosen(50, 0, 1, kHumidityMaxCode), (CodePair{0, 1}));
    // Inside the scale the partner moves next to the chosen one.
    EXPECT_EQ(thresholdOneChosen(30, 40, 0, kHumidityMaxCode), (CodePair{30, 29}));
    EXPECT_EQ(thresholdTwoChosen(30, 40, 0, kHumidityMaxCode), (CodePair{41, 40}));
    EXPECT_EQ(thresholdOneChosen(40, 30, 1, kHumidityMaxCode), (CodePair{40, 41}));
    EXPECT_EQ(thresholdTwoChosen(40, 30, 1, kHumidityMaxCode), (CodePair{29, 30}));
    // Already in order: nothing moves.
    EXPECT_EQ(thresholdOneChosen(74, 64, 0, kHumidityMaxCode), (CodePair{74, 64}));
    EXPECT_EQ(thresholdTwoChosen(64, 74, 1, kHumidityMaxCode), (CodePair{64, 74}));
}

TEST(AutomationRules, InsideTemperatureThresholds)
{
    // "T<" and threshold 1 at 50°: 49° / 50°.
    EXPECT_EQ(thresholdOneChosen(degrees(50), degrees(20), 1, kTemperatureMaxCode),
              (CodePair{degrees(49), degrees(50)}));
    // "T>" and threshold 1 at -9°: -8° / -9°.
    EXPECT_EQ(thresholdOneChosen(degrees(-9), degrees(20), 0, kTemperatureMaxCode),
              (CodePair{degrees(-8), degrees(-9)}));
    // Switching "T>" to "T<" with 25° and 20° moves threshold 2 to 26°.
    EXPECT_EQ(thresholdOneChosen(degrees(25), degrees(20), 1, kTemperatureMaxCode),
              (CodePair{degrees(25), degrees(26)}));
    EXPECT_EQ(secondComparison(QLatin1Char('T'), 1), QStringLiteral("T>"));
    EXPECT_EQ(secondComparison(QLatin1Char('T'), 0), QStringLiteral("T<"));
}

TEST(AutomationRules, OutsideThresholdOneStaysBelowThresholdTwo)
{
    // Threshold 2 at -9°: threshold 2 -8°, threshold 1 -9°.
    EXPECT_EQ(outsideThresholdTwoChosen(degrees(2), degrees(-9)), (CodePair{degrees(-9), degrees(-8)}));
    EXPECT_EQ(outsideThresholdOneChosen(degrees(50), degrees(5)), (CodePair{degrees(49), degrees(50)}));
    EXPECT_EQ(outsideThresholdOneChosen(degrees(2), degrees(5)), (CodePair{degrees(2), degrees(5)}));
}

TEST(AutomationRules, DerivedDisplays)
{
    EXPECT_EQ(secondComparison(QLatin1Char('F'), 0), QStringLiteral("F<"));
    EXPECT_EQ(secondComparison(QLatin1Char('F'), 1), QStringLiteral("F>"));
    EXPECT_EQ(humiditySecondAction(0, 189), items::kDown);
    EXPECT_EQ(humiditySecondAction(0, 190), items::kNoAction); // continuous run
    EXPECT_EQ(humiditySecondAction(1, 39), items::kNoAction);  // triggered from below
    EXPECT_EQ(oppositeDirection(0), items::kDown);
    EXPECT_EQ(oppositeDirection(1), items::kUp);
    EXPECT_FALSE(oppositeDirection(kOutsideDeactivated).has_value());
}
