#include "config/automation_lines.h"
#include "ui/automation_tables.h"

namespace vandorelle {

namespace {

// One duration code, read on the scale of the connected variant.
void pushButtonDuration(AutomationEditor &e)
{
    e.storeCode(e.flags().TastFunk ? "Tast_Dauer_Funk" : "Tast_Dauer");
}

void pushButtonFields(AutomationEditor &e, bool on)
{
    e.setShown({"Tast_Label1"}, on);
    e.setShown({"Tast_Dauer_Funk"}, on && e.flags().TastFunk);
    e.setShown({"Tast_Dauer"}, on && !e.flags().TastFunk);
}

} // namespace

const EditorTable &pushButtonTable()
{
    static const EditorTable t{
        .editor = pushButtonSpec(),
        .groupBox = "GroupBox_Tast_Automatik",
        .motorCaption = "Label17",
        .help = "Help_TA",
        .list = "Tast_Liste",
        .headers = {header("Tast_Label2", "Motor / Raum        Ein/Aus     Aktivierungszeit", {{0}, {14, 3}, {23, 4}})},
        .rules =
            {
                {"Tast_Dauer", pushButtonDuration},
                {"Tast_Dauer_Funk", pushButtonDuration},
            },
        .displays = {},
        .line = [](const ConfigStore &s, const DeviceFlags &f, int m, const QString &name) {
            return pushButtonLine(name, s.TastAutomatik[m], f.TastFunk);
        },
        .showFields = pushButtonFields,
    };
    return t;
}

const EditorTable &reversingTable()
{
    static const EditorTable t{
        .editor = reversingSpec(),
        .groupBox = "GroupBox13",
        .motorCaption = "RA_Label0",
        .help = "Help_Reversier",
        .list = "RA_Liste",
        .headers = {header("Label51", "Motor / Raum        Ein/Aus     Rückl. nach AUF     Rückl. nach AB",
                           {{0}, {14, 3}, {23, 4}, {37, 4}})},
        .displays = {},
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return reversingLine(name, s.Reversierung[m]);
        },
    };
    return t;
}

} // namespace vandorelle
