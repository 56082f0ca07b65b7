#include "config/automation_lines.h"
#include "ui/automation_displays.h"
#include "ui/automation_tables.h"

namespace vandorelle {

namespace {

// The wind editor edits the direction kept in the rain record: that record changed too,
// so it must go out with the next send.
void windDirection(AutomationEditor &e)
{
    e.storeCode("EW_Richtung");
    e.configStore().markPending(MotorTable::Regen, e.motor());
}

void showHumidityActions(AutomationEditor &e, int32_t comparison, int32_t dauer)
{
    e.display("RelF_kl_gr")->setText(secondComparison(QLatin1Char('F'), comparison));
    e.setSymbol("RelF_Ab_Auf", humiditySecondAction(comparison, dauer));
}

void humidityComparison(AutomationEditor &e)
{
    e.storeCode("RelF_gr_kl");
    const int32_t g = e.code("RelF_gr_kl");
    applyPair(e, "RelF_Schwelle_1", "RelF_Schwelle_2",
              thresholdOneChosen(e.code("RelF_Schwelle_1"), e.code("RelF_Schwelle_2"), g,
                                 kHumidityMaxCode));
    showHumidityActions(e, g, e.code("RelF_Stellzeit"));
}

void humidityThresholdOne(AutomationEditor &e)
{
    applyPair(e, "RelF_Schwelle_1", "RelF_Schwelle_2",
              thresholdOneChosen(e.code("RelF_Schwelle_1"), e.code("RelF_Schwelle_2"),
                                 e.code("RelF_gr_kl"), kHumidityMaxCode));
}

void humidityThresholdTwo(AutomationEditor &e)
{
    applyPair(e, "RelF_Schwelle_1", "RelF_Schwelle_2",
              thresholdTwoChosen(e.code("RelF_Schwelle_1"), e.code("RelF_Schwelle_2"),
                                 e.code("RelF_gr_kl"), kHumidityMaxCode));
}

void humidityRunTime(AutomationEditor &e)
{
    e.storeCode("RelF_Stellzeit");
    e.setSymbol("RelF_Ab_Auf", humiditySecondAction(e.code("RelF_gr_kl"), e.code("RelF_Stellzeit")));
}

void humidityStart(AutomationEditor &e)
{
    applyPair(e, "RelF_von", "RelF_bis", periodStartChosen(e.code("RelF_von"), e.code("RelF_bis")));
}

void humidityEnd(AutomationEditor &e)
{
    applyPair(e, "RelF_von", "RelF_bis", periodEndChosen(e.code("RelF_von"), e.code("RelF_bis")));
}

void humidityLoaded(AutomationEditor &e)
{
    showHumidityActions(e, e.field("RelF_gr_kl"), e.field("RelF_Stellzeit"));
}

} // namespace

const EditorTable &windTable()
{
    static const EditorTable t{
        .editor = windSpec(),
        .groupBox = "WindSteuerung",
        .motorCaption = "EW_Label0",
        .help = "Help_EW",
        .list = "EW_Liste",
        .headers = {header("Label46", "Motor / Raum        Ein/Aus     bei v >        in Richtung",
                           {{0}, {14, 3}, {21, 6}, {31, 1}})},
        .rules =
            {
                {"EW_Richtung", windDirection},
            },
        .displays = {},
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return windLine(name, s.Wind[m], s.Regen[m]);
        },
    };
    return t;
}

const EditorTable &rainTable()
{
    static const EditorTable t{
        .editor = rainSpec(),
        .groupBox = "RegenSteuerung",
        .motorCaption = "ER_Label0",
        .help = "Help_ER",
        .list = "ER_Liste",
        .headers = {header("Label47", "Motor / Raum        Ein/Aus     in Richtung", {{0}, {14, 3}, {23, 1}})},
        .displays = {},
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return rainLine(name, s.Regen[m]);
        },
    };
    return t;
}

const EditorTable &humidityTable()
{
    static const EditorTable t{
        .editor = humiditySpec(),
        .groupBox = "FeuchteSteuerung",
        .motorCaption = "Label29",
        .help = "Help_Feuchte",
        .list = "RelF_Liste",
        .headers = {header("RelF_Label_7", "Motor / Raum      Ein/Aus     von      -       bis         "
                                           "Schwelle 1        Schwelle 2    Stellzeit",
                           {{0}, {14, 3}, {19, 5}, {25, 1}, {27, 5}, {34, 7}, {45, 7}, {53, 6}})},
        .rules =
            {
                {"RelF_gr_kl", humidityComparison},
                {"RelF_Schwelle_1", humidityThresholdOne},
                {"RelF_Schwelle_2", humidityThresholdTwo},
                {"RelF_Stellzeit", humidityRunTime},
                {"RelF_von", humidityStart},
                {"RelF_bis", humidityEnd},
            },
        .displays = {symbol("RelF_Auf_Ab", "é"), shown("RelF_kl_gr", "F<"), symbol("RelF_Ab_Auf", "ê")},
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return humidityLine(name, s.FeuchtigkeitsSteuerung[m]);
        },
        .afterLoad = humidityLoaded,
    };
    return t;
}

} // namespace vandorelle
