#include "config/automation_items.h"
#include "config/parameter_banks.h"
#include "config/parameter_items.h"
#include "config/store.h"

#include <gtest/gtest.h>

using namespace vandorelle;

namespace {

TEST(ParameterItems, StartValuesOfTheStoreShowTheirDocumentedTexts)
{
    const Parameters p; // start values
    EXPECT_EQ(parameters::randomSpanItems().at(p.ZufallsZeitspanne), QStringLiteral("± 30 min"));
    EXPECT_EQ(parameters::shadingHysteresisItems().at(p.BeschattungsHysterese), QStringLiteral("10"));
    EXPECT_EQ(parameters::sensorOffsetItems().at(p.Offset_AT), QStringLiteral("0 °C"));
    EXPECT_EQ(parameters::sensorOffsetItems().at(p.Offset_IT), QStringLiteral("0 °C"));
    EXPECT_EQ(parameters::heatingHysteresisItems().at(p.HeizungsHysterese), QStringLiteral("± 0,3 °C"));
}

TEST(ParameterItems, ListsCoverTheirWholeRange)
{
    const QStringList &span = parameters::randomSpanItems();
    ASSERT_EQ(span.size(), 253);
    EXPECT_EQ(span.first(), QStringLiteral("± 2 min"));
    EXPECT_EQ(span.last(), QStringLiteral("± 254 min"));

    const QStringList &hysteresis = parameters::shadingHysteresisItems();
    ASSERT_EQ(hysteresis.size(), 49);
    EXPECT_EQ(hysteresis.first(), QStringLiteral("2"));
    EXPECT_EQ(hysteresis.last(), QStringLiteral("50"));

    const QStringList expectedOffsets{
        QStringLiteral("- 5 °C"), QStringLiteral("- 4 °C"), QStringLiteral("- 3 °C"), QStringLiteral("- 2 °C"),
        QStringLiteral("- 1 °C"), QStringLiteral("0 °C"),   QStringLiteral("+ 1 °C"), QStringLiteral("+ 2 °C"),
        QStringLiteral("+ 3 °C"), QStringLiteral("+ 4 °C"), QStringLiteral("+ 5 °C")};
    EXPECT_EQ(parameters::sensorOffsetItems(), expectedOffsets);

    const QStringList &heating = parameters::heatingHysteresisItems();
    ASSERT_EQ(heating.size(), 9);
    EXPECT_EQ(heating.first(), QStringLiteral("± 0,1 °C"));
    EXPECT_EQ(heating.last(), QStringLiteral("± 0,9 °C"));

    // Item index is the alarm code: 0 up, 1 neutral, 2 down.
    EXPECT_EQ(parameters::alarmItems(), (QStringList{items::kUp, items::kNeutral, items::kDown}));
}

TEST(ParameterBanks, BanksCycleThroughFourAndAddressEightMotorsEach)
{
    EXPECT_EQ(parameters::nextBank(1), 2);
    EXPECT_EQ(parameters::nextBank(3), 4);
    EXPECT_EQ(parameters::nextBank(4), 1);
    EXPECT_EQ(parameters::motorOfRow(1, 1), 0);
    EXPECT_EQ(parameters::motorOfRow(2, 3), 10);
    EXPECT_EQ(parameters::motorOfRow(4, 8), 31);
}

TEST(ParameterBanks, RowTicksAndMasksConvertBothWays)
{
    parameters::BankRows rows{};
    rows[2] = true; // row 3
    EXPECT_EQ(parameters::maskOfRows(rows), 4);
    rows[7] = true; // row 8
    EXPECT_EQ(parameters::maskOfRows(rows), 132);

    for (int mask = 0; mask < 256; ++mask)
        ASSERT_EQ(parameters::maskOfRows(parameters::rowsOfMask(mask)), mask) << mask;

    // Bits beyond the bank's eight rows tick nothing.
    const parameters::BankRows fromWide = parameters::rowsOfMask(0x100 | 0x04);
    EXPECT_EQ(parameters::maskOfRows(fromWide), 4);
    const parameters::BankRows fromNegative = parameters::rowsOfMask(-1);
    EXPECT_EQ(parameters::maskOfRows(fromNegative), 255);
}

} // namespace
