#include "config/automation_items.h"
#include "config/automation_lines.h"
#include "config/run_time_items.h"
#include "ui/automation_displays.h"
#include "ui/automation_tables.h"

namespace vandorelle {

namespace {

template <auto F>
constexpr FieldRef pt = &fieldOf<&ConfigStore::ProportionaleTemperatursteuerung, F>;
template <auto F>
constexpr FieldRef it = &fieldOf<&ConfigStore::InnenTemperatursteuerung, F>;
template <auto F>
constexpr FieldRef at = &fieldOf<&ConfigStore::AussenTemperatursteuerung, F>;

constexpr const char *kStellzeitHint =
    "Laufzeit des Antriebs: 1 ... 99s bzw. Dauerbetrieb (z.B. für Ventilatoren)";
constexpr const char *kThreshold2Hint = "Zweite Temperaturschwelle";
constexpr const char *kComparisonHint = "Auslösung bei Über- bzw. Unterschreiten der Schwelle 1";

void proportionalStart(AutomationEditor &e)
{
    applyPair(e, "PT_von", "PT_bis", periodStartChosen(e.code("PT_von"), e.code("PT_bis")));
}

void proportionalEnd(AutomationEditor &e)
{
    applyPair(e, "PT_von", "PT_bis", periodEndChosen(e.code("PT_von"), e.code("PT_bis")));
}

void insideStart(AutomationEditor &e)
{
    applyPair(e, "IT_von", "IT_bis", periodStartChosen(e.code("IT_von"), e.code("IT_bis")));
}

void insideEnd(AutomationEditor &e)
{
    applyPair(e, "IT_von", "IT_bis", periodEndChosen(e.code("IT_von"), e.code("IT_bis")));
}

void insideThresholdOne(AutomationEditor &e)
{
    applyPair(e, "IT_Schwelle_1", "IT_Schwelle_2",
              thresholdOneChosen(e.code("IT_Schwelle_1"), e.code("IT_Schwelle_2"),
                                 e.code("IT_gr_kl"), kTemperatureMaxCode));
}

void insideThresholdTwo(AutomationEditor &e)
{
    applyPair(e, "IT_Schwelle_1", "IT_Schwelle_2",
              thresholdTwoChosen(e.code("IT_Schwelle_1"), e.code("IT_Schwelle_2"),
                                 e.code("IT_gr_kl"), kTemperatureMaxCode));
}

void insideComparison(AutomationEditor &e)
{
    e.storeCode("IT_gr_kl");
    e.display("IT_kl_gr")->setText(secondComparison(QLatin1Char('T'), e.code("IT_gr_kl")));
    insideThresholdOne(e);
}

void showOpposite(AutomationEditor &e, const char *display, int32_t richtung)
{
    if (const auto arrow = oppositeDirection(richtung))
        e.setSymbol(display, *arrow);
}

void insideDirection(AutomationEditor &e)
{
    e.storeCode("IT_Auf_Ab");
    showOpposite(e, "IT_Ab_Auf", e.code("IT_Auf_Ab"));
}

void insideLoaded(AutomationEditor &e)
{
    e.display("IT_kl_gr")->setText(secondComparison(QLatin1Char('T'), e.field("IT_gr_kl")));
    showOpposite(e, "IT_Ab_Auf", e.field("IT_Auf_Ab"));
}

void outsideThresholdOne(AutomationEditor &e)
{
    applyPair(e, "AT_Schwelle_1", "AT_Schwelle_2",
              outsideThresholdOneChosen(e.code("AT_Schwelle_1"), e.code("AT_Schwelle_2")));
}

void outsideThresholdTwo(AutomationEditor &e)
{
    applyPair(e, "AT_Schwelle_1", "AT_Schwelle_2",
              outsideThresholdTwoChosen(e.code("AT_Schwelle_1"), e.code("AT_Schwelle_2")));
}

void outsideAction(AutomationEditor &e)
{
    e.storeCode("AT_Auf_Ab");
    showOpposite(e, "AT_Ab_Auf", e.code("AT_Auf_Ab"));
}

void outsideEntered(AutomationEditor &e)
{
    e.display("AT_gr_kl")->setText(QStringLiteral("T<"));
    e.display("AT_kl_gr")->setText(QStringLiteral("T>"));
    e.setSymbol("AT_Ab_Auf", items::kUp);
}

void outsideLoaded(AutomationEditor &e)
{
    showOpposite(e, "AT_Ab_Auf", e.field("AT_Auf_Ab"));
}

// A deactivating action at threshold 1 leaves nothing to do at threshold 2.
void outsideFields(AutomationEditor &e, bool on)
{
    e.setShown({"AT_Schwelle_1", "AT_Auf_Ab", "AT_gr_kl", "AT_Label_1", "AT_Label_2"}, on);
    const bool deactivated = e.field("AT_Auf_Ab") == kOutsideDeactivated;
    e.setShown({"AT_Schwelle_2", "AT_Stellzeit", "AT_kl_gr", "AT_Ab_Auf", "AT_Label_3", "AT_Label_4"},
               on && !deactivated);
}

} // namespace

const EditorTable &proportionalTable()
{
    using R = ProportionaleTemperaturRecord;
    static const EditorTable t{
        .prefix = "PT",
        .table = MotorTable::ProportionaleTemperatursteuerung,
        .groupBox = "GroupBox9",
        .groupCaption = "Proportionale Temperatursteuerung",
        .motorCaption = "PT_Label_0",
        .onOff = "PT_Ein_Aus",
        .help = "Help_PT",
        .list = "PT_Liste",
        .headers =
            {
                header("Label67", "Motor / Raum      Ein/Aus     von      -       bis       Temp.",
                       {{0}, {14, 3}, {19, 5}, {25, 1}, {27, 5}, {33, 5}}),
                {.name = "Label100", .text = "éê", .symbols = true, .columns = {{40, 1}}},
                header("Label101", "Bereich  Stellzeit  Schritte", {{43, 3}, {48, 5}, {57, 1}}),
            },
        .fields =
            {
                plain("PT_Ein_Aus", items::onOff, pt<&R::EinAus>),
                ruled("PT_von", items::dayHours, pt<&R::Von>, proportionalStart),
                ruled("PT_bis", items::dayHours, pt<&R::Bis>, proportionalEnd),
                plain("PT_Soll_Temp", items::setPoints, pt<&R::SollTemperatur>,
                      "Beim Überschreiten dieser Innen-Temperatur wird die Proportionale "
                      "Temperatursteuerung aktiviert"),
                arrows("PT_Richtung", pt<&R::Richtung>, "Laufrichtung, beim Überschreiten der Soll-Temperatur"),
                plain("PT_Bereich", items::controlBands, pt<&R::Regelbereich>,
                      "Temperaturdifferenz Soll-Ist bei max. Öffnung"),
                plain("PT_Stellzeit", runTimeItems, pt<&R::MaxStellzeit>,
                      "Laufzeit des Antriebs von der Null-Lage bis zur max. Öffnung"),
                plain("PT_Schritte", items::positionCounts, pt<&R::Schritte>, "Anzahl Öffnungspositionen"),
            },
        .displays = {},
        .details =
            {
                {"PT_Label_1", "aktiviert von - bis", {"PT_von", "PT_bis"}},
                {"PT_Label_2", "Soll- Temperatur", {"PT_Soll_Temp"}},
                {"PT_Label_3", "Aktivier.- Richtung", {"PT_Richtung"}},
                {"PT_Label_4", "Regel- Bereich", {"PT_Bereich"}},
                {"PT_Label_5", "Max. Stellzeit", {"PT_Stellzeit"}},
                {"PT_Label_6", "Anzahl Schritte", {"PT_Schritte"}},
            },
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return proportionalLine(name, s.ProportionaleTemperatursteuerung[m]);
        },
    };
    return t;
}

const EditorTable &insideTable()
{
    using R = InnenTemperaturRecord;
    static const EditorTable t{
        .prefix = "IT",
        .table = MotorTable::InnenTemperatursteuerung,
        .groupBox = "GroupBox10",
        .groupCaption = "Innen-Temperatursteuerung",
        .motorCaption = "IT_Label_0",
        .onOff = "IT_Ein_Aus",
        .help = "Help_IT",
        .list = "IT_Liste",
        .headers = {header("Label68", "Motor / Raum      Ein/Aus     von      -       bis         "
                                      "Schwelle 1        Schwelle 2    Stellzeit",
                           {{0}, {14, 3}, {19, 5}, {25, 1}, {27, 5}, {34, 8}, {45, 8}, {53, 6}})},
        .fields =
            {
                plain("IT_Ein_Aus", items::onOff, it<&R::EinAus>),
                ruled("IT_gr_kl", items::temperatureComparisons, it<&R::Gr_Kl>, insideComparison,
                      kComparisonHint),
                ruled("IT_Schwelle_1", items::temperatureThresholds, it<&R::Schwelle1>, insideThresholdOne,
                      "Grenz-Temperatur, deren Über- bzw. Unterschreiten zur Auslösung führt"),
                arrows("IT_Auf_Ab", it<&R::Richtung>,
                       "Aktivierungsrichtung, wenn Temperaturschwelle 1 über- bzw. unterschritten wird",
                       insideDirection),
                ruled("IT_Schwelle_2", items::temperatureThresholds, it<&R::Schwelle2>, insideThresholdTwo,
                      kThreshold2Hint),
                plain("IT_Stellzeit", runTimeItemsWithDauer, it<&R::Dauer>, kStellzeitHint),
                ruled("IT_von", items::dayHours, it<&R::Von>, insideStart),
                ruled("IT_bis", items::dayHours, it<&R::Bis>, insideEnd),
            },
        .displays = {shown("IT_kl_gr", "T<"), symbol("IT_Ab_Auf", "é")},
        .details =
            {
                {"IT_Label_1", "aktiviert von - bis", {"IT_von", "IT_bis"}},
                {"IT_Label_2", "größer kleiner", {"IT_gr_kl", "IT_kl_gr"}},
                {"IT_Label_3", "Temperatur- Schwelle 1", {"IT_Schwelle_1"}},
                {"IT_Label_4", "Auf Ab", {"IT_Auf_Ab", "IT_Ab_Auf"}},
                {"IT_Label_5", "Temperatur- Schwelle 2", {"IT_Schwelle_2"}},
                {"IT_Label_6", "Stellzeit", {"IT_Stellzeit"}},
            },
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return insideLine(name, s.InnenTemperatursteuerung[m]);
        },
        .afterLoad = insideLoaded,
    };
    return t;
}

const EditorTable &outsideTable()
{
    using R = AussenTemperaturRecord;
    static const EditorTable t{
        .prefix = "AT",
        .table = MotorTable::AussenTemperatursteuerung,
        .groupBox = "GroupBox11",
        .groupCaption = "Außen-Temperatursteuerung",
        .motorCaption = "AT_Label_0",
        .onOff = "AT_Ein_Aus",
        .help = "Help_AT",
        .list = "AT_Liste",
        .headers = {header("Label52", "Motor / Raum      Ein/Aus     Schwelle 1        Schwelle 2    "
                                      "Stellzeit",
                           {{0}, {14, 3}, {20, 7}, {30, 7}, {39, 3}})},
        .fields =
            {
                plain("AT_Ein_Aus", items::onOff, at<&R::EinAus>),
                ruled("AT_Schwelle_1", items::temperatureThresholds, at<&R::Schwelle1>, outsideThresholdOne,
                      "Grenz-Temperatur, deren Unterschreiten zur Auslösung führt"),
                {.name = "AT_Auf_Ab",
                 .items = items::outsideActions,
                 .field = at<&R::Richtung>,
                 .hint = "Festlegung der Aktivierungsrichtung bzw. Deaktivierung des Antriebs beim "
                         "Unterschreiten der Temperaturschwelle 1",
                 .rule = outsideAction,
                 .symbols = true},
                ruled("AT_Schwelle_2", items::temperatureThresholds, at<&R::Schwelle2>, outsideThresholdTwo,
                      kThreshold2Hint),
                plain("AT_Stellzeit", runTimeItemsWithDauer, at<&R::Dauer>, kStellzeitHint),
            },
        .displays = {shown("AT_gr_kl", "T<", kComparisonHint), shown("AT_kl_gr", "T>"),
                     symbol("AT_Ab_Auf", "é")},
        .details =
            {
                {"AT_Label_1", "Temperatur- Schwelle 1", {"AT_gr_kl", "AT_Schwelle_1"}},
                {"AT_Label_2", "Auf, Ab, deaktiv", {"AT_Auf_Ab"}},
                {"AT_Label_3", "Temperatur- Schwelle 2", {"AT_kl_gr", "AT_Schwelle_2", "AT_Ab_Auf"}},
                {"AT_Label_4", "Stellzeit", {"AT_Stellzeit"}},
            },
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return outsideLine(name, s.AussenTemperatursteuerung[m]);
        },
        .afterLoad = outsideLoaded,
        .showFields = outsideFields,
        .beforeEnter = outsideEntered,
    };
    return t;
}

} // namespace vandorelle
