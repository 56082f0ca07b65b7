#include "config/automation_items.h"
#include "config/editor_fields.h"
#include "config/heating_items.h"
#include "config/run_time_items.h"

namespace vandorelle {

namespace {

template <auto F>
constexpr FieldRef pt = &fieldOf<&ConfigStore::ProportionaleTemperatursteuerung, F>;
template <auto F>
constexpr FieldRef it = &fieldOf<&ConfigStore::InnenTemperatursteuerung, F>;
template <auto F>
constexpr FieldRef at = &fieldOf<&ConfigStore::AussenTemperatursteuerung, F>;
template <auto F>
constexpr FieldRef heiz = &fieldOf<&ConfigStore::HeizungsSteuerung, F>;

constexpr const char *kStellzeitHint =
    "Laufzeit des Antriebs: 1 ... 99s bzw. Dauerbetrieb (z.B. für Ventilatoren)";
constexpr const char *kThreshold2Hint = "Zweite Temperaturschwelle";
constexpr const char *kComparisonHint = "Auslösung bei Über- bzw. Unterschreiten der Schwelle 1";

} // namespace

const EditorSpec &proportionalSpec()
{
    using R = ProportionaleTemperaturRecord;
    static const EditorSpec s{
        .prefix = "PT",
        .table = MotorTable::ProportionaleTemperatursteuerung,
        .groupCaption = "Proportionale Temperatursteuerung",
        .onOff = "PT_Ein_Aus",
        .fields =
            {
                {"PT_Ein_Aus", items::onOff, pt<&R::EinAus>},
                {"PT_von", items::dayHours, pt<&R::Von>},
                {"PT_bis", items::dayHours, pt<&R::Bis>},
                {"PT_Soll_Temp", items::setPoints, pt<&R::SollTemperatur>,
                 "Beim Überschreiten dieser Innen-Temperatur wird die Proportionale Temperatursteuerung aktiviert"},
                {.name = "PT_Richtung",
                 .items = items::directions,
                 .field = pt<&R::Richtung>,
                 .hint = "Laufrichtung, beim Überschreiten der Soll-Temperatur",
                 .symbols = true},
                {"PT_Bereich", items::controlBands, pt<&R::Regelbereich>,
                 "Temperaturdifferenz Soll-Ist bei max. Öffnung"},
                {"PT_Stellzeit", runTimeItems, pt<&R::MaxStellzeit>,
                 "Laufzeit des Antriebs von der Null-Lage bis zur max. Öffnung"},
                {"PT_Schritte", items::positionCounts, pt<&R::Schritte>, "Anzahl Öffnungspositionen"},
            },
        .captions =
            {
                {"PT_Label_1", "aktiviert von - bis", {"PT_von", "PT_bis"}},
                {"PT_Label_2", "Soll- Temperatur", {"PT_Soll_Temp"}},
                {"PT_Label_3", "Aktivier.- Richtung", {"PT_Richtung"}},
                {"PT_Label_4", "Regel- Bereich", {"PT_Bereich"}},
                {"PT_Label_5", "Max. Stellzeit", {"PT_Stellzeit"}},
                {"PT_Label_6", "Anzahl Schritte", {"PT_Schritte"}},
            },
    };
    return s;
}

const EditorSpec &insideSpec()
{
    using R = InnenTemperaturRecord;
    static const EditorSpec s{
        .prefix = "IT",
        .table = MotorTable::InnenTemperatursteuerung,
        .groupCaption = "Innen-Temperatursteuerung",
        .onOff = "IT_Ein_Aus",
        .fields =
            {
                {"IT_Ein_Aus", items::onOff, it<&R::EinAus>},
                {"IT_gr_kl", items::temperatureComparisons, it<&R::Gr_Kl>, kComparisonHint},
                {"IT_Schwelle_1", items::temperatureThresholds, it<&R::Schwelle1>,
                 "Grenz-Temperatur, deren Über- bzw. Unterschreiten zur Auslösung führt"},
                {.name = "IT_Auf_Ab",
                 .items = items::directions,
                 .field = it<&R::Richtung>,
                 .hint = "Aktivierungsrichtung, wenn Temperaturschwelle 1 über- bzw. unterschritten wird",
                 .symbols = true},
                {"IT_Schwelle_2", items::temperatureThresholds, it<&R::Schwelle2>, kThreshold2Hint},
                {"IT_Stellzeit", runTimeItemsWithDauer, it<&R::Dauer>, kStellzeitHint},
                {"IT_von", items::dayHours, it<&R::Von>},
                {"IT_bis", items::dayHours, it<&R::Bis>},
            },
        .captions =
            {
                {"IT_Label_1", "aktiviert von - bis", {"IT_von", "IT_bis"}},
                {"IT_Label_2", "größer kleiner", {"IT_gr_kl", "IT_kl_gr"}},
                {"IT_Label_3", "Temperatur- Schwelle 1", {"IT_Schwelle_1"}},
                {"IT_Label_4", "Auf Ab", {"IT_Auf_Ab", "IT_Ab_Auf"}},
                {"IT_Label_5", "Temperatur- Schwelle 2", {"IT_Schwelle_2"}},
                {"IT_Label_6", "Stellzeit", {"IT_Stellzeit"}},
            },
    };
    return s;
}

const EditorSpec &outsideSpec()
{
    using R = AussenTemperaturRecord;
    static const EditorSpec s{
        .prefix = "AT",
        .table = MotorTable::AussenTemperatursteuerung,
        .groupCaption = "Außen-Temperatursteuerung",
        .onOff = "AT_Ein_Aus",
        .fields =
            {
                {"AT_Ein_Aus", items::onOff, at<&R::EinAus>},
                {"AT_Schwelle_1", items::temperatureThresholds, at<&R::Schwelle1>,
                 "Grenz-Temperatur, deren Unterschreiten zur Auslösung führt"},
                {.name = "AT_Auf_Ab",
                 .items = items::outsideActions,
                 .field = at<&R::Richtung>,
                 .hint = "Festlegung der Aktivierungsrichtung bzw. Deaktivierung des Antriebs beim "
                         "Unterschreiten der Temperaturschwelle 1",
                 .symbols = true},
                {"AT_Schwelle_2", items::temperatureThresholds, at<&R::Schwelle2>, kThreshold2Hint},
                {"AT_Stellzeit", runTimeItemsWithDauer, at<&R::Dauer>, kStellzeitHint},
            },
        .captions =
            {
                {"AT_Label_1", "Temperatur- Schwelle 1", {"AT_gr_kl", "AT_Schwelle_1"}},
                {"AT_Label_2", "Auf, Ab, deaktiv", {"AT_Auf_Ab"}},
                {"AT_Label_3", "Temperatur- Schwelle 2", {"AT_kl_gr", "AT_Schwelle_2", "AT_Ab_Auf"}},
                {"AT_Label_4", "Stellzeit", {"AT_Stellzeit"}},
            },
    };
    return s;
}

const EditorSpec &heatingSpec()
{
    using R = HeizungsRecord;
    static const EditorSpec s{
        .prefix = "Heiz",
        .table = MotorTable::HeizungsSteuerung,
        .groupCaption = "Heizungs-Steuerung",
        .onOff = "Heiz_Ein_Aus",
        .fields =
            {
                {"Heiz_Ein_Aus", items::onOff, heiz<&R::EinAus>},
                {"Heiz_Tag_Nacht", heating::dayNightItems, heiz<&R::TagNacht>,
                 "Auswahl der Schalt-Temperatur: Wird durch \"Schaltzeiten\" umgestellt."},
                {"Heiz_Betriebsart", heating::modeItems, heiz<&R::Betriebsart>},
                {"Heiz_Tag_Temperatur", heating::daySetPointItems, heiz<&R::TagTemperatur>,
                 "Festlegung der Tag-Temperatur"},
                {"Heiz_Nacht_Temperatur", heating::setPointItems, heiz<&R::NachtTemperatur>,
                 "Festlegung der Nacht-Temperatur"},
            },
        .captions =
            {
                {"Heiz_Label_1", "Tag / Nacht", {"Heiz_Tag_Nacht"}},
                {"Heiz_Label_2", "Betriebsart", {"Heiz_Betriebsart"}},
                {"Heiz_Label_3", "Tag-Temperatur", {"Heiz_Tag_Temperatur"}},
                {"Heiz_Label_4", "Nacht-Temperatur", {"Heiz_Nacht_Temperatur"}},
            },
    };
    return s;
}

} // namespace vandorelle
