#include "config/automation_items.h"
#include "config/editor_fields.h"
#include "config/run_time_items.h"

namespace vandorelle {

namespace {

template <auto F>
constexpr FieldRef tast = &fieldOf<&ConfigStore::TastAutomatik, F>;
template <auto F>
constexpr FieldRef ra = &fieldOf<&ConfigStore::Reversierung, F>;

constexpr const char *kTastHint = "Laufzeit des Motors bei Aktivierung";

} // namespace

const EditorSpec &pushButtonSpec()
{
    static const EditorSpec s{
        .prefix = "Tast",
        .table = MotorTable::TastAutomatik,
        .groupCaption = "Tast-Automatik",
        .onOff = "Tast_Ein_Aus",
        .fields =
            {
                {"Tast_Ein_Aus", items::onOff, tast<&TastAutomatikRecord::EinAus>},
                {.name = "Tast_Dauer",
                 .items = runTimeItems,
                 .field = tast<&TastAutomatikRecord::Dauer>,
                 .hint = kTastHint,
                 .scale = TastScale::Wired},
                {.name = "Tast_Dauer_Funk",
                 .items = radioRunTimeItems,
                 .field = tast<&TastAutomatikRecord::Dauer>,
                 .hint = kTastHint,
                 .scale = TastScale::Radio},
            },
        .captions = {{"Tast_Label1", "Aktivierungszeit bei Auslösung des Bedientasters",
                      {"Tast_Dauer", "Tast_Dauer_Funk"}}},
    };
    return s;
}

const EditorSpec &reversingSpec()
{
    static const EditorSpec s{
        .prefix = "RA",
        .table = MotorTable::Reversierung,
        .groupCaption = "Reversier-Automatik",
        .onOff = "RA_Ein_Aus",
        .fields =
            {
                {"RA_Ein_Aus", items::onOff, ra<&ReversierungRecord::EinAus>},
                {"RA_Auf", items::reverseTimes, ra<&ReversierungRecord::Bei_Auf>, "Lamellen-Rücklaufzeit nach AUF"},
                {"RA_Ab", items::reverseTimes, ra<&ReversierungRecord::Bei_Ab>, "Lamellen-Rücklaufzeit nach AB"},
            },
        .captions =
            {
                {"RA_Label1", "Rücklauf nach einer Aufwärtsbewegung               s", {"RA_Auf"}},
                {"RA_Label2", "Rücklauf nach einer Abwärtsbewegung                s", {"RA_Ab"}},
            },
    };
    return s;
}

} // namespace vandorelle
