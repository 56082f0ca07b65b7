#include "config/automation_items.h"
#include "config/editor_fields.h"
#include "config/run_time_items.h"

namespace vandorelle {

namespace {

template <auto F>
constexpr FieldRef wind = &fieldOf<&ConfigStore::Wind, F>;
template <auto F>
constexpr FieldRef rain = &fieldOf<&ConfigStore::Regen, F>;
template <auto F>
constexpr FieldRef relf = &fieldOf<&ConfigStore::FeuchtigkeitsSteuerung, F>;

constexpr const char *kDirectionHint = "In diese Richtung fährt der Antrieb bei Wind und Regen";

} // namespace

const EditorSpec &windSpec()
{
    static const EditorSpec s{
        .prefix = "EW",
        .table = MotorTable::Wind,
        .groupCaption = "Einfahren bei Wind",
        .onOff = "EW_Ein_Aus",
        .fields =
            {
                {"EW_Ein_Aus", items::onOff, wind<&WindRecord::EinAus>},
                {"EW_kmh", items::windSpeeds, wind<&WindRecord::Geschwindigkeit>},
                // Wind and rain share one direction per motor, kept in the rain record.
                {.name = "EW_Richtung",
                 .items = items::directions,
                 .field = rain<&RegenRecord::Richtung>,
                 .hint = kDirectionHint,
                 .symbols = true,
                 .borrowed = true},
            },
        .captions =
            {
                {"EW_Label1", "Bei Wingeschwindigkeit größer        km/h", {"EW_kmh"}},
                {"EW_Label2", "Bei Wind fährt der Antrieb in Richtung", {"EW_Richtung"}},
                {"EW_Label3", "(Richtung gilt auch für \"Einfahren bei Regen\"", {}},
            },
    };
    return s;
}

const EditorSpec &rainSpec()
{
    static const EditorSpec s{
        .prefix = "ER",
        .table = MotorTable::Regen,
        .groupCaption = "Einfahren bei Regen",
        .onOff = "ER_Ein_Aus",
        .fields =
            {
                {"ER_Ein_Aus", items::onOff, rain<&RegenRecord::EinAus>},
                {.name = "ER_Richtung",
                 .items = items::directions,
                 .field = rain<&RegenRecord::Richtung>,
                 .hint = kDirectionHint,
                 .symbols = true},
            },
        .captions =
            {
                {"ER_Label1", "Bei Regen fährt der Antrieb in Richtung", {"ER_Richtung"}},
                {"ER_Label2", "(Festlegung der Richtung gilt auch für Menü \"Einfahren bei Wind\"", {}},
            },
    };
    return s;
}

const EditorSpec &humiditySpec()
{
    using R = FeuchtigkeitsRecord;
    static const EditorSpec s{
        .prefix = "RelF",
        .table = MotorTable::FeuchtigkeitsSteuerung,
        .groupCaption = "Luftfeuchtigkeits-Steuerung",
        .onOff = "RelF_Ein_Aus",
        .fields =
            {
                {"RelF_Ein_Aus", items::onOff, relf<&R::EinAus>},
                {"RelF_gr_kl", items::humidityComparisons, relf<&R::Gr_Kl>,
                 "Auslösung bei Über- bzw. Unterschreiten der Schwelle 1"},
                {"RelF_Schwelle_1", items::humidities, relf<&R::Schwelle1>,
                 "Grenz-Feuchte, deren Über- bzw. Unterschreiten zur Auslösung führt"},
                {"RelF_Schwelle_2", items::humidities, relf<&R::Schwelle2>,
                 "Zweite Schwelle der rel. Luftfeuchtigkeit"},
                {"RelF_Stellzeit", runTimeItemsWithDauer, relf<&R::Dauer>,
                 "Laufzeit des Antriebs: 1 ... 99s bzw. Dauerbetrieb (z.B. für Ventilatoren)"},
                {"RelF_von", items::dayHours, relf<&R::Von>},
                {"RelF_bis", items::dayHours, relf<&R::Bis>},
            },
        .captions =
            {
                {"RelF_Label_1", "aktiviert von - bis", {"RelF_von", "RelF_bis"}},
                {"RelF_Label_2", "größer kleiner", {"RelF_gr_kl", "RelF_kl_gr"}},
                {"RelF_Label_3", "Feuchte- Schwelle 1", {"RelF_Schwelle_1"}},
                {"RelF_Label_4", "Auf Ab", {"RelF_Auf_Ab", "RelF_Ab_Auf"}},
                {"RelF_Label_5", "Feuchte- Schwelle 2", {"RelF_Schwelle_2"}},
                {"RelF_Label_6", "Stellzeit", {"RelF_Stellzeit"}},
            },
    };
    return s;
}

} // namespace vandorelle
