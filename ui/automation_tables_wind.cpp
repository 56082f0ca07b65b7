#include "config/automation_items.h"
#include "config/automation_lines.h"
#include "config/run_time_items.h"
#include "ui/automation_displays.h"
#include "ui/automation_tables.h"

namespace vandorelle {

namespace {

template <auto F>
constexpr FieldRef wind = &fieldOf<&ConfigStore::Wind, F>;
template <auto F>
constexpr FieldRef rain = &fieldOf<&ConfigStore::Regen, F>;
template <auto F>
constexpr FieldRef relf = &fieldOf<&ConfigStore::FeuchtigkeitsSteuerung, F>;

constexpr const char *kDirectionHint = "In diese Richtung fährt der Antrieb bei Wind und Regen";

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
        .prefix = "EW",
        .table = MotorTable::Wind,
        .groupBox = "WindSteuerung",
        .groupCaption = "Einfahren bei Wind",
        .motorCaption = "EW_Label0",
        .onOff = "EW_Ein_Aus",
        .help = "Help_EW",
        .list = "EW_Liste",
        .headers = {header("Label46", "Motor / Raum        Ein/Aus     bei v >        in Richtung",
                           {{0}, {14, 3}, {21, 6}, {31, 1}})},
        .fields =
            {
                plain("EW_Ein_Aus", items::onOff, wind<&WindRecord::EinAus>),
                plain("EW_kmh", items::windSpeeds, wind<&WindRecord::Geschwindigkeit>),
                arrows("EW_Richtung", rain<&RegenRecord::Richtung>, kDirectionHint, windDirection),
            },
        .displays = {},
        .details =
            {
                {"EW_Label1", "Bei Wingeschwindigkeit größer        km/h", {"EW_kmh"}},
                {"EW_Label2", "Bei Wind fährt der Antrieb in Richtung", {"EW_Richtung"}},
                {"EW_Label3", "(Richtung gilt auch für \"Einfahren bei Regen\"", {}},
            },
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return windLine(name, s.Wind[m], s.Regen[m]);
        },
    };
    return t;
}

const EditorTable &rainTable()
{
    static const EditorTable t{
        .prefix = "ER",
        .table = MotorTable::Regen,
        .groupBox = "RegenSteuerung",
        .groupCaption = "Einfahren bei Regen",
        .motorCaption = "ER_Label0",
        .onOff = "ER_Ein_Aus",
        .help = "Help_ER",
        .list = "ER_Liste",
        .headers = {header("Label47", "Motor / Raum        Ein/Aus     in Richtung", {{0}, {14, 3}, {23, 1}})},
        .fields =
            {
                plain("ER_Ein_Aus", items::onOff, rain<&RegenRecord::EinAus>),
                arrows("ER_Richtung", rain<&RegenRecord::Richtung>, kDirectionHint),
            },
        .displays = {},
        .details =
            {
                {"ER_Label1", "Bei Regen fährt der Antrieb in Richtung", {"ER_Richtung"}},
                {"ER_Label2", "(Festlegung der Richtung gilt auch für Menü \"Einfahren bei Wind\"", {}},
            },
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return rainLine(name, s.Regen[m]);
        },
    };
    return t;
}

const EditorTable &humidityTable()
{
    using R = FeuchtigkeitsRecord;
    static const EditorTable t{
        .prefix = "RelF",
        .table = MotorTable::FeuchtigkeitsSteuerung,
        .groupBox = "FeuchteSteuerung",
        .groupCaption = "Luftfeuchtigkeits-Steuerung",
        .motorCaption = "Label29",
        .onOff = "RelF_Ein_Aus",
        .help = "Help_Feuchte",
        .list = "RelF_Liste",
        .headers = {header("RelF_Label_7", "Motor / Raum      Ein/Aus     von      -       bis         "
                                           "Schwelle 1        Schwelle 2    Stellzeit",
                           {{0}, {14, 3}, {19, 5}, {25, 1}, {27, 5}, {34, 7}, {45, 7}, {53, 6}})},
        .fields =
            {
                plain("RelF_Ein_Aus", items::onOff, relf<&R::EinAus>),
                ruled("RelF_gr_kl", items::humidityComparisons, relf<&R::Gr_Kl>, humidityComparison,
                      "Auslösung bei Über- bzw. Unterschreiten der Schwelle 1"),
                ruled("RelF_Schwelle_1", items::humidities, relf<&R::Schwelle1>, humidityThresholdOne,
                      "Grenz-Feuchte, deren Über- bzw. Unterschreiten zur Auslösung führt"),
                ruled("RelF_Schwelle_2", items::humidities, relf<&R::Schwelle2>, humidityThresholdTwo,
                      "Zweite Schwelle der rel. Luftfeuchtigkeit"),
                ruled("RelF_Stellzeit", runTimeItemsWithDauer, relf<&R::Dauer>, humidityRunTime,
                      "Laufzeit des Antriebs: 1 ... 99s bzw. Dauerbetrieb (z.B. für Ventilatoren)"),
                ruled("RelF_von", items::dayHours, relf<&R::Von>, humidityStart),
                ruled("RelF_bis", items::dayHours, relf<&R::Bis>, humidityEnd),
            },
        .displays = {symbol("RelF_Auf_Ab", "é"), shown("RelF_kl_gr", "F<"), symbol("RelF_Ab_Auf", "ê")},
        .details =
            {
                {"RelF_Label_1", "aktiviert von - bis", {"RelF_von", "RelF_bis"}},
                {"RelF_Label_2", "größer kleiner", {"RelF_gr_kl", "RelF_kl_gr"}},
                {"RelF_Label_3", "Feuchte- Schwelle 1", {"RelF_Schwelle_1"}},
                {"RelF_Label_4", "Auf Ab", {"RelF_Auf_Ab", "RelF_Ab_Auf"}},
                {"RelF_Label_5", "Feuchte- Schwelle 2", {"RelF_Schwelle_2"}},
                {"RelF_Label_6", "Stellzeit", {"RelF_Stellzeit"}},
            },
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return humidityLine(name, s.FeuchtigkeitsSteuerung[m]);
        },
        .afterLoad = humidityLoaded,
    };
    return t;
}

} // namespace vandorelle
