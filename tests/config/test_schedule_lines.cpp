#include "config/schedule_items.h"
#include "config/schedule_lines.h"
#include "config/schedule_rules.h"

#include <gtest/gtest.h>

using namespace vandorelle;
using namespace vandorelle::schedule;

namespace {
const QString kEmptyColumn = QStringLiteral("        |  ");
}

TEST(ScheduleLine, ExampleLineCharacterForCharacter)
{
    ConfigStore store;
    store.Schaltzeit[slot(0, 0, 0)].Zeit = timeCode(7, 30);
    store.Schaltzeit[slot(0, 0, 0)].Richtung = 0;
    store.Schaltzeit[slot(0, 0, 1)].Zeit = timeCode(20, 15);
    store.Schaltzeit[slot(0, 0, 1)].Richtung = 1;

    const QString expected = QStringLiteral("Mo  Motor 1         ")
        + QStringLiteral("07:30 ^ |  ") + QStringLiteral("20:15 v |  ") + kEmptyColumn.repeated(6);
    const QString line = scheduleLine(store, QStringLiteral("Motor 1"), 0, 0);
    EXPECT_EQ(line, expected);
    EXPECT_EQ(line.size(), kLineLength);
    EXPECT_EQ(tagListLine(store, 0), expected);
    EXPECT_EQ(motorListLine(store, 0), expected);
}

TEST(ScheduleLine, NamesAreCutOrPaddedSoTheTimesStartAtColumn21)
{
    ConfigStore store;
    store.Schaltzeit[slot(6, 31, 7)].Zeit = 1440;
    store.Schaltzeit[slot(6, 31, 7)].Richtung = 1;
    for (const QString &name : {QStringLiteral("Wohnzimmer Süd-West"), QStringLiteral("123456789012"),
                               QStringLiteral("Bad"), QString()}) {
        const QString line = scheduleLine(store, name, 6, 31);
        ASSERT_EQ(line.size(), kLineLength) << name.toStdString();
        EXPECT_EQ(line.left(4), QStringLiteral("So  "));
        EXPECT_EQ(line.mid(4, 12), (name + QString(12, QLatin1Char(' '))).left(12)) << name.toStdString();
        EXPECT_EQ(line.mid(16, 4), QStringLiteral("    "));
        EXPECT_EQ(line.mid(20, 11), kEmptyColumn);
        EXPECT_EQ(line.right(11), QStringLiteral("23:59 v |  "));
    }
}

TEST(ScheduleLine, AMotorWithoutTimesShowsEightEmptyColumns)
{
    ConfigStore store;
    EXPECT_EQ(scheduleLine(store, QStringLiteral("Motor 32"), 3, 31),
              QStringLiteral("Do  Motor 32        ") + kEmptyColumn.repeated(8));
}

TEST(ScheduleLine, CodesOutsideTheListsKeepTheColumns)
{
    ConfigStore store;
    store.Schaltzeit[slot(0, 0, 0)] = {7, 5000, 900, 9, 9, 1};
    store.Schaltzeit[slot(0, 0, 1)] = {-1, -3, 0, 1, 0, 1};
    const QString line = scheduleLine(store, QStringLiteral("Motor 1"), 0, 0);
    ASSERT_EQ(line.size(), kLineLength);
    EXPECT_EQ(line.mid(20, 22), QStringLiteral("--:-- v |  --:-- v |  "));
}

TEST(ListContents, SeparatorsSitWhereTheListsExpectThem)
{
    ConfigStore store;
    store.MotorNamen[2] = QStringLiteral("Küche");
    EXPECT_EQ(separatorLine().size(), kSeparatorLength);
    EXPECT_EQ(separatorLine(),
              QString(28, QLatin1Char('-')) + (QLatin1Char('+') + QString(10, QLatin1Char('-'))).repeated(6)
                  + QLatin1Char('+') + QString(9, QLatin1Char('-')));
    EXPECT_EQ(tagListLine(store, 32), separatorLine());
    EXPECT_EQ(tagListLine(store, 33).left(16), QStringLiteral("Di  Motor 1     "));
    EXPECT_EQ(tagListLine(store, 33 + 2).left(16), QStringLiteral("Di  Küche       "));
    EXPECT_EQ(tagListLine(store, 229).left(16), QStringLiteral("So  Motor 32    "));
    EXPECT_EQ(motorListLine(store, 7), separatorLine());
    EXPECT_EQ(motorListLine(store, 16 + 5).left(16), QStringLiteral("Sa  Küche       "));
    EXPECT_EQ(motorListLine(store, 254).left(16), QStringLiteral("So  Motor 32    "));
}

TEST(ListContents, InitialLinesBeforeTheFirstDrawing)
{
    EXPECT_EQ(initialTagListLine(0), QStringLiteral("Mo  Motor 1 "));
    EXPECT_EQ(initialTagListLine(1), QStringLiteral("Mo  Motor 2"));
    EXPECT_EQ(initialTagListLine(32), QString(104, QLatin1Char('-')));
    EXPECT_EQ(initialTagListLine(33), QStringLiteral("Di  Motor 1 "));
    EXPECT_EQ(initialTagListLine(229), QStringLiteral("So  Motor 32"));
    EXPECT_EQ(initialMotorListLine(0), QStringLiteral("Mo  Motor 1"));
    EXPECT_EQ(initialMotorListLine(1), QStringLiteral("Di  Motor 1"));
    EXPECT_EQ(initialMotorListLine(7), QString(104, QLatin1Char('-')));
    EXPECT_EQ(initialMotorListLine(8), QStringLiteral("Mo  Motor 2"));
}

TEST(ItemLists, GeneratedListsHaveTheirSizesAndEnds)
{
    const QStringList &times = timeItems();
    ASSERT_EQ(times.size(), 1441);
    EXPECT_EQ(times.at(0), QStringLiteral("     "));
    EXPECT_EQ(times.at(1), QStringLiteral("00:00"));
    EXPECT_EQ(times.at(timeCode(7, 30)), QStringLiteral("07:30"));
    EXPECT_EQ(times.at(1440), QStringLiteral("23:59"));

    const QStringList &durations = durationItems();
    ASSERT_EQ(durations.size(), 127);
    EXPECT_EQ(durations.at(0), QStringLiteral("0s"));
    EXPECT_EQ(durations.at(39), QStringLiteral("39s"));
    EXPECT_EQ(durations.at(99), QStringLiteral("99s"));
    EXPECT_EQ(durations.at(100), QStringLiteral("100"));
    EXPECT_EQ(durations.at(101), QStringLiteral("110"));
    EXPECT_EQ(durations.at(125), QStringLiteral("350"));
    EXPECT_EQ(durations.at(126), QStringLiteral("Dau"));

    EXPECT_EQ(numberItems().size(), 9);
    EXPECT_EQ(numberItems().last(), QStringLiteral(" "));
    EXPECT_EQ(groupItems(0), (QStringList{"-", "Mo - Fr", "Mo - So"}));
    EXPECT_EQ(groupItems(4), (QStringList{"-", "Mo - Fr", "Mo - So"}));
    EXPECT_EQ(groupItems(5), (QStringList{"-", "Sa - So", "Mo - So"}));
    EXPECT_EQ(groupItems(6), (QStringList{"-", "Sa - So", "Mo - So"}));
}
