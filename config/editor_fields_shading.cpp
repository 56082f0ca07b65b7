#include "config/automation_items.h"
#include "config/editor_fields.h"
#include "config/run_time_items.h"

namespace vandorelle {

namespace {

template <auto F>
constexpr FieldRef ba = &fieldOf<&ConfigStore::Beschattung, F>;
template <auto F>
constexpr FieldRef dm = &fieldOf<&ConfigStore::DaemmerungMorgen, F>;
template <auto F>
constexpr FieldRef da = &fieldOf<&ConfigStore::DaemmerungAbend, F>;

} // namespace

const EditorSpec &shadingSpec()
{
    using R = BeschattungRecord;
    static const EditorSpec s{
        .prefix = "BA",
        .table = MotorTable::Beschattung,
        .groupCaption = "Beschattungsautomatik",
        .onOff = "BA_EIN_AUS",
        .fields =
            {
                {"BA_EIN_AUS", items::onOff, ba<&R::EinAus>},
                {"BA_Temperatur", items::shadingTemperatures, ba<&R::Temperatur>,
                 "Beschattung nur, wenn diese Temperatur erreicht ist"},
                {"BA_von", items::shadingHours, ba<&R::Von>},
                {"BA_Bis", items::shadingHours, ba<&R::Bis>},
                {"BA_Lux", items::shadingBrightness, ba<&R::Helligkeit>, "Bei dieser Helligkeit wird beschattet"},
                {"BA_Dauer", runTimeItems, ba<&R::Dauer>, "Laufzeit des Antriebes bei Beschattung"},
            },
        .captions =
            {
                {"BA_Label1", "ab T/°C", {"BA_Temperatur"}},
                {"BA_Label2", "Beschattung ist aktiv im Zeitraum von - bis", {"BA_von", "BA_Bis"}},
                {"BA_Label3", "Grenz- Lux-Wert", {"BA_Lux"}},
                {"BA_Label5", "Lux mittel", {"BA_LuxAktuell"}},
                {"BA_Label4", "Aktivie- rungszeit", {"BA_Dauer"}},
            },
    };
    return s;
}

const EditorSpec &dawnSpec()
{
    using R = DaemmerungRecord;
    static const EditorSpec s{
        .prefix = "DM",
        .table = MotorTable::DaemmerungMorgen,
        .groupCaption = "Dämmerungsautomatik Morgen",
        .onOff = "DM_Ein_Aus",
        .fields =
            {
                {"DM_Ein_Aus", items::onOff, dm<&R::EinAus>},
                {"DM_von", items::dawnStarts, dm<&R::Von>,
                 "\"Nr.4\" -->  Aktivierungszeit als \"Feste Schaltzeit\", Schaltzeit-Nr. 4, Laufzeit = 0 eintragen"},
                {"DM_Lux", items::twilightBrightness, dm<&R::Helligkeit>,
                 "Bei dieser Helligkeit wird der Rollladen geöffnet"},
                {"DM_Dauer", runTimeItemsWithDauer, dm<&R::Dauer>, "Laufzeit des Motors bei Aktivierung"},
            },
        .captions =
            {
                {"DM_Label1", "Dämmerungsautomatik ist morgens aktiviert ab", {"DM_von"}},
                {"DM_Label2", "Grenz- Lux-Wert", {"DM_Lux"}},
                {"DM_Label4", "Lux mittel", {"DM_LuxAktuell"}},
                {"DM_Label3", "Aktivie- rungszeit", {"DM_Dauer"}},
            },
    };
    return s;
}

const EditorSpec &duskSpec()
{
    using R = DaemmerungRecord;
    static const EditorSpec s{
        .prefix = "DA",
        .table = MotorTable::DaemmerungAbend,
        .groupCaption = "Dämmerungsautomatik Abend",
        .onOff = "DA_Ein_Aus",
        .fields =
            {
                {"DA_Ein_Aus", items::onOff, da<&R::EinAus>},
                {"DA_von", items::duskStarts, da<&R::Von>,
                 "\"Nr.3\" -->  Aktivierungszeit als \"Feste Schaltzeit\", Schaltzeit-Nr. 3, Laufzeit = 0 eintragen"},
                {"DA_Lux", items::twilightBrightness, da<&R::Helligkeit>,
                 "Bei dieser Helligkeit wird der Rollladen geschlossen"},
                {"DA_Dauer", runTimeItemsWithDauer, da<&R::Dauer>, "Laufzeit des Motors bei Aktivierung"},
            },
        .captions =
            {
                {"DA_Label1", "Dämmerungsautomatik ist abends aktiviert ab", {"DA_von"}},
                {"DA_Label2", "Grenz- Lux-Wert", {"DA_Lux"}},
                {"DA_Label4", "Lux mittel", {"DA_LuxAktuell"}},
                {"DA_Label3", "Aktivie- rungszeit", {"DA_Dauer"}},
            },
    };
    return s;
}

} // namespace vandorelle
