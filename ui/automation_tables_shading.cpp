#include "config/automation_items.h"
#include "config/automation_lines.h"
#include "config/run_time_items.h"
#include "ui/automation_tables.h"

namespace vandorelle {

namespace {

template <auto F>
constexpr FieldRef ba = &fieldOf<&ConfigStore::Beschattung, F>;
template <auto F>
constexpr FieldRef dm = &fieldOf<&ConfigStore::DaemmerungMorgen, F>;
template <auto F>
constexpr FieldRef da = &fieldOf<&ConfigStore::DaemmerungAbend, F>;

constexpr const char *kLuxHint = "Durch Anklicken zwischen aktuellem und mittlerem Wert wechseln";

void shadingStart(AutomationEditor &e)
{
    applyPair(e, "BA_von", "BA_Bis", shadingStartChosen(e.code("BA_von"), e.code("BA_Bis")));
}

void shadingEnd(AutomationEditor &e)
{
    applyPair(e, "BA_von", "BA_Bis", shadingEndChosen(e.code("BA_von"), e.code("BA_Bis")));
}

} // namespace

const EditorTable &shadingTable()
{
    using R = BeschattungRecord;
    static const EditorTable t{
        .prefix = "BA",
        .table = MotorTable::Beschattung,
        .groupBox = "GroupBox4",
        .groupCaption = "Beschattungsautomatik",
        .motorCaption = "Label26",
        .onOff = "BA_EIN_AUS",
        .help = "Help_BA",
        .list = "BA_Liste",
        .headers = {header("Label28", "Motor / Raum    Ein/Aus    T/°C        von      -       bis"
                                      "      bei Lux     Aktivierungszeit",
                           {{0}, {14, 3}, {18, 5}, {25, 5}, {31, 1}, {33, 5}, {40, 3}, {49, 4}})},
        .fields =
            {
                plain("BA_EIN_AUS", items::onOff, ba<&R::EinAus>),
                plain("BA_Temperatur", items::shadingTemperatures, ba<&R::Temperatur>,
                      "Beschattung nur, wenn diese Temperatur erreicht ist"),
                ruled("BA_von", items::shadingHours, ba<&R::Von>, shadingStart),
                ruled("BA_Bis", items::shadingHours, ba<&R::Bis>, shadingEnd),
                plain("BA_Lux", items::shadingBrightness, ba<&R::Helligkeit>,
                      "Bei dieser Helligkeit wird beschattet"),
                plain("BA_Dauer", runTimeItems, ba<&R::Dauer>, "Laufzeit des Antriebes bei Beschattung"),
            },
        .displays = {shown("BA_LuxAktuell", "250", kLuxHint)},
        .details =
            {
                {"BA_Label1", "ab T/°C", {"BA_Temperatur"}},
                {"BA_Label2", "Beschattung ist aktiv im Zeitraum von - bis", {"BA_von", "BA_Bis"}},
                {"BA_Label3", "Grenz- Lux-Wert", {"BA_Lux"}},
                {"BA_Label5", "Lux mittel", {"BA_LuxAktuell"}},
                {"BA_Label4", "Aktivie- rungszeit", {"BA_Dauer"}},
            },
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return shadingLine(name, s.Beschattung[m]);
        },
    };
    return t;
}

const EditorTable &dawnTable()
{
    using R = DaemmerungRecord;
    static const EditorTable t{
        .prefix = "DM",
        .table = MotorTable::DaemmerungMorgen,
        .groupBox = "GroupBox5",
        .groupCaption = "Dämmerungsautomatik Morgen",
        .motorCaption = "DM_Label0",
        .onOff = "DM_Ein_Aus",
        .help = "Help_DM",
        .list = "DM_Liste",
        .headers = {header("Label18", "Motor / Raum      Ein/Aus          ab        bei Lux     "
                                      "Aktivierungszeit",
                           {{0}, {14, 3}, {21, 5}, {29, 3}, {38, 4}})},
        .fields =
            {
                plain("DM_Ein_Aus", items::onOff, dm<&R::EinAus>),
                plain("DM_von", items::dawnStarts, dm<&R::Von>,
                      "\"Nr.4\" -->  Aktivierungszeit als \"Feste Schaltzeit\", Schaltzeit-Nr. 4, "
                      "Laufzeit = 0 eintragen"),
                plain("DM_Lux", items::twilightBrightness, dm<&R::Helligkeit>,
                      "Bei dieser Helligkeit wird der Rollladen geöffnet"),
                plain("DM_Dauer", runTimeItemsWithDauer, dm<&R::Dauer>,
                      "Laufzeit des Motors bei Aktivierung"),
            },
        .displays = {shown("DM_LuxAktuell", "250", kLuxHint)},
        .details =
            {
                {"DM_Label1", "Dämmerungsautomatik ist morgens aktiviert ab", {"DM_von"}},
                {"DM_Label2", "Grenz- Lux-Wert", {"DM_Lux"}},
                {"DM_Label4", "Lux mittel", {"DM_LuxAktuell"}},
                {"DM_Label3", "Aktivie- rungszeit", {"DM_Dauer"}},
            },
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return dawnLine(name, s.DaemmerungMorgen[m]);
        },
    };
    return t;
}

const EditorTable &duskTable()
{
    using R = DaemmerungRecord;
    static const EditorTable t{
        .prefix = "DA",
        .table = MotorTable::DaemmerungAbend,
        .groupBox = "GroupBox6",
        .groupCaption = "Dämmerungsautomatik Abend",
        .motorCaption = "DA_Label0",
        .onOff = "DA_Ein_Aus",
        .help = "Help_DA",
        .list = "DA_Liste",
        .headers = {header("Label19", "Motor / Raum     Ein/Aus          ab        bei Lux     "
                                      "Aktivierungszeit",
                           {{0}, {14, 3}, {20, 5}, {28, 3}, {37, 4}})},
        .fields =
            {
                plain("DA_Ein_Aus", items::onOff, da<&R::EinAus>),
                plain("DA_von", items::duskStarts, da<&R::Von>,
                      "\"Nr.3\" -->  Aktivierungszeit als \"Feste Schaltzeit\", Schaltzeit-Nr. 3, "
                      "Laufzeit = 0 eintragen"),
                plain("DA_Lux", items::twilightBrightness, da<&R::Helligkeit>,
                      "Bei dieser Helligkeit wird der Rollladen geschlossen"),
                plain("DA_Dauer", runTimeItemsWithDauer, da<&R::Dauer>,
                      "Laufzeit des Motors bei Aktivierung"),
            },
        .displays = {shown("DA_LuxAktuell", "250", kLuxHint)},
        .details =
            {
                {"DA_Label1", "Dämmerungsautomatik ist abends aktiviert ab", {"DA_von"}},
                {"DA_Label2", "Grenz- Lux-Wert", {"DA_Lux"}},
                {"DA_Label4", "Lux mittel", {"DA_LuxAktuell"}},
                {"DA_Label3", "Aktivie- rungszeit", {"DA_Dauer"}},
            },
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return duskLine(name, s.DaemmerungAbend[m]);
        },
    };
    return t;
}

} // namespace vandorelle
