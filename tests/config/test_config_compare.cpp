#include "config/config_compare.h"
#include "config/editor_fields.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vandorelle;

namespace {

// "group | motor | caption before -> after"
QString summary(const SettingChange &c)
{
    const QString caption = c.caption.isEmpty() ? QString() : c.caption + u' ';
    return QStringLiteral("%1 | %2 | %3%4 -> %5").arg(c.group).arg(c.motor).arg(caption, c.before, c.after);
}

} // namespace

TEST(ConfigCompare, WhatAControllerCannotHoldIsNoDifference)
{
    ConfigStore before;
    ConfigStore after;
    EXPECT_TRUE(compareConfigurations(before, after, false).empty());

    // The fields of an entry that is not set, the blanks that pad a name, the send flags.
    SchaltzeitEntry &unused = after.entry(2, 5, 3);
    unused = {.Richtung = 1, .Zeit = 0, .Dauer = 80, .Gruppe = 7, .Funktion = 2};
    after.MotorNamen[4] = QStringLiteral("Motor 5     ");
    after.clearAllPending();
    EXPECT_TRUE(compareConfigurations(before, after, false).empty());

    // A renamed motor: its name changed, not its switching times.
    before.entry(1, 5, 1).Zeit = 100;
    after.entry(1, 5, 1).Zeit = 100;
    after.MotorNamen[4] = QStringLiteral("Bad");
    const auto changes = compareConfigurations(before, after, false);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, SettingChange::Kind::MotorName);
    EXPECT_EQ(summary(changes[0]), QStringLiteral("Motor- bzw. Raumname | 5 | Motor 5 -> Bad"));
}

TEST(ConfigCompare, EachSettingIsNamedAndShownAsTheWindowShowsIt)
{
    struct Case {
        std::function<void(ConfigStore &)> change;
        QString expected;
        bool tastFunk = false;
    };
    const Case cases[] = {
        {[](ConfigStore &s) { s.Beschattung[0].EinAus = 0; },
         QStringLiteral("Beschattungsautomatik | 1 | EIN / AUS AUS -> EIN")},
        {[](ConfigStore &s) { s.Beschattung[2].Helligkeit = 155; },
         QStringLiteral("Beschattungsautomatik | 3 | Grenz-Lux-Wert 244 -> 255")},
        // Two boxes under one caption side by side.
        {[](ConfigStore &s) { s.Beschattung[0].Von = 6; },
         QStringLiteral("Beschattungsautomatik | 1 | Beschattung ist aktiv im Zeitraum von - bis "
                        "10:00 - 20:00 -> 11:00 - 20:00")},
        {[](ConfigStore &s) { s.DaemmerungMorgen[0].Dauer = 190; },
         QStringLiteral("Dämmerungsautomatik Morgen | 1 | Aktivierungszeit 40s -> Dauer")},
        // The unit stands after the box in the caption.
        {[](ConfigStore &s) { s.Wind[0].Geschwindigkeit = 7; },
         QStringLiteral("Einfahren bei Wind | 1 | Bei Wingeschwindigkeit größer 30 km/h -> 40 km/h")},
        {[](ConfigStore &s) { s.Reversierung[0].Bei_Auf = 9; },
         QStringLiteral("Reversier-Automatik | 1 | Rücklauf nach einer Aufwärtsbewegung 0,4 s -> 0,9 s")},
        // The direction that wind and rain share is one setting, named where it is kept.
        {[](ConfigStore &s) { s.Regen[0].Richtung = 1; },
         QStringLiteral("Einfahren bei Regen | 1 | Bei Regen fährt der Antrieb in Richtung ↑ -> ↓")},
        {[](ConfigStore &s) { s.AussenTemperatursteuerung[0].Richtung = 2; },
         QStringLiteral("Außen-Temperatursteuerung | 1 | Auf, Ab, deaktiv ↓ -> DEAKTIV")},
        {[](ConfigStore &s) { s.InnenTemperatursteuerung[0].Gr_Kl = 1; },
         QStringLiteral("Innen-Temperatursteuerung | 1 | größer kleiner T> -> T<")},
        {[](ConfigStore &s) { s.HeizungsSteuerung[0].TagTemperatur = 200; },
         QStringLiteral("Heizungs-Steuerung | 1 | Tag-Temperatur 21,0°C -> 24,0°C")},
        {[](ConfigStore &s) { s.TastAutomatik[0].Dauer = 22; },
         QStringLiteral("Tast-Automatik | 1 | Aktivierungszeit bei Auslösung des Bedientasters 22s -> 23s")},
        {[](ConfigStore &s) { s.TastAutomatik[0].Dauer = 22; },
         QStringLiteral("Tast-Automatik | 1 | Aktivierungszeit bei Auslösung des Bedientasters 56s -> 01:00"),
         true},
        // A code no box offers, as a controller may report it.
        {[](ConfigStore &s) { s.Beschattung[0].Helligkeit = 300; },
         QStringLiteral("Beschattungsautomatik | 1 | Grenz-Lux-Wert 244 -> (300)")},
        {[](ConfigStore &s) { s.AlarmPattern[3] = 2; }, QStringLiteral("Alarm-Setup | 4 | ○ -> ↓")},
        {[](ConfigStore &s) { s.GruppenZentralsteuerung[1][2] = 1; },
         QStringLiteral("Gruppen-Zentralsteuerung, Soft-GZS | 9 | Gruppe 3 [ ] -> [x]")},
        {[](ConfigStore &s) { s.SoftGZS = true; },
         QStringLiteral("Gruppen-Zentralsteuerung, Soft-GZS | 0 | Soft-GZS aktiv [ ] -> [x]")},
        {[](ConfigStore &s) { s.Parameter.ZufallsZeitspanne = 43; },
         QStringLiteral("Zufalls-Steuerung | 0 | Zufalls-Zeitspanne ± 30 min -> ± 45 min")},
        {[](ConfigStore &s) { s.Parameter.HeizungsHysterese = 4; },
         QStringLiteral("Wintergartensteuerungen | 0 | Schalt-Hysterese Heizung ± 0,3 °C -> ± 0,5 °C")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        ConfigStore after;
        c.change(after);
        const auto changes = compareConfigurations(ConfigStore{}, after, c.tastFunk);
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(summary(changes[0]), c.expected);
    }
}

TEST(ConfigCompare, SwitchingTimesByLineAndBySettingsTheLineDoesNotShow)
{
    ConfigStore before;
    before.MotorNamen[1] = QStringLiteral("Bad");
    before.entry(3, 2, 4) = {.Richtung = 1, .Zeit = 21 * 60 + 1, .Dauer = 39, .Gruppe = 1, .Funktion = 0};
    ConfigStore after = before;
    after.entry(3, 2, 4).Dauer = 60;
    after.entry(3, 2, 4).Funktion = 1;
    after.entry(1, 2, 1) = {.Richtung = 0, .Zeit = 7 * 60 + 31, .Dauer = 39, .Gruppe = 5, .Funktion = 0};

    const auto changes = compareConfigurations(before, after, false);
    ASSERT_EQ(changes.size(), 3u);
    // Monday's line comes first (motor, then weekday), with the new time in its first column.
    EXPECT_EQ(changes[0].kind, SettingChange::Kind::SwitchingTimes);
    EXPECT_EQ(changes[0].weekday, 1);
    const QString prefix = QStringLiteral("Mo  Bad") + QString(13, u' ');
    EXPECT_TRUE(changes[0].before.startsWith(prefix + QStringLiteral("        |  "))) << changes[0].before.toStdString();
    EXPECT_TRUE(changes[0].after.startsWith(prefix + QStringLiteral("07:30 ^ |  "))) << changes[0].after.toStdString();
    // Wednesday's line is the same; what changed is out of its sight.
    EXPECT_EQ(changes[1].kind, SettingChange::Kind::SwitchingTimeEntry);
    EXPECT_EQ(changes[1].weekday, 3);
    EXPECT_EQ(changes[1].entry, 4);
    EXPECT_EQ(summary(changes[1]), QStringLiteral("Schaltzeiten | 2 | Schaltdauer 39s -> 60s"));
    EXPECT_EQ(summary(changes[2]), QStringLiteral("Schaltzeiten | 2 | Funktion - -> Astro"));
}

TEST(EditorFields, EveryFieldStandsUnderACaption)
{
    // A field without a caption would never be reported as changed.
    for (const EditorSpec *editor : perMotorEditors()) {
        for (const FieldSpec &f : editor->fields) {
            if (qstrcmp(f.name, editor->onOff) == 0)
                continue;
            bool captioned = false;
            for (const CaptionSpec &c : editor->captions)
                for (const char *control : c.controls)
                    captioned = captioned || qstrcmp(control, f.name) == 0;
            EXPECT_TRUE(captioned) << f.name;
        }
    }
    EXPECT_EQ(oneLineCaption(QStringLiteral("Aktivie- rungszeit")), QStringLiteral("Aktivierungszeit"));
    EXPECT_EQ(oneLineCaption(QStringLiteral("Aktivier.- Richtung")), QStringLiteral("Aktivier.-Richtung"));
    EXPECT_EQ(oneLineCaption(QStringLiteral("Motor- bzw. Raumname")), QStringLiteral("Motor- bzw. Raumname"));
    EXPECT_EQ(oneLineCaption(QStringLiteral("aktiviert von - bis")), QStringLiteral("aktiviert von - bis"));
}
