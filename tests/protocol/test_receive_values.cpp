#include "protocol/value_list.h"

#include <gtest/gtest.h>

namespace vandorelle {
namespace {

TEST(ReceiveValues, ParseValueListConsumesOnlyCommaTerminatedNumbers)
{
    QString payload = QStringLiteral("5,7");
    ValueList v;
    v.fill(99);
    EXPECT_TRUE(ParseValueList(payload, v));
    EXPECT_EQ(v[0], 5);
    EXPECT_EQ(v[1], 0);
    EXPECT_EQ(v[15], 0);
    EXPECT_EQ(payload, "7");

    QString many;
    for (int i = 1; i <= 18; ++i)
        many += QString::number(i) + u',';
    EXPECT_TRUE(ParseValueList(many, v));
    EXPECT_EQ(v[15], 16);
    EXPECT_EQ(many, "17,18,"); // only sixteen are read
}

TEST(ReceiveValues, NumbersOutsideThirtyTwoBitsOrNotDecimalAreRefused)
{
    EXPECT_EQ(parseInt32(u"2147483647"), 2147483647);
    EXPECT_EQ(parseInt32(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(parseInt32(u" +12 "), 12);
    for (const char16_t *bad : {u"2147483648", u"-2147483649", u"", u"-", u"1.5", u"1,5", u"0x10", u"1e3",
                                u"12345678901", u"٣"})
        EXPECT_FALSE(parseInt32(bad).has_value()) << QString::fromUtf16(bad).toStdString();

    EXPECT_EQ(parseMask32(u"4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(parseMask32(u"-1"), 0xFFFFFFFFu);
    EXPECT_EQ(parseMask32(u"-2147483648"), 0x80000000u);
    EXPECT_FALSE(parseMask32(u"4294967296").has_value());

    QString payload = QStringLiteral("1,x,3,");
    ValueList v;
    EXPECT_FALSE(ParseValueList(payload, v));
    QString empty = QStringLiteral("1,,3,");
    EXPECT_FALSE(ParseValueList(empty, v));
}

TEST(ReceiveValues, ChecksumIsThePlainSumOfTheDataValues)
{
    ValueList v{};
    v[0] = 1, v[1] = 0, v[2] = 122, v[3] = 10, v[4] = 20, v[5] = 244, v[6] = 10, v[7] = 407;
    EXPECT_TRUE(ChecksumOk(v, 7));
    v[7] = 408;
    EXPECT_FALSE(ChecksumOk(v, 7));
    // No 32-bit wrap-around: huge values must not add up to a small check value.
    ValueList big{};
    big[0] = INT32_MAX, big[1] = INT32_MAX, big[2] = -2;
    EXPECT_FALSE(ChecksumOk(big, 2));
    EXPECT_FALSE(ChecksumOk(big, 16));
}

} // namespace
} // namespace vandorelle
