#include "config/automation_items.h"
#include "config/automation_lines.h"
#include "ui/automation_displays.h"
#include "ui/automation_tables.h"

namespace vandorelle {

namespace {

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
    static const EditorTable t{
        .editor = proportionalSpec(),
        .groupBox = "GroupBox9",
        .motorCaption = "PT_Label_0",
        .help = "Help_PT",
        .list = "PT_Liste",
        .headers =
            {
                header("Label67", "Motor / Raum      Ein/Aus     von      -       bis       Temp.",
                       {{0}, {14, 3}, {19, 5}, {25, 1}, {27, 5}, {33, 5}}),
                {.name = "Label100", .text = "éê", .symbols = true, .columns = {{40, 1}}},
                header("Label101", "Bereich  Stellzeit  Schritte", {{43, 3}, {48, 5}, {57, 1}}),
            },
        .rules =
            {
                {"PT_von", proportionalStart},
                {"PT_bis", proportionalEnd},
            },
        .displays = {},
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return proportionalLine(name, s.ProportionaleTemperatursteuerung[m]);
        },
    };
    return t;
}

const EditorTable &insideTable()
{
    static const EditorTable t{
        .editor = insideSpec(),
        .groupBox = "GroupBox10",
        .motorCaption = "IT_Label_0",
        .help = "Help_IT",
        .list = "IT_Liste",
        .headers = {header("Label68", "Motor / Raum      Ein/Aus     von      -       bis         "
                                      "Schwelle 1        Schwelle 2    Stellzeit",
                           {{0}, {14, 3}, {19, 5}, {25, 1}, {27, 5}, {34, 8}, {45, 8}, {53, 6}})},
        .rules =
            {
                {"IT_gr_kl", insideComparison},
                {"IT_Schwelle_1", insideThresholdOne},
                {"IT_Auf_Ab", insideDirection},
                {"IT_Schwelle_2", insideThresholdTwo},
                {"IT_von", insideStart},
                {"IT_bis", insideEnd},
            },
        .displays = {shown("IT_kl_gr", "T<"), symbol("IT_Ab_Auf", "é")},
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return insideLine(name, s.InnenTemperatursteuerung[m]);
        },
        .afterLoad = insideLoaded,
    };
    return t;
}

const EditorTable &outsideTable()
{
    static const EditorTable t{
        .editor = outsideSpec(),
        .groupBox = "GroupBox11",
        .motorCaption = "AT_Label_0",
        .help = "Help_AT",
        .list = "AT_Liste",
        .headers = {header("Label52", "Motor / Raum      Ein/Aus     Schwelle 1        Schwelle 2    "
                                      "Stellzeit",
                           {{0}, {14, 3}, {20, 7}, {30, 7}, {39, 3}})},
        .rules =
            {
                {"AT_Schwelle_1", outsideThresholdOne},
                {"AT_Auf_Ab", outsideAction},
                {"AT_Schwelle_2", outsideThresholdTwo},
            },
        // The fixed comparison at threshold 1 has the hint of the inside editor's comparison box.
        .displays = {shown("AT_gr_kl", "T<", insideSpec().field("IT_gr_kl")->hint), shown("AT_kl_gr", "T>"),
                     symbol("AT_Ab_Auf", "é")},
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
