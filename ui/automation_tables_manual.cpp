#include "config/automation_items.h"
#include "config/automation_lines.h"
#include "config/run_time_items.h"
#include "ui/automation_tables.h"

namespace vandorelle {

namespace {

template <auto F>
constexpr FieldRef tast = &fieldOf<&ConfigStore::TastAutomatik, F>;
template <auto F>
constexpr FieldRef ra = &fieldOf<&ConfigStore::Reversierung, F>;

constexpr const char *kTastHint = "Laufzeit des Motors bei Aktivierung";

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
        .prefix = "Tast",
        .table = MotorTable::TastAutomatik,
        .groupBox = "GroupBox_Tast_Automatik",
        .groupCaption = "Tast-Automatik",
        .motorCaption = "Label17",
        .onOff = "Tast_Ein_Aus",
        .help = "Help_TA",
        .list = "Tast_Liste",
        .headers = {header("Tast_Label2", "Motor / Raum        Ein/Aus     Aktivierungszeit", {{0}, {14, 3}, {23, 4}})},
        .fields =
            {
                plain("Tast_Ein_Aus", items::onOff, tast<&TastAutomatikRecord::EinAus>),
                ruled("Tast_Dauer", runTimeItems, tast<&TastAutomatikRecord::Dauer>, pushButtonDuration,
                      kTastHint),
                ruled("Tast_Dauer_Funk", radioRunTimeItems, tast<&TastAutomatikRecord::Dauer>,
                      pushButtonDuration, kTastHint),
            },
        .displays = {},
        .details = {{"Tast_Label1", "Aktivierungszeit bei Auslösung des Bedientasters",
                     {"Tast_Dauer", "Tast_Dauer_Funk"}}},
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
        .prefix = "RA",
        .table = MotorTable::Reversierung,
        .groupBox = "GroupBox13",
        .groupCaption = "Reversier-Automatik",
        .motorCaption = "RA_Label0",
        .onOff = "RA_Ein_Aus",
        .help = "Help_Reversier",
        .list = "RA_Liste",
        .headers = {header("Label51", "Motor / Raum        Ein/Aus     Rückl. nach AUF     Rückl. nach AB",
                           {{0}, {14, 3}, {23, 4}, {37, 4}})},
        .fields =
            {
                plain("RA_Ein_Aus", items::onOff, ra<&ReversierungRecord::EinAus>),
                plain("RA_Auf", items::reverseTimes, ra<&ReversierungRecord::Bei_Auf>,
                      "Lamellen-Rücklaufzeit nach AUF"),
                plain("RA_Ab", items::reverseTimes, ra<&ReversierungRecord::Bei_Ab>,
                      "Lamellen-Rücklaufzeit nach AB"),
            },
        .displays = {},
        .details =
            {
                {"RA_Label1", "Rücklauf nach einer Aufwärtsbewegung               s", {"RA_Auf"}},
                {"RA_Label2", "Rücklauf nach einer Abwärtsbewegung                s", {"RA_Ab"}},
            },
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return reversingLine(name, s.Reversierung[m]);
        },
    };
    return t;
}

} // namespace vandorelle
