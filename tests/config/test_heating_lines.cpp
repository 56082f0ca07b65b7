#include "config/heating_items.h"
#include "config/heating_lines.h"

#include <gtest/gtest.h>

using namespace vandorelle;

namespace {

const QString kName12 = QStringLiteral("Motor 1     "); // "Motor 1" padded to the name column

TEST(HeatingItems, SetPointScaleRunsFromFourToTwentyNineAndAHalfInTenths)
{
    const QStringList &items = heating::setPointItems();
    ASSERT_EQ(items.size(), 256);
    EXPECT_EQ(items.first(), QStringLiteral("4,0°C"));
    EXPECT_EQ(items.at(170), QStringLiteral("21,0°C"));
    EXPECT_EQ(items.at(140), QStringLiteral("18,0°C"));
    EXPECT_EQ(items.at(59), QStringLiteral("9,9°C"));
    EXPECT_EQ(items.last(), QStringLiteral("29,5°C"));

    // The day box carries one empty item after the scale; it is no temperature.
    const QStringList &day = heating::daySetPointItems();
    ASSERT_EQ(day.size(), 257);
    EXPECT_EQ(day.last(), QString());
    EXPECT_FALSE(heating::isSetPoint(256));
    EXPECT_FALSE(heating::isSetPoint(-1));
    EXPECT_EQ(heating::setPointText(300), QString());
}

TEST(HeatingLines, OffLineIsNameColumnAndAus)
{
    HeizungsRecord r; // start values: off
    EXPECT_EQ(heating::listLine(QStringLiteral("Motor 1"), r), kName12 + QStringLiteral("  AUS"));
    // Long names are cut to the 12-character column, the rest of the line does not move.
    EXPECT_EQ(heating::listLine(QStringLiteral("Wintergarten Süd"), r), QStringLiteral("Wintergarten  AUS"));
}

TEST(HeatingLines, OnLineShowsModeAndBothSetPointsRightAligned)
{
    HeizungsRecord r;
    r.EinAus = 0;
    const QString line = heating::listLine(QStringLiteral("Motor 1"), r);
    EXPECT_EQ(line, kName12 + QStringLiteral("  EIN   Heizbetrieb     21,0°C     18,0°C"));
    // The set-point field is 11 wide: five blanks before a six-character text.
    EXPECT_TRUE(line.contains(QStringLiteral("Heizbetrieb     21,0°C")));

    r.Betriebsart = 1;
    r.TagTemperatur = 0;   // "4,0°C": six blanks
    r.NachtTemperatur = 255;
    EXPECT_EQ(heating::listLine(QStringLiteral("Motor 1"), r),
              kName12 + QStringLiteral("  EIN   Kühlbetrieb      4,0°C     29,5°C"));
}

TEST(HeatingLines, CodesOutsideTheirListsContributeNoText)
{
    HeizungsRecord r;
    r.EinAus = 0;
    r.Betriebsart = 7;
    r.TagTemperatur = 256;
    r.NachtTemperatur = -3;
    // An empty set-point still keeps its 11-character column.
    EXPECT_EQ(heating::listLine(QStringLiteral("Motor 1"), r),
              kName12 + QStringLiteral("  EIN   ") + QString(22, QLatin1Char(' ')));

    r.EinAus = 2; // neither "EIN" nor "AUS"
    EXPECT_EQ(heating::listLine(QStringLiteral("Motor 1"), r), kName12 + QStringLiteral("  "));
}

TEST(HeatingLines, RightAlignmentLeavesLongTextsAlone)
{
    EXPECT_EQ(heating::rightAligned11(QStringLiteral("21,0°C")), QStringLiteral("     21,0°C"));
    EXPECT_EQ(heating::rightAligned11(QString()), QString(11, QLatin1Char(' ')));
    EXPECT_EQ(heating::rightAligned11(QStringLiteral("123456789")), QStringLiteral("  123456789"));
    EXPECT_EQ(heating::rightAligned11(QStringLiteral("1234567890")), QStringLiteral("1234567890"));
}

} // namespace
