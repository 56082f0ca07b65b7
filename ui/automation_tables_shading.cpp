#include "config/automation_lines.h"
#include "ui/automation_tables.h"

namespace vandorelle {

namespace {

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
    static const EditorTable t{
        .editor = shadingSpec(),
        .groupBox = "GroupBox4",
        .motorCaption = "Label26",
        .help = "Help_BA",
        .list = "BA_Liste",
        .headers = {header("Label28", "Motor / Raum    Ein/Aus    T/°C        von      -       bis"
                                      "      bei Lux     Aktivierungszeit",
                           {{0}, {14, 3}, {18, 5}, {25, 5}, {31, 1}, {33, 5}, {40, 3}, {49, 4}})},
        .rules = {{"BA_von", shadingStart}, {"BA_Bis", shadingEnd}},
        .displays = {shown("BA_LuxAktuell", "250", kLuxHint)},
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return shadingLine(name, s.Beschattung[m]);
        },
    };
    return t;
}

const EditorTable &dawnTable()
{
    static const EditorTable t{
        .editor = dawnSpec(),
        .groupBox = "GroupBox5",
        .motorCaption = "DM_Label0",
        .help = "Help_DM",
        .list = "DM_Liste",
        .headers = {header("Label18", "Motor / Raum      Ein/Aus          ab        bei Lux     "
                                      "Aktivierungszeit",
                           {{0}, {14, 3}, {21, 5}, {29, 3}, {38, 4}})},
        .displays = {shown("DM_LuxAktuell", "250", kLuxHint)},
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return dawnLine(name, s.DaemmerungMorgen[m]);
        },
    };
    return t;
}

const EditorTable &duskTable()
{
    static const EditorTable t{
        .editor = duskSpec(),
        .groupBox = "GroupBox6",
        .motorCaption = "DA_Label0",
        .help = "Help_DA",
        .list = "DA_Liste",
        .headers = {header("Label19", "Motor / Raum     Ein/Aus          ab        bei Lux     "
                                      "Aktivierungszeit",
                           {{0}, {14, 3}, {20, 5}, {28, 3}, {37, 4}})},
        .displays = {shown("DA_LuxAktuell", "250", kLuxHint)},
        .line = [](const ConfigStore &s, const DeviceFlags &, int m, const QString &name) {
            return duskLine(name, s.DaemmerungAbend[m]);
        },
    };
    return t;
}

} // namespace vandorelle
