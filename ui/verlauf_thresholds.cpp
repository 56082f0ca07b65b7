#include "ui/verlauf_thresholds.h"

#include "config/automation_items.h"
#include "ui/automation_editor.h"
#include "ui/conservatory_tab.h"
#include "ui/main_window.h"
#include "ui/shading_tab.h"
#include "ui/wind_tab.h"

#include <QRegularExpression>

namespace vandorelle {

namespace {

template <auto Table, auto Field>
constexpr FieldRef field = &fieldOf<Table, Field>;

struct ThresholdSource {
    Quantity quantity;
    AutomationEditor *(*editor)(TQuorvix &);
    const char *title;
    const char *which; // which of the editor's thresholds, or ""
    FieldRef onOff;
    FieldRef threshold;
    const QStringList &(*items)();
    QColor colour;
    bool (*applies)(ConfigStore &, int motor) = nullptr;
};

AutomationEditor *shading(TQuorvix &w) { return w.beschattung->ba; }
AutomationEditor *dawn(TQuorvix &w) { return w.beschattung->dm; }
AutomationEditor *dusk(TQuorvix &w) { return w.beschattung->da; }
AutomationEditor *wind(TQuorvix &w) { return w.windRegen->ew; }
AutomationEditor *humidity(TQuorvix &w) { return w.windRegen->relf; }
AutomationEditor *proportional(TQuorvix &w) { return w.wintergarten->pt; }
AutomationEditor *inside(TQuorvix &w) { return w.wintergarten->it; }
AutomationEditor *outside(TQuorvix &w) { return w.wintergarten->at; }

// Threshold 2 of the outside editor is hidden while threshold 1 deactivates the motor.
bool outsideSecondApplies(ConfigStore &s, int motor) { return s.AussenTemperatursteuerung[motor].Richtung != 2; }

const QColor kRed(210, 0, 0);
const QColor kPurple(130, 0, 170);
const QColor kGreen(0, 130, 0);
const QColor kMagenta(200, 0, 160);
const QColor kBrown(140, 80, 0);

using B = BeschattungRecord;
using D = DaemmerungRecord;
using Wi = WindRecord;
using F = FeuchtigkeitsRecord;
using P = ProportionaleTemperaturRecord;
using I = InnenTemperaturRecord;
using A = AussenTemperaturRecord;
using C = ConfigStore;

const ThresholdSource kSources[] = {
    {Quantity::Helligkeit, shading, "Beschattung", "", field<&C::Beschattung, &B::EinAus>,
     field<&C::Beschattung, &B::Helligkeit>, items::shadingBrightness, kRed},
    {Quantity::Helligkeit, dawn, "Dämmerung morgens", "", field<&C::DaemmerungMorgen, &D::EinAus>,
     field<&C::DaemmerungMorgen, &D::Helligkeit>, items::twilightBrightness, kPurple},
    {Quantity::Helligkeit, dusk, "Dämmerung abends", "", field<&C::DaemmerungAbend, &D::EinAus>,
     field<&C::DaemmerungAbend, &D::Helligkeit>, items::twilightBrightness, kGreen},
    {Quantity::Wind, wind, "Wind", "", field<&C::Wind, &Wi::EinAus>, field<&C::Wind, &Wi::Geschwindigkeit>,
     items::windSpeeds, kRed},
    {Quantity::Luftfeuchtigkeit, humidity, "Feuchte", " Schwelle 1", field<&C::FeuchtigkeitsSteuerung, &F::EinAus>,
     field<&C::FeuchtigkeitsSteuerung, &F::Schwelle1>, items::humidities, kRed},
    {Quantity::Luftfeuchtigkeit, humidity, "Feuchte", " Schwelle 2", field<&C::FeuchtigkeitsSteuerung, &F::EinAus>,
     field<&C::FeuchtigkeitsSteuerung, &F::Schwelle2>, items::humidities, kPurple},
    {Quantity::Temperatur, proportional, "Soll-Temperatur", "",
     field<&C::ProportionaleTemperatursteuerung, &P::EinAus>,
     field<&C::ProportionaleTemperatursteuerung, &P::SollTemperatur>, items::setPoints, kBrown},
    {Quantity::Temperatur, inside, "Innentemperatur", " Schwelle 1", field<&C::InnenTemperatursteuerung, &I::EinAus>,
     field<&C::InnenTemperatursteuerung, &I::Schwelle1>, items::temperatureThresholds, kRed},
    {Quantity::Temperatur, inside, "Innentemperatur", " Schwelle 2", field<&C::InnenTemperatursteuerung, &I::EinAus>,
     field<&C::InnenTemperatursteuerung, &I::Schwelle2>, items::temperatureThresholds, kMagenta},
    {Quantity::Temperatur, outside, "Außentemperatur", " Schwelle 1",
     field<&C::AussenTemperatursteuerung, &A::EinAus>, field<&C::AussenTemperatursteuerung, &A::Schwelle1>,
     items::temperatureThresholds, kPurple},
    {Quantity::Temperatur, outside, "Außentemperatur", " Schwelle 2",
     field<&C::AussenTemperatursteuerung, &A::EinAus>, field<&C::AussenTemperatursteuerung, &A::Schwelle2>,
     items::temperatureThresholds, kGreen, outsideSecondApplies},
};

// The number an item text starts with: "140", "75%", "-9°".
std::optional<double> leadingNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^-?\\d+"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured().toDouble();
}

QString motorName(AutomationEditor &e, int motor) { return shownMotorName(e.raum->itemText(motor), motor); }

} // namespace

std::vector<ThresholdLine> thresholdLines(TQuorvix &w, Quantity quantity)
{
    std::vector<ThresholdLine> lines;
    const QString unit = quantityInfo(quantity).unit;
    for (const ThresholdSource &s : kSources) {
        if (s.quantity != quantity)
            continue;
        AutomationEditor &e = *s.editor(w);
        const int motor = e.motor();
        if (s.onOff(w.store, motor) != 0 || (s.applies && !s.applies(w.store, motor)))
            continue;
        // A code outside the list (from a file or the line) has no value to draw.
        const auto value = leadingNumber(items::text(s.items(), s.threshold(w.store, motor)));
        if (!value)
            continue;
        const QString caption = QString::fromUtf8(s.title) + u' ' + motorName(e, motor) + QString::fromUtf8(s.which)
                                + QStringLiteral(": ") + QString::number(*value) + u' ' + unit;
        lines.push_back({*value, caption, s.colour});
    }
    return lines;
}

} // namespace vandorelle
