#include "window_fixture.h"

#include "ui/day_bar.h"
#include "ui/heating_tab.h"
#include "ui/week_overview.h"

#include <QGroupBox>

using namespace vandorelle;

namespace {

class HeatingTab : public test::WindowTest {
protected:
    HeizungsRecord &record(int motor) { return w->store.HeizungsSteuerung[motor]; }
    WeekOverview *overview() { return find<WeekOverview>("WochenUebersicht"); }

    // Colours of the shown segments of Monday's row, by the state they follow.
    QColor mondayColour(schedule::BarState state)
    {
        DayBar *row = overview()->row(0);
        for (const schedule::BarSegment &s : row->segments()) {
            if (s.width > 0 && s.state == state)
                return row->colourOf(s);
        }
        ADD_FAILURE() << "no shown segment in that state";
        return {};
    }
};

TEST_F(HeatingTab, FreshConfigurationShowsEveryMotorOffWithDetailsAndWeekHidden)
{
    for (int m = 0; m < kMotors; ++m)
        EXPECT_EQ(line("Heiz_Liste", m), (defaultMotorName(m) + QString(11, QLatin1Char(' '))).left(12)
                                             + QStringLiteral("  AUS"))
            << m;
    EXPECT_EQ(current("Heiz_Raum"), QStringLiteral("Motor 1"));
    EXPECT_EQ(current("Heiz_Ein_Aus"), QStringLiteral("AUS"));
    for (const char *detail : {"Heiz_Tag_Nacht", "Heiz_Betriebsart", "Heiz_Tag_Temperatur", "Heiz_Nacht_Temperatur",
                               "Heiz_Label_1", "Heiz_Label_2", "Heiz_Label_3", "Heiz_Label_4"})
        EXPECT_FALSE(shown(detail)) << detail;
    EXPECT_FALSE(shown("WochenUebersicht"));
    EXPECT_EQ(find<QComboBox>("Heiz_Tag_Temperatur")->count(), 257);
    EXPECT_EQ(find<QComboBox>("Heiz_Nacht_Temperatur")->count(), 256);
    // Start values are loaded even while hidden.
    EXPECT_EQ(current("Heiz_Tag_Temperatur"), QStringLiteral("21,0°C"));
    EXPECT_EQ(current("Heiz_Nacht_Temperatur"), QStringLiteral("18,0°C"));
}

TEST_F(HeatingTab, DoubleClickTogglesOnAndOff)
{
    enterPage(w->heizung);
    doubleClickLine("Heiz_Liste", 2);
    EXPECT_EQ(record(2).EinAus, 0);
    EXPECT_EQ(current("Heiz_Raum"), QStringLiteral("Motor 3"));
    const QString on = line("Heiz_Liste", 2);
    EXPECT_EQ(on, QStringLiteral("Motor 3       EIN   Heizbetrieb     21,0°C     18,0°C"));
    EXPECT_TRUE(on.contains(QStringLiteral("     21,0°C")));
    for (const char *detail : {"Heiz_Tag_Nacht", "Heiz_Betriebsart", "Heiz_Tag_Temperatur", "Heiz_Label_4"})
        EXPECT_TRUE(shown(detail)) << detail;
    EXPECT_TRUE(shown("WochenUebersicht"));
    EXPECT_EQ(overview()->title(), QStringLiteral("Wochenübersicht Tag-/ Nacht-Temperatur für Motor 3"));

    doubleClickLine("Heiz_Liste", 2);
    EXPECT_EQ(record(2).EinAus, 1);
    EXPECT_EQ(line("Heiz_Liste", 2), QStringLiteral("Motor 3       AUS"));
    EXPECT_FALSE(shown("Heiz_Tag_Temperatur"));
    EXPECT_FALSE(shown("WochenUebersicht"));
}

TEST_F(HeatingTab, ValueBoxesStoreIntoTheChosenMotorAndRedrawItsLine)
{
    enterPage(w->heizung);
    choose("Heiz_Raum", 4);
    choose("Heiz_Ein_Aus", 0);
    choose("Heiz_Tag_Temperatur", 0);
    choose("Heiz_Nacht_Temperatur", 255);
    choose("Heiz_Tag_Nacht", 1);
    EXPECT_EQ(record(4).EinAus, 0);
    EXPECT_EQ(record(4).TagTemperatur, 0);
    EXPECT_EQ(record(4).NachtTemperatur, 255);
    EXPECT_EQ(record(4).TagNacht, 1);
    EXPECT_EQ(line("Heiz_Liste", 4), QStringLiteral("Motor 5       EIN   Heizbetrieb      4,0°C     29,5°C"));
    EXPECT_EQ(record(0), HeizungsRecord{}); // motor 1 untouched
}

TEST_F(HeatingTab, EmptyDaySetPointItemIsNotStored)
{
    enterPage(w->heizung);
    choose("Heiz_Ein_Aus", 0);
    choose("Heiz_Tag_Temperatur", 256);
    EXPECT_EQ(record(0).TagTemperatur, 170);
    EXPECT_EQ(current("Heiz_Tag_Temperatur"), QStringLiteral("21,0°C"));
}

TEST_F(HeatingTab, CoolingRecoloursTheUpSegmentsOfTheWeek)
{
    // Monday, motor 1: up at 06:00, down at 20:00.
    w->store.entry(1, 1, 1).Zeit = timeCode(6, 0);
    w->store.entry(1, 1, 1).Richtung = 0;
    w->store.entry(1, 1, 2).Zeit = timeCode(20, 0);
    w->store.entry(1, 1, 2).Richtung = 1;
    enterPage(w->heizung);
    choose("Heiz_Ein_Aus", 0);
    EXPECT_EQ(mondayColour(schedule::BarState::Up), QColor(Qt::red));
    const QColor down = mondayColour(schedule::BarState::Down);

    choose("Heiz_Betriebsart", 1);
    EXPECT_EQ(record(0).Betriebsart, 1);
    EXPECT_EQ(mondayColour(schedule::BarState::Up), QColor(Qt::cyan));
    EXPECT_EQ(mondayColour(schedule::BarState::Down), down);
    EXPECT_TRUE(line("Heiz_Liste", 0).contains(QStringLiteral("Kühlbetrieb")));
}

TEST_F(HeatingTab, SelectingAMotorMarksItPendingWithoutAnEdit)
{
    enterPage(w->heizung);
    w->store.clearAllPending();
    choose("Heiz_Raum", 6);
    for (int m = 0; m < kMotors; ++m)
        EXPECT_EQ(record(m).Senden, m == 6 ? 1 : 0) << m;
    EXPECT_EQ(find<QListWidget>("Heiz_Liste")->currentRow(), 6);

    w->store.clearAllPending();
    clickLine("Heiz_Liste", 9);
    EXPECT_EQ(current("Heiz_Raum"), QStringLiteral("Motor 10"));
    EXPECT_EQ(record(9).Senden, 1);
}

TEST_F(HeatingTab, WithoutBanksMotorsAboveEightFallBackToMotorOne)
{
    enterPage(w->heizung);
    w->session.flags.BankModel = false;
    w->store.clearAllPending();

    choose("Heiz_Raum", 8);
    EXPECT_EQ(find<QComboBox>("Heiz_Raum")->currentIndex(), 0);
    EXPECT_EQ(record(0).Senden, 1);
    EXPECT_EQ(record(8).Senden, 0);

    clickLine("Heiz_Liste", 20);
    EXPECT_EQ(find<QListWidget>("Heiz_Liste")->currentRow(), 0);
    EXPECT_EQ(find<QComboBox>("Heiz_Raum")->currentIndex(), 0);

    // A motor the controller does not have is never switched on.
    doubleClickLine("Heiz_Liste", 12);
    EXPECT_EQ(record(12).EinAus, 1);
    EXPECT_EQ(record(0).EinAus, 0);
}

TEST_F(HeatingTab, EnteringTakesNewNamesAndReceivedRecordsRedrawTheList)
{
    w->store.MotorNamen[0] = QStringLiteral("Wohnzimmer Ost");
    enterPage(w->heizung);
    EXPECT_EQ(find<QComboBox>("Heiz_Raum")->itemText(0), QStringLiteral("Wohnzimmer Ost"));
    EXPECT_EQ(line("Heiz_Liste", 0), QStringLiteral("Wohnzimmer O  AUS"));

    record(31).EinAus = 0;
    emit w->session.followUp(FollowUp::Heizung);
    EXPECT_TRUE(line("Heiz_Liste", 31).startsWith(QStringLiteral("Motor 32      EIN   Heizbetrieb")));

    w->session.live.received = true;
    w->session.live.insideActual = QStringLiteral("21,5°");
    w->session.live.outsideMin = QStringLiteral("-3°");
    emit w->session.followUp(FollowUp::LiveValues);
    EXPECT_EQ(find<ReadOnlyBox>("IT_Aktuell3")->text(), QStringLiteral("21,5°"));
    EXPECT_EQ(find<ReadOnlyBox>("AT_Min3")->text(), QStringLiteral("-3°"));
}

} // namespace
