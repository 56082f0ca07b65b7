#include "config/automation_lines.h"

#include <gtest/gtest.h>

using namespace vandorelle;

namespace {

const QString kName = QStringLiteral("Motor 1     "); // the name column of "Motor 1"

QString sp(int n) { return QString(n, QLatin1Char(' ')); }

// 1-based, inclusive columns as the overview lines are described.
QString columns(const QString &line, int first, int last) { return line.mid(first - 1, last - first + 1); }

} // namespace

TEST(AutomationLines, NameColumnIsPaddedOrCutToTwelve)
{
    EXPECT_EQ(nameColumn(QStringLiteral("Motor 1")), kName);
    EXPECT_EQ(nameColumn(QStringLiteral("Wohnzimmer links")), QStringLiteral("Wohnzimmer l"));
    EXPECT_EQ(nameColumn(QStringLiteral("Bad")).size(), 12);
    EXPECT_EQ(nameColumn(QString()), sp(11)); // nothing to pad but the 11 blanks
}

TEST(AutomationLines, LineOfAMotorThatIsOffEndsAfterTheOnOffText)
{
    const QString off = kName + sp(2) + QStringLiteral("AUS");
    EXPECT_EQ(shadingLine(QStringLiteral("Motor 1"), BeschattungRecord{}), off);
    EXPECT_EQ(dawnLine(QStringLiteral("Motor 1"), DaemmerungRecord{}), off);
    EXPECT_EQ(humidityLine(QStringLiteral("Motor 1"), FeuchtigkeitsRecord{}), off);
    EXPECT_EQ(insideLine(QStringLiteral("Motor 1"), InnenTemperaturRecord{}), off);
    EXPECT_EQ(outsideLine(QStringLiteral("Motor 1"), AussenTemperaturRecord{}), off);
    EXPECT_EQ(proportionalLine(QStringLiteral("Motor 1"), ProportionaleTemperaturRecord{}), off);
    // These keep their gap after "AUS" so the columns of lines that are on stay put.
    EXPECT_EQ(windLine(QStringLiteral("Motor 1"), WindRecord{}, RegenRecord{}), off + sp(4));
    EXPECT_EQ(rainLine(QStringLiteral("Motor 1"), RegenRecord{}), off + sp(6));
    EXPECT_EQ(pushButtonLine(QStringLiteral("Motor 1"), TastAutomatikRecord{}, false), off + sp(6));
    EXPECT_EQ(reversingLine(QStringLiteral("Motor 1"), ReversierungRecord{}), off + sp(6));
}

TEST(AutomationLines, ShadingColumns)
{
    BeschattungRecord r; // 22 °C, 10:00 - 20:00, 244, 10s
    r.EinAus = 0;
    const QString line = shadingLine(QStringLiteral("Motor 1"), r);
    EXPECT_EQ(line, kName + QStringLiteral("  EIN  22°C  10:00 - 20:00  244      10s"));
    EXPECT_EQ(columns(line, 15, 17), QStringLiteral("EIN"));
    EXPECT_EQ(columns(line, 26, 30), QStringLiteral("10:00"));
    EXPECT_EQ(columns(line, 34, 38), QStringLiteral("20:00"));
    EXPECT_EQ(columns(line, 41, 43), QStringLiteral("244"));
    EXPECT_EQ(line.mid(49), QStringLiteral("10s"));

    r.Temperatur = 0;
    EXPECT_EQ(columns(shadingLine(QStringLiteral("Motor 1"), r), 18, 25), QStringLiteral(" -10°C  "));
    r.Temperatur = 10;
    EXPECT_EQ(columns(shadingLine(QStringLiteral("Motor 1"), r), 18, 25), QStringLiteral("   0°C  "));
    r.Temperatur = 45;
    EXPECT_EQ(columns(shadingLine(QStringLiteral("Motor 1"), r), 18, 25), QStringLiteral("  35°C  "));
    // A code from outside the list shows nothing but keeps the blanks.
    r.Temperatur = 46;
    EXPECT_EQ(columns(shadingLine(QStringLiteral("Motor 1"), r), 18, 25), QStringLiteral("    °C  "));
}

TEST(AutomationLines, DawnAndDuskDifferInTheGapBeforeTheStart)
{
    DaemmerungRecord r;
    r.EinAus = 0;
    EXPECT_EQ(dawnLine(QStringLiteral("Motor 1"), r), kName + QStringLiteral("  EIN    08:00   110      40s"));
    EXPECT_EQ(duskLine(QStringLiteral("Motor 1"), r), kName + QStringLiteral("  EIN   19:00   110      40s"));
    r.Von = 8;
    r.Helligkeit = 0;
    r.Dauer = 190;
    EXPECT_EQ(dawnLine(QStringLiteral("Motor 1"), r), kName + QStringLiteral("  EIN    Nr. 3   1      Dauer"));
    r.Von = 9;
    EXPECT_EQ(duskLine(QStringLiteral("Motor 1"), r), kName + QStringLiteral("  EIN   Nr. 4   1      Dauer"));
}

TEST(AutomationLines, WindLineShowsTheDirectionOfTheRainRecord)
{
    WindRecord wind;
    wind.EinAus = 0;
    wind.Geschwindigkeit = 7; // 40 km/h
    RegenRecord rain;
    EXPECT_EQ(windLine(QStringLiteral("Motor 1"), wind, rain),
              kName + QStringLiteral("  EIN    40km/h    ^"));
    rain.Richtung = 1;
    EXPECT_TRUE(windLine(QStringLiteral("Motor 1"), wind, rain).endsWith(QStringLiteral("km/h    v")));

    rain.EinAus = 0;
    EXPECT_EQ(rainLine(QStringLiteral("Motor 1"), rain), kName + QStringLiteral("  EIN      v"));
    rain.Richtung = 0;
    EXPECT_EQ(rainLine(QStringLiteral("Motor 1"), rain), kName + QStringLiteral("  EIN      ^"));
}

TEST(AutomationLines, HumidityExamplePieceByPiece)
{
    FeuchtigkeitsRecord r; // 08:00 - 21:00, "F>", 40 s
    r.EinAus = 0;
    r.Schwelle1 = 74; // 75 %
    r.Schwelle2 = 64; // 65 %
    const QString expected = kName + sp(2) + "EIN" + sp(2) + "08:00" + " - " + "21:00" + sp(2) + "F>"
                             + sp(1) + "75%" + "^" + sp(4) + "F" + "<" + sp(1) + "65%" + "v" + sp(1)
                             + sp(3) + "40s";
    EXPECT_EQ(humidityLine(QStringLiteral("Motor 1"), r), expected);
}

TEST(AutomationLines, HumidityVariants)
{
    FeuchtigkeitsRecord r;
    r.EinAus = 0;
    r.Schwelle2 = 64; // 65 %
    r.Von = r.Bis = 6;
    r.Schwelle1 = 4; // "5%"
    const QString line = humidityLine(QStringLiteral("Motor 1"), r);
    EXPECT_EQ(line.mid(17, 15), QStringLiteral("    ganztägig  "));
    EXPECT_TRUE(line.contains(QStringLiteral("F> 5%^    F< 65%v ")));
    // A code outside the list shows nothing; the blank for short texts keeps the column.
    r.Schwelle1 = 99;
    EXPECT_TRUE(humidityLine(QStringLiteral("Motor 1"), r).contains(QStringLiteral("F>  ^    F< 65%v ")));
    r.Schwelle1 = 74;

    // Continuous run has no closing action; neither has a trigger from below.
    r.Dauer = 190;
    EXPECT_TRUE(humidityLine(QStringLiteral("Motor 1"), r).endsWith(QStringLiteral("65%-  Dauer")));
    r.Dauer = 39;
    r.Gr_Kl = 1;
    EXPECT_TRUE(humidityLine(QStringLiteral("Motor 1"), r).endsWith(QStringLiteral("F> 65%-    40s")));
}

TEST(AutomationLines, ProportionalSetPointSpacing)
{
    ProportionaleTemperaturRecord r; // 10:00 - 22:00, up, 3°, 40s, 6 steps
    r.EinAus = 0;
    r.SollTemperatur = 4; // "5°"
    EXPECT_EQ(proportionalLine(QStringLiteral("Motor 1"), r),
              kName + QStringLiteral("  EIN  10:00 - 22:00   5°C  ^  3°C    40s    6"));
    r.SollTemperatur = 24; // "25°"
    r.Richtung = 1;
    r.MaxStellzeit = 189;
    EXPECT_EQ(proportionalLine(QStringLiteral("Motor 1"), r),
              kName + QStringLiteral("  EIN  10:00 - 22:00  25°C  v  3°C   999s    6"));
}

TEST(AutomationLines, InsideTemperature)
{
    InnenTemperaturRecord r; // 08:00 - 21:00, "T>", 22°, up, 20°, 40s
    r.EinAus = 0;
    EXPECT_EQ(insideLine(QStringLiteral("Motor 1"), r),
              kName + QStringLiteral("  EIN  08:00 - 21:00  T>22°C ^   T<20°C v   40s"));
    r.Von = r.Bis = 0;
    r.Gr_Kl = 1;
    r.Richtung = 1;
    r.Schwelle1 = 9; // "0°"
    r.Dauer = 190;
    EXPECT_EQ(insideLine(QStringLiteral("Motor 1"), r),
              kName + QStringLiteral("  EIN    ganztägig    T<0°C v   T>20°C ^ Dauer"));
}

TEST(AutomationLines, OutsideTemperature)
{
    AussenTemperaturRecord r; // 2°, down, 5°, 40s
    r.EinAus = 0;
    EXPECT_EQ(outsideLine(QStringLiteral("Motor 1"), r),
              kName + QStringLiteral("  EIN   T<2°C v   T>5°C ^  40s"));
    r.Richtung = 0;
    r.Schwelle1 = 20; // "11°"
    EXPECT_EQ(outsideLine(QStringLiteral("Motor 1"), r),
              kName + QStringLiteral("  EIN   T<11°C ^   T>5°C v  40s"));
    r.Richtung = 2;
    const QString off = outsideLine(QStringLiteral("Motor 1"), r);
    EXPECT_EQ(off, kName + QStringLiteral("  EIN   T<11°C ") + sp(7) + QStringLiteral("deaktiv! "));
}

TEST(AutomationLines, PushButtonReadsTheDurationOnTheScaleOfTheVariant)
{
    TastAutomatikRecord r;
    r.EinAus = 0;
    r.Dauer = 22;
    EXPECT_EQ(pushButtonLine(QStringLiteral("Motor 1"), r, true), kName + QStringLiteral("  EIN      01:00"));
    EXPECT_EQ(pushButtonLine(QStringLiteral("Motor 1"), r, false), kName + QStringLiteral("  EIN      23s"));
    r.Dauer = 87; // beyond the radio scale
    EXPECT_EQ(pushButtonLine(QStringLiteral("Motor 1"), r, true), kName + QStringLiteral("  EIN      "));
}

TEST(AutomationLines, ReversingShowsBothTimes)
{
    ReversierungRecord r;
    r.EinAus = 0;
    EXPECT_EQ(reversingLine(QStringLiteral("Motor 1"), r),
              kName + QStringLiteral("  EIN      0,4s") + sp(10) + QStringLiteral("0,6s"));
}
