#include "protocol/logbook_lines.h"

#include <gtest/gtest.h>

using namespace vandorelle;

namespace {

// Motor 2, up, 7 December, 06:30, cause 0 with sub-code 1.
LogbookEntry exampleEntry()
{
    return LogbookEntry{3, 2, 1, 7, 12, 0, 6, 30, 1};
}

LogbookEntry withCause(int32_t cause, int32_t subCode = 0)
{
    LogbookEntry e = exampleEntry();
    e.cause = cause;
    e.subCode = subCode;
    return e;
}

const QString kName = QStringLiteral("Motor 2");

} // namespace

TEST(LogbookDisplayLine, MatchesTheWorkedExampleCharacterForCharacter)
{
    const QString expected = QStringLiteral("   55  Motor 2") + QString(5, ' ')
        + QStringLiteral(" 07.12.   06:30    ^     Programmierte Schaltzeit mit Solarfunktion");
    EXPECT_EQ(logbookDisplayLine(exampleEntry(), 57 - 3 + 1, kName), expected);
}

TEST(LogbookDisplayLine, ShownNumberIsRightAlignedToFiveColumns)
{
    EXPECT_TRUE(logbookDisplayLine(exampleEntry(), 1, kName).startsWith("    1  Motor 2"));
    EXPECT_TRUE(logbookDisplayLine(exampleEntry(), 9, kName).startsWith("    9  "));
    EXPECT_TRUE(logbookDisplayLine(exampleEntry(), 10, kName).startsWith("   10  "));
    EXPECT_TRUE(logbookDisplayLine(exampleEntry(), 999, kName).startsWith("  999  "));
    // Four digits fill the column themselves; nothing of an older line is kept in front.
    EXPECT_TRUE(logbookDisplayLine(exampleEntry(), 1000, kName).startsWith("1000  Motor 2"));
    EXPECT_TRUE(logbookDisplayLine(exampleEntry(), -2, kName).startsWith("    -2  "));
}

TEST(LogbookDisplayLine, NameColumnIsTwelveCharacters)
{
    const QString longName = QStringLiteral("Wohnzimmer Südseite");
    EXPECT_EQ(logbookDisplayLine(exampleEntry(), 55, longName).mid(7, 13), QStringLiteral("Wohnzimmer S "));
    EXPECT_EQ(logbookDisplayLine(exampleEntry(), 55, QString()).mid(7, 13), QString(13, ' '));
}

TEST(LogbookDisplayLine, SystemEventsBlankNameAndDirection)
{
    for (int cause : {8, 9, 18, 19, 20}) {
        const QString line = logbookDisplayLine(withCause(cause), 55, kName);
        EXPECT_EQ(line.mid(7, 12), QString(12, ' ')) << cause;
        EXPECT_EQ(line.mid(29, 15), QStringLiteral("06:30          ")) << cause;
        EXPECT_EQ(line.mid(44), logbookCauseText(cause, 0, LogbookColumn::Display)) << cause;
    }
    // Cause 5 keeps the name but not the direction.
    const QString line5 = logbookDisplayLine(withCause(5), 55, kName);
    EXPECT_EQ(line5.mid(7, 12), QStringLiteral("Motor 2     "));
    EXPECT_EQ(line5.mid(34, 10), QString(10, ' '));
}

TEST(LogbookDisplayLine, DirectionDownIsZeroOnly)
{
    LogbookEntry down = exampleEntry();
    down.direction = 0;
    EXPECT_EQ(logbookDisplayLine(down, 55, kName).mid(38, 6), QStringLiteral("v     "));
    LogbookEntry other = exampleEntry();
    other.direction = 7;
    EXPECT_EQ(logbookDisplayLine(other, 55, kName).mid(38, 6), QStringLiteral("^     "));
}

TEST(LogbookDisplayLine, EntryWithoutDateSaysTheLogbookIsEmpty)
{
    LogbookEntry end{kLogbookEndMarker, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(logbookDisplayLine(end, 0, kName), QStringLiteral("   Keine Logbucheinträge gespeichert"));
    LogbookEntry dayOnly = end;
    dayOnly.day = 3;
    EXPECT_NE(logbookDisplayLine(dayOnly, 0, kName), kLogbookEmptyText);
}

TEST(LogbookExportLine, MatchesTheWorkedExample)
{
    EXPECT_EQ(logbookExportLine(exampleEntry(), 55, kName),
              QStringLiteral("55;Motor 2;07.12.;06:30;^;Programmierte Schaltzeit mit Astrofunktion"));
}

TEST(LogbookExportLine, NameUnpaddedExceptForAlarmAndRestart)
{
    EXPECT_EQ(logbookExportLine(withCause(8), 1, kName),
              QStringLiteral("1;            ;07.12.;06:30; ;Alarmkontakt wurde ausgelöst"));
    EXPECT_EQ(logbookExportLine(withCause(9), 1, kName).section(';', 1, 1), QString(12, ' '));
    // Cause 5 and the clock changes are written with name and direction.
    EXPECT_EQ(logbookExportLine(withCause(5), 1, kName),
              QStringLiteral("1;Motor 2;07.12.;06:30;^;Abbruch durch Vorrang des Bedienschalters"));
    EXPECT_EQ(logbookExportLine(withCause(18), 1, kName).section(';', 1, 1), kName);
    EXPECT_EQ(logbookExportLine(withCause(18), 1, kName).section(';', 4, 4), QStringLiteral("^"));
}

TEST(LogbookExportLine, EntryWithoutDateReplacesOnlyTheCause)
{
    LogbookEntry end{kLogbookEndMarker, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(logbookExportLine(end, -3, QStringLiteral("Motor 1")),
              QStringLiteral("-3;Motor 1;00.00.;00:00;v;   Keine Logbucheinträge gespeichert"));
}

TEST(LogbookCauseText, ColumnsWordSomeCausesDifferently)
{
    struct Case {
        int cause, sub;
        const char *display, *exported;
    };
    const Case cases[] = {
        {0, 0, "Fest programmierte Schaltzeit", "Fest programmierte Schaltzeit"},
        {0, 1, "Programmierte Schaltzeit mit Solarfunktion", "Programmierte Schaltzeit mit Astrofunktion"},
        {0, 2, "Programmierte Schaltzeit mit Zufallsfunktion", "Programmierte Schaltzeit mit Zufallsfunktion"},
        {1, 0, "Beschattungs-Automatik", "Beschattungs-Automatik"},
        {7, 0, "Innen-Temperatursteuerung", "Innentemperatur-Automatik"},
        {8, 0, "Alarm bzw. Zentralschalter ausgelöst", "Alarmkontakt wurde ausgelöst"},
        {10, 0, "Außen-Temperatursteuerung", "Außentemperatur-Automatik"},
        {11, 0, "Durch Außen-Temper.-Strg ist Motor de-aktiviert", "Durch AT-Steuerung ist Motor de-aktiviert"},
        {18, 0, "Umstellung MEZ -> MESZ, Astro-Zeiten angepasst", "Umstellung MEZ -> MESZ, Astro-Zeiten angepasst"},
        {24, 0, "Heizungs-Steuerung", "Heizungs-Steuerung"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(logbookCauseText(c.cause, c.sub, LogbookColumn::Display), QString::fromUtf8(c.display));
        EXPECT_EQ(logbookCauseText(c.cause, c.sub, LogbookColumn::Export), QString::fromUtf8(c.exported));
    }
    // The sub-code belongs to cause 0 only.
    EXPECT_EQ(logbookCauseText(3, 2, LogbookColumn::Display), QStringLiteral("Einfahren bei Wind"));
}

TEST(LogbookCauseText, UndefinedCodesAreNamedNotLeftBlank)
{
    for (LogbookColumn column : {LogbookColumn::Display, LogbookColumn::Export}) {
        EXPECT_EQ(logbookCauseText(25, 0, column), QStringLiteral("Unbekannte Ursache 25"));
        EXPECT_EQ(logbookCauseText(-1, 0, column), QStringLiteral("Unbekannte Ursache -1"));
        EXPECT_EQ(logbookCauseText(0, 3, column), QStringLiteral("Unbekannte Ursache 0/3"));
        EXPECT_EQ(logbookCauseText(0, -1, column), QStringLiteral("Unbekannte Ursache 0/-1"));
    }
}

TEST(LogbookMotorName, ForeignMotorNumbersShowTheirNumber)
{
    std::array<QString, kMotors> names;
    for (int m = 0; m < kMotors; ++m)
        names[m] = defaultMotorName(m);
    names[4] = QStringLiteral("Bad\x01" "Fenster");
    EXPECT_EQ(logbookMotorName(names, 1), QStringLiteral("Motor 1"));
    EXPECT_EQ(logbookMotorName(names, 32), QStringLiteral("Motor 32"));
    EXPECT_EQ(logbookMotorName(names, 5), QStringLiteral("Bad Fenster"));
    EXPECT_EQ(logbookMotorName(names, 0), QStringLiteral("0"));
    EXPECT_EQ(logbookMotorName(names, 33), QStringLiteral("33"));
    EXPECT_EQ(logbookMotorName(names, -7), QStringLiteral("-7"));
}

TEST(LogbookPlacement, PagesOfHundredStartOnLineOne)
{
    for (int32_t n : {1, 101, 201}) {
        const LogbookPlacement p = logbookPlacement(n, false);
        EXPECT_EQ(p.line, 0) << n;
        EXPECT_TRUE(p.newPage) << n;
    }
    EXPECT_EQ(logbookPlacement(100, false).line, 99);
    EXPECT_FALSE(logbookPlacement(100, false).newPage);
    EXPECT_EQ(logbookPlacement(157, false).line, 56);
    // Numbers below 1 still land on the page.
    EXPECT_EQ(logbookPlacement(0, false).line, 99);
    EXPECT_EQ(logbookPlacement(-250, false).line, 49);
}

TEST(LogbookPlacement, EndMarkerGoesBelowTheLastEntry)
{
    // Behind a full page it takes the extra line instead of wiping the page.
    EXPECT_EQ(logbookPlacement(101, true).line, 100);
    EXPECT_FALSE(logbookPlacement(101, true).newPage);
    EXPECT_EQ(logbookPlacement(58, true).line, 57);
    // With nothing read before, it starts the page.
    EXPECT_EQ(logbookPlacement(1, true).line, 0);
    EXPECT_TRUE(logbookPlacement(1, true).newPage);
}

TEST(LogbookFileLine, WindowsCodePageWithCrLf)
{
    EXPECT_EQ(logbookFileLine(QStringLiteral("1;Tür;Außen")), QByteArray("1;T\xFCr;Au\xDF" "en\r\n"));
    // A control character from the line must not split the file's line.
    EXPECT_EQ(logbookFileLine(QStringLiteral("1;a\nb")), QByteArray("1;a b\r\n"));
}
