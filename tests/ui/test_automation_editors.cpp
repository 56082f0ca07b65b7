#include "config/automation_lines.h"
#include "ui/automation_displays.h"
#include "ui/conservatory_tab.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/manual_tab.h"
#include "ui/shading_tab.h"
#include "ui/wind_tab.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace vandorelle;

namespace {

// The editors are driven like a user does, through the started window's own controls.
using AutomationEditors = test::WindowTest;

TEST_F(AutomationEditors, StartUpShowsMotorOneWithTheDetailsHidden)
{
    for (const char *prefix : {"BA", "DM", "DA", "EW", "ER", "RelF", "PT", "IT", "AT", "Tast", "RA"}) {
        SCOPED_TRACE(prefix);
        EXPECT_EQ(index((QByteArray(prefix) + "_Raum").constData()), 0);
        EXPECT_EQ(find<QListWidget>((QByteArray(prefix) + "_Liste").constData())->currentRow(), 0);
    }
    for (const char *detail : {"BA_Temperatur", "BA_Label2", "BA_LuxAktuell", "DM_von", "EW_kmh",
                               "ER_Richtung", "RelF_Ab_Auf", "PT_Schritte", "IT_kl_gr", "AT_Schwelle_2",
                               "Tast_Dauer", "Tast_Dauer_Funk", "RA_Label1"})
        EXPECT_FALSE(shown(detail)) << detail;
    EXPECT_TRUE(w->session.luxMean);
    EXPECT_EQ(caption("BA_Label5"), QStringLiteral("Lux mittel"));
    EXPECT_EQ(text("DA_LuxAktuell"), QStringLiteral("250"));
    EXPECT_EQ(text("RelF_kl_gr"), QStringLiteral("F<"));
    EXPECT_EQ(find<ReadOnlyBox>("RelF_Ab_Auf")->symbolText(), QStringLiteral("ê"));
    // Symbol items keep their texts for the logic and show arrows.
    QComboBox *direction = find<QComboBox>("ER_Richtung");
    EXPECT_EQ(direction->itemText(0), QStringLiteral("↑"));
    EXPECT_EQ(direction->itemData(1).toString(), QStringLiteral("ê"));
    EXPECT_EQ(find<QComboBox>("AT_Auf_Ab")->itemText(2), QStringLiteral("DEAKTIV"));
}

TEST_F(AutomationEditors, DoubleClickSwitchesOnAndOffMarksAndRedraws)
{
    enterPage(w->beschattung);
    store().clearAllPending();
    doubleClickLine("BA_Liste", 2);
    EXPECT_EQ(store().Beschattung[2].EinAus, 0);
    EXPECT_EQ(store().Beschattung[2].Senden, 1);
    EXPECT_EQ(index("BA_Raum"), 2);
    EXPECT_EQ(index("BA_EIN_AUS"), 0);
    EXPECT_TRUE(shown("BA_Temperatur"));
    EXPECT_TRUE(shown("BA_LuxAktuell"));
    EXPECT_EQ(line("BA_Liste", 2), shadingLine(QStringLiteral("Motor 3"), store().Beschattung[2]));
    EXPECT_TRUE(line("BA_Liste", 2).endsWith(QStringLiteral("10s")));

    doubleClickLine("BA_Liste", 2);
    EXPECT_EQ(store().Beschattung[2].EinAus, 1);
    EXPECT_EQ(line("BA_Liste", 2), QStringLiteral("Motor 3       AUS"));
    EXPECT_FALSE(shown("BA_Temperatur"));
    for (int m = 0; m < kMotors; ++m) {
        if (m != 2) {
            EXPECT_EQ(store().Beschattung[m].Senden, 0) << m;
        }
    }

    enterPage(w->handsteuerung);
    doubleClickLine("RA_Liste", 0);
    EXPECT_EQ(line("RA_Liste", 0), QStringLiteral("Motor 1       EIN      0,4s          0,6s"));
    EXPECT_TRUE(shown("RA_Auf"));
}

TEST_F(AutomationEditors, WithoutBankModelOnlyMotorsOneToEightCanBeChosen)
{
    w->session.flags.BankModel = false;
    store().Beschattung[0].Temperatur = 5;
    store().Beschattung[11].Temperatur = 40;
    enterPage(w->beschattung);
    store().clearAllPending();

    clickLine("BA_Liste", 11);
    EXPECT_EQ(find<QListWidget>("BA_Liste")->currentRow(), 0);
    EXPECT_EQ(index("BA_Raum"), 0);
    EXPECT_EQ(index("BA_Temperatur"), 5);
    EXPECT_EQ(store().Beschattung[0].Senden, 0); // a click only shows

    choose("BA_Raum", 11);
    EXPECT_EQ(index("BA_Raum"), 0);
    EXPECT_EQ(store().Beschattung[0].Senden, 1);
    EXPECT_EQ(store().Beschattung[11].Senden, 0);

    doubleClickLine("BA_Liste", 11);
    EXPECT_EQ(store().Beschattung[0].EinAus, 0);
    EXPECT_EQ(store().Beschattung[11].EinAus, 1);
}

TEST_F(AutomationEditors, ShadingPeriodRulesThroughTheCombos)
{
    enterPage(w->beschattung);
    choose("BA_EIN_AUS", 0);
    EXPECT_EQ(store().Beschattung[0].EinAus, 0);
    EXPECT_TRUE(shown("BA_von"));

    choose("BA_von", 17); // "22:00"
    EXPECT_EQ(index("BA_von"), 16);
    EXPECT_EQ(index("BA_Bis"), 17);
    EXPECT_EQ(store().Beschattung[0].Von, 16);
    EXPECT_EQ(store().Beschattung[0].Bis, 17);
    EXPECT_TRUE(line("BA_Liste", 0).contains(QStringLiteral("21:00 - 22:00")));

    choose("BA_Bis", 0); // "05:00"
    EXPECT_EQ(store().Beschattung[0].Von, 0);
    EXPECT_EQ(store().Beschattung[0].Bis, 1);
    EXPECT_TRUE(line("BA_Liste", 0).contains(QStringLiteral("05:00 - 06:00")));
}

TEST_F(AutomationEditors, RainDirectionIsTheWindDirection)
{
    store().Wind[0].EinAus = 0;
    enterPage(w->windRegen);
    EXPECT_TRUE(line("EW_Liste", 0).endsWith(QStringLiteral("km/h    ^")));

    choose("ER_Ein_Aus", 0);
    choose("ER_Richtung", 1);
    EXPECT_EQ(store().Regen[0].Richtung, 1);
    EXPECT_TRUE(line("EW_Liste", 0).endsWith(QStringLiteral("km/h    v")));
    EXPECT_TRUE(line("ER_Liste", 0).endsWith(QStringLiteral("EIN      v")));
    EXPECT_EQ(index("EW_Richtung"), 1);

    // From the wind side, for another motor than the rain editor shows: the rain
    // record holding the direction must be sent too.
    store().clearAllPending();
    choose("EW_Raum", 1);
    choose("EW_Richtung", 1);
    EXPECT_EQ(store().Regen[1].Richtung, 1);
    EXPECT_EQ(store().Regen[1].Senden, 1);
    EXPECT_EQ(store().Wind[1].Senden, 1);
    EXPECT_EQ(store().Regen[0].Richtung, 1);
}

TEST_F(AutomationEditors, TabEnterFollowsRenamedMotorsAndKeepsTheMotor)
{
    enterPage(w->beschattung);
    clickLine("BA_Liste", 3);
    enterPage(w->windRegen);
    store().MotorNamen[0] = QStringLiteral("Wohnzimmer links");
    store().MotorNamen[4] = QStringLiteral("Bad");
    enterPage(w->beschattung);
    EXPECT_EQ(find<QComboBox>("BA_Raum")->itemText(0), QStringLiteral("Wohnzimmer links"));
    EXPECT_EQ(line("BA_Liste", 0), QStringLiteral("Wohnzimmer l  AUS"));
    EXPECT_EQ(line("DA_Liste", 4), QStringLiteral("Bad           AUS"));
    EXPECT_EQ(index("BA_Raum"), 3);
    enterPage(w->wintergarten);
    EXPECT_EQ(find<QComboBox>("AT_Raum")->itemText(4), QStringLiteral("Bad"));
}

TEST_F(AutomationEditors, RecordFollowUpsRedrawTheirLists)
{
    store().Beschattung[5].EinAus = 0;
    emit w->session.followUp(FollowUp::Beschattung);
    EXPECT_TRUE(line("BA_Liste", 5).startsWith(QStringLiteral("Motor 6       EIN")));

    store().Wind[2].EinAus = 0;
    emit w->session.followUp(FollowUp::Wind);
    EXPECT_TRUE(line("EW_Liste", 2).endsWith(QStringLiteral("^")));
    store().Regen[2].Richtung = 1;
    emit w->session.followUp(FollowUp::Regen);
    EXPECT_TRUE(line("EW_Liste", 2).endsWith(QStringLiteral("v")));

    store().TastAutomatik[7].EinAus = 0;
    emit w->session.followUp(FollowUp::TastAutomatik);
    EXPECT_EQ(line("Tast_Liste", 7), QStringLiteral("Motor 8       EIN      22s"));
}

TEST_F(AutomationEditors, LuxDisplayModeSwitchesAllThreeBoxes)
{
    LiveValues &live = w->session.live;
    live.received = true;
    live.luxMean = QStringLiteral("120");
    live.luxCurrent = QStringLiteral("300");
    emit w->session.followUp(FollowUp::LiveValues);
    EXPECT_EQ(text("BA_LuxAktuell"), QStringLiteral("120"));

    emit find<ReadOnlyBox>("DM_LuxAktuell")->clicked();
    EXPECT_FALSE(w->session.luxMean);
    for (const char *label : {"BA_Label5", "DM_Label4", "DA_Label4"})
        EXPECT_EQ(caption(label), QStringLiteral("Lux aktuell")) << label;
    EXPECT_EQ(text("DA_LuxAktuell"), QStringLiteral("120")); // values follow the next update
    emit w->session.followUp(FollowUp::LiveValues);
    EXPECT_EQ(text("DA_LuxAktuell"), QStringLiteral("300"));

    emit find<ReadOnlyBox>("DM_LuxAktuell")->clicked();
    EXPECT_EQ(caption("DM_Label4"), QStringLiteral("Lux mittel"));
}

TEST_F(AutomationEditors, SensorReadingsReachEveryDisplayGroup)
{
    LiveValues &live = w->session.live;
    live.received = true;
    live.insideActual = QStringLiteral("21,5°");
    live.insideMin = QStringLiteral("18°");
    live.outsideMax = QStringLiteral("30°");
    live.aktWind = QStringLiteral("12 km/h");
    live.windSpeed = 12;
    live.maxWind = QStringLiteral("40 km/h");
    live.regenStatus = QStringLiteral(" Es regnet");
    live.relFeuchte = QStringLiteral("55 %");
    emit w->session.followUp(FollowUp::LiveValues);
    EXPECT_EQ(text("IT_Aktuell"), QStringLiteral("21,5°"));
    EXPECT_EQ(text("IT_Aktuell2"), QStringLiteral("21,5°"));
    EXPECT_EQ(text("IT_Min2"), QStringLiteral("18°"));
    EXPECT_EQ(text("AT_Max"), QStringLiteral("30°"));
    EXPECT_EQ(text("AT_Max2"), QStringLiteral("30°"));
    EXPECT_EQ(text("AktWind"), QStringLiteral("12 km/h"));
    EXPECT_EQ(text("MaxWind"), QStringLiteral("40 km/h"));
    EXPECT_EQ(text("RegenStatus"), QStringLiteral(" Es regnet"));
    EXPECT_EQ(text("RelFeuchte"), QStringLiteral("55 %"));
    auto *bar = find<QProgressBar>("WindProgressBar");
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->value(), 12);

    live.windSpeed = 130;
    emit w->session.followUp(FollowUp::LiveValues);
    EXPECT_EQ(bar->value(), 100);
    live.windSpeed = 0;
    emit w->session.followUp(FollowUp::LiveValues);
    EXPECT_TRUE(bar->isHidden());
}

TEST_F(AutomationEditors, HumidityDisplaysFollowTheLoadedMotorAndTheRules)
{
    FeuchtigkeitsRecord &first = store().FeuchtigkeitsSteuerung[0];
    first.EinAus = 0;
    first.Schwelle1 = 98; // 99 %
    store().FeuchtigkeitsSteuerung[1].Gr_Kl = 1;
    enterPage(w->windRegen);
    EXPECT_TRUE(shown("RelF_kl_gr"));

    clickLine("RelF_Liste", 1);
    EXPECT_EQ(text("RelF_kl_gr"), QStringLiteral("F>"));
    EXPECT_EQ(find<ReadOnlyBox>("RelF_Ab_Auf")->symbolText(), QStringLiteral(";"));
    clickLine("RelF_Liste", 0);
    EXPECT_EQ(text("RelF_kl_gr"), QStringLiteral("F<"));
    EXPECT_EQ(text("RelF_Ab_Auf"), QStringLiteral("↓"));

    choose("RelF_gr_kl", 1); // "F<" with threshold 1 at 99 %: 98 % / 99 %
    EXPECT_EQ(first.Gr_Kl, 1);
    EXPECT_EQ(first.Schwelle1, 97);
    EXPECT_EQ(first.Schwelle2, 98);
    EXPECT_EQ(text("RelF_kl_gr"), QStringLiteral("F>"));
    EXPECT_EQ(find<ReadOnlyBox>("RelF_Ab_Auf")->symbolText(), QStringLiteral(";"));

    choose("RelF_gr_kl", 0);
    choose("RelF_Stellzeit", 190); // continuous run has no closing action
    EXPECT_EQ(find<ReadOnlyBox>("RelF_Ab_Auf")->symbolText(), QStringLiteral(";"));
    EXPECT_TRUE(line("RelF_Liste", 0).endsWith(QStringLiteral("-  Dauer")));

    choose("RelF_von", 10);
    choose("RelF_bis", 10); // same hour: the whole day
    EXPECT_TRUE(line("RelF_Liste", 0).contains(QStringLiteral("ganztägig")));
    choose("RelF_bis", 4); // an end before the start moves the start
    EXPECT_EQ(first.Von, 4);
    EXPECT_EQ(first.Bis, 4);
}

TEST_F(AutomationEditors, StoredCodeOutsideTheListIsShownEmptyAndKept)
{
    FeuchtigkeitsRecord &r = store().FeuchtigkeitsSteuerung[0];
    r.EinAus = 0;
    r.Schwelle2 = 150;
    enterPage(w->windRegen);
    EXPECT_EQ(index("RelF_Schwelle_2"), -1);
    choose("RelF_Schwelle_1", 50);
    EXPECT_EQ(r.Schwelle1, 50);
    EXPECT_EQ(r.Schwelle2, 150);
}

TEST_F(AutomationEditors, InsideComparisonSwitchMovesThresholdTwo)
{
    InnenTemperaturRecord &r = store().InnenTemperatursteuerung[0];
    r.EinAus = 0;
    r.Schwelle1 = 34; // 25°
    r.Schwelle2 = 29; // 20°
    enterPage(w->wintergarten);
    choose("IT_gr_kl", 1);
    EXPECT_EQ(r.Schwelle2, 35); // 26°
    EXPECT_EQ(find<QComboBox>("IT_Schwelle_2")->currentText(), QStringLiteral("26°"));
    EXPECT_EQ(text("IT_kl_gr"), QStringLiteral("T>"));

    choose("IT_Auf_Ab", 1);
    EXPECT_EQ(find<ReadOnlyBox>("IT_Ab_Auf")->symbolText(), QStringLiteral("é"));
    EXPECT_TRUE(line("IT_Liste", 0).contains(QStringLiteral("v   T>26°C ^")));
}

TEST_F(AutomationEditors, OutsideDeactivationHidesThresholdTwo)
{
    enterPage(w->wintergarten);
    choose("AT_Ein_Aus", 0);
    EXPECT_TRUE(shown("AT_Schwelle_2"));
    choose("AT_Auf_Ab", 2);
    EXPECT_EQ(store().AussenTemperatursteuerung[0].Richtung, 2);
    for (const char *hidden : {"AT_Schwelle_2", "AT_Stellzeit", "AT_kl_gr", "AT_Ab_Auf", "AT_Label_3", "AT_Label_4"})
        EXPECT_FALSE(shown(hidden)) << hidden;
    for (const char *visible : {"AT_Schwelle_1", "AT_Auf_Ab", "AT_gr_kl", "AT_Label_1"})
        EXPECT_TRUE(shown(visible)) << visible;
    EXPECT_TRUE(line("AT_Liste", 0).endsWith(QStringLiteral("       deaktiv! ")));

    choose("AT_Auf_Ab", 0);
    EXPECT_TRUE(shown("AT_Schwelle_2"));
    EXPECT_EQ(find<ReadOnlyBox>("AT_Ab_Auf")->symbolText(), QStringLiteral("ê"));

    // Threshold 2 at -9°: -8°, and threshold 1 below it.
    choose("AT_Schwelle_2", 0);
    EXPECT_EQ(store().AussenTemperatursteuerung[0].Schwelle2, 1);
    EXPECT_EQ(store().AussenTemperatursteuerung[0].Schwelle1, 0);

    // Loading another motor shows its own action at threshold 2.
    store().AussenTemperatursteuerung[3].Richtung = 1;
    clickLine("AT_Liste", 3);
    EXPECT_EQ(find<ReadOnlyBox>("AT_Ab_Auf")->symbolText(), QStringLiteral("é"));
}

TEST_F(AutomationEditors, PushButtonScaleFollowsTheRadioVariant)
{
    TastAutomatikRecord &r = store().TastAutomatik[0];
    r.EinAus = 0;
    r.Dauer = 22;
    w->session.flags.TastFunk = true;
    enterPage(w->handsteuerung);
    EXPECT_TRUE(shown("Tast_Dauer_Funk"));
    EXPECT_FALSE(shown("Tast_Dauer"));
    EXPECT_EQ(find<QComboBox>("Tast_Dauer_Funk")->currentText(), QStringLiteral("01:00"));
    EXPECT_TRUE(line("Tast_Liste", 0).endsWith(QStringLiteral("EIN      01:00")));
    choose("Tast_Dauer_Funk", 23);
    EXPECT_EQ(r.Dauer, 23);
    EXPECT_TRUE(line("Tast_Liste", 0).endsWith(QStringLiteral("01:04")));

    w->session.flags.TastFunk = false;
    enterPage(w->beschattung);
    enterPage(w->handsteuerung);
    EXPECT_TRUE(shown("Tast_Dauer"));
    EXPECT_FALSE(shown("Tast_Dauer_Funk"));
    EXPECT_TRUE(line("Tast_Liste", 0).endsWith(QStringLiteral("24s")));
    choose("Tast_Dauer", 40);
    EXPECT_EQ(r.Dauer, 40);
}

} // namespace
