#pragma once

// Layout of the configuration file, shared by its writer and its reader so that the two
// cannot drift apart. Internal to config_file_*.cpp.

#include "config/store.h"

#include <array>
#include <cstdint>
#include <limits>

namespace vandorelle::cfgfile {

// Keys whose values the reader keeps pending until a section's closing key.
enum class Key : int {
    EinAus,
    TagNacht,
    Betriebsart,
    Richtung,
    Gr_KL,
    Stunde,
    Minute,
    Dauer,
    Gruppe,
    Funktion,
    Von,
    Bis,
    Helligkeit,
    Geschwindigkeit,
    Bei_Auf,
    Bei_Ab,
    SollTemperatur,
    Temperatur,
    Schwelle1,
    Schwelle2,
    Regelbereich,
    MaxStellzeit,
    Schritte,
    TagTemperatur,
    NachtTemperatur,
};
inline constexpr int kKeyCount = int(Key::NachtTemperatur) + 1;

inline constexpr std::array<const char *, kKeyCount> kKeyTexts = {
    "EinAus", "TagNacht", "Betriebsart", "Richtung", "Gr_KL", "Stunde", "Minute",
    "Dauer", "Gruppe", "Funktion", "Von", "Bis", "Helligkeit", "Geschwindigkeit",
    "Bei_Auf", "Bei_Ab", "SollTemperatur", "Temperatur", "Schwelle1", "Schwelle2",
    "Regelbereich", "MaxStellzeit", "Schritte", "TagTemperatur", "NachtTemperatur",
};
constexpr const char *keyText(Key key) { return kKeyTexts[std::size_t(key)]; }

// Written texts of a choice, indexed by code. A code outside the list is written as item 1,
// the "else" text of a two-way choice.
struct ChoiceTexts {
    std::array<const char *, 3> texts;
    int count;
    const char *forCode(int32_t code) const
    {
        return texts[std::size_t(code >= 0 && code < count ? code : 1)];
    }
};
inline constexpr ChoiceTexts kEinAus{{"Ein", "Aus"}, 2};
inline constexpr ChoiceTexts kAufAb{{"Auf", "Ab"}, 2};
inline constexpr ChoiceTexts kAufAbDeaktiv{{"Auf", "Ab", "Deaktiv"}, 3};
inline constexpr ChoiceTexts kGrKl{{"Gr", "Kl"}, 2};
inline constexpr ChoiceTexts kTagNacht{{"Tag", "Nacht"}, 2};
inline constexpr ChoiceTexts kHeizenKuehlen{{"Heizen", "Kuehlen"}, 2};
inline constexpr ChoiceTexts kFunktion{{"Normal", "Astro", "Zufall"}, 3};

enum class Conv {
    Choice,           // the code itself, written as text
    Offset,           // file value = code + offset
    TimesFivePlusFive // file value = 5 * code + 5
};

template <typename R> struct FieldFormat {
    Key key;
    int32_t R::*member;
    Conv conv;
    int offset = 0;
    const ChoiceTexts *choices = nullptr;
};

template <typename R, std::size_t N> struct MotorSection {
    using Record = R;
    const char *name;
    std::array<R, kMotors> ConfigStore::*table;
    Key commit; // the record is stored when this key is read
    std::array<FieldFormat<R>, N> fields;
};

template <typename R> constexpr FieldFormat<R> choice(Key k, int32_t R::*m, const ChoiceTexts &t)
{
    return {k, m, Conv::Choice, 0, &t};
}
template <typename R> constexpr FieldFormat<R> offset(Key k, int32_t R::*m, int off)
{
    return {k, m, Conv::Offset, off, nullptr};
}

using B = BeschattungRecord;
inline constexpr MotorSection<B, 6> kBeschattung{
    "Beschattung", &ConfigStore::Beschattung, Key::Dauer,
    {{choice(Key::EinAus, &B::EinAus, kEinAus), offset(Key::Temperatur, &B::Temperatur, -10),
      offset(Key::Von, &B::Von, 5), offset(Key::Bis, &B::Bis, 5),
      offset(Key::Helligkeit, &B::Helligkeit, 100), offset(Key::Dauer, &B::Dauer, 1)}}};

using D = DaemmerungRecord;
inline constexpr MotorSection<D, 4> kDaemmerungMorgen{
    "DaemmerungMorgen", &ConfigStore::DaemmerungMorgen, Key::Dauer,
    {{choice(Key::EinAus, &D::EinAus, kEinAus), offset(Key::Von, &D::Von, 3),
      offset(Key::Helligkeit, &D::Helligkeit, 1), offset(Key::Dauer, &D::Dauer, 1)}}};
inline constexpr MotorSection<D, 4> kDaemmerungAbend{
    "DaemmerungAbend", &ConfigStore::DaemmerungAbend, Key::Dauer,
    {{choice(Key::EinAus, &D::EinAus, kEinAus), offset(Key::Von, &D::Von, 14),
      offset(Key::Helligkeit, &D::Helligkeit, 1), offset(Key::Dauer, &D::Dauer, 1)}}};

using W = WindRecord;
inline constexpr MotorSection<W, 2> kWind{
    "Wind", &ConfigStore::Wind, Key::Geschwindigkeit,
    {{choice(Key::EinAus, &W::EinAus, kEinAus),
      {Key::Geschwindigkeit, &W::Geschwindigkeit, Conv::TimesFivePlusFive}}}};

using Rg = RegenRecord;
inline constexpr MotorSection<Rg, 2> kRegen{
    "Regen", &ConfigStore::Regen, Key::Richtung,
    {{choice(Key::EinAus, &Rg::EinAus, kEinAus), choice(Key::Richtung, &Rg::Richtung, kAufAb)}}};

using Rv = ReversierungRecord;
inline constexpr MotorSection<Rv, 3> kReversierung{
    "Reversierung", &ConfigStore::Reversierung, Key::Bei_Ab,
    {{choice(Key::EinAus, &Rv::EinAus, kEinAus), offset(Key::Bei_Auf, &Rv::Bei_Auf, 0),
      offset(Key::Bei_Ab, &Rv::Bei_Ab, 0)}}};

using P = ProportionaleTemperaturRecord;
inline constexpr MotorSection<P, 8> kProportional{
    "ProportionaleTemperatursteuerung", &ConfigStore::ProportionaleTemperatursteuerung,
    Key::Schritte,
    {{choice(Key::EinAus, &P::EinAus, kEinAus), offset(Key::Von, &P::Von, 0),
      offset(Key::Bis, &P::Bis, 0), offset(Key::SollTemperatur, &P::SollTemperatur, 1),
      choice(Key::Richtung, &P::Richtung, kAufAb), offset(Key::Regelbereich, &P::Regelbereich, 1),
      offset(Key::MaxStellzeit, &P::MaxStellzeit, 1), offset(Key::Schritte, &P::Schritte, 2)}}};

using I = InnenTemperaturRecord;
inline constexpr MotorSection<I, 8> kInnen{
    "InnenTemperatursteuerung", &ConfigStore::InnenTemperatursteuerung, Key::Bis,
    {{choice(Key::EinAus, &I::EinAus, kEinAus), choice(Key::Gr_KL, &I::Gr_Kl, kGrKl),
      offset(Key::Schwelle1, &I::Schwelle1, -9), choice(Key::Richtung, &I::Richtung, kAufAb),
      offset(Key::Schwelle2, &I::Schwelle2, -9), offset(Key::Dauer, &I::Dauer, 1),
      offset(Key::Von, &I::Von, 0), offset(Key::Bis, &I::Bis, 0)}}};

using H = HeizungsRecord;
inline constexpr MotorSection<H, 5> kHeizung{
    "HeizungsSteuerung", &ConfigStore::HeizungsSteuerung, Key::NachtTemperatur,
    {{choice(Key::EinAus, &H::EinAus, kEinAus), choice(Key::TagNacht, &H::TagNacht, kTagNacht),
      choice(Key::Betriebsart, &H::Betriebsart, kHeizenKuehlen),
      offset(Key::TagTemperatur, &H::TagTemperatur, 40),
      offset(Key::NachtTemperatur, &H::NachtTemperatur, 40)}}};

using F = FeuchtigkeitsRecord;
inline constexpr MotorSection<F, 7> kFeuchtigkeit{
    "FeuchtigkeitsSteuerung", &ConfigStore::FeuchtigkeitsSteuerung, Key::Bis,
    {{choice(Key::EinAus, &F::EinAus, kEinAus), choice(Key::Gr_KL, &F::Gr_Kl, kGrKl),
      offset(Key::Schwelle1, &F::Schwelle1, 1), offset(Key::Schwelle2, &F::Schwelle2, 1),
      offset(Key::Dauer, &F::Dauer, 1), offset(Key::Von, &F::Von, 0),
      offset(Key::Bis, &F::Bis, 0)}}};

using A = AussenTemperaturRecord;
inline constexpr MotorSection<A, 5> kAussen{
    "AussenTemperatursteuerung", &ConfigStore::AussenTemperatursteuerung, Key::Dauer,
    {{choice(Key::EinAus, &A::EinAus, kEinAus), offset(Key::Schwelle1, &A::Schwelle1, -9),
      choice(Key::Richtung, &A::Richtung, kAufAbDeaktiv),
      offset(Key::Schwelle2, &A::Schwelle2, -9), offset(Key::Dauer, &A::Dauer, 1)}}};

using T = TastAutomatikRecord;
inline constexpr MotorSection<T, 2> kTastAutomatik{
    "TastAutomatik", &ConfigStore::TastAutomatik, Key::Dauer,
    {{choice(Key::EinAus, &T::EinAus, kEinAus), offset(Key::Dauer, &T::Dauer, 0)}}};

// The function groups written between the schedule and the alarm pattern, in file order.
template <typename Fn> void forEachFunctionSection(Fn &&fn)
{
    fn(kBeschattung);
    fn(kDaemmerungMorgen);
    fn(kDaemmerungAbend);
    fn(kWind);
    fn(kRegen);
    fn(kReversierung);
    fn(kProportional);
    fn(kInnen);
    fn(kHeizung);
    fn(kFeuchtigkeit);
    fn(kAussen);
}
// All per-motor sections, the push-button automation (written last) included.
template <typename Fn> void forEachMotorSection(Fn &&fn)
{
    forEachFunctionSection(fn);
    fn(kTastAutomatik);
}

inline constexpr char kMotorNamenSection[] = "Motor-Namen";
inline constexpr char kSchaltzeitSection[] = "Schaltzeit";
inline constexpr char kAlarmPatternSection[] = "AlarmPattern";
inline constexpr char kParameterSection[] = "Parameter";
inline constexpr char kGruppenSection[] = "Gruppen-Zentralsteuerung";
inline constexpr char kSoftGzsSection[] = "Soft-GZS";

inline constexpr std::array<const char *, kWeekdays> kWeekdayTexts = {"Mo", "Di", "Mi", "Do",
                                                                      "Fr", "Sa", "So"};

struct ParameterFormat {
    const char *key;
    int32_t Parameters::*member;
    int offset; // file value = code + offset
};
// The reader tells these apart by their first nine characters.
inline constexpr int kParameterKeyPrefix = 9;
inline constexpr std::array<ParameterFormat, 5> kParameters = {{
    {"Zufalls-Zeitspanne", &Parameters::ZufallsZeitspanne, 2},
    {"Beschattungs-Hysterese", &Parameters::BeschattungsHysterese, 2},
    {"Offset_AT", &Parameters::Offset_AT, -5},
    {"Offset_IT", &Parameters::Offset_IT, -5},
    {"Heizungs-Hysterese", &Parameters::HeizungsHysterese, 1},
}};

// Schedule run time: codes 0..99 are 1..100 s, codes 100..129 are 110..400 s in steps of 10.
constexpr int32_t scheduleDauerToFile(int32_t code)
{
    if (code > 129)
        code = 43;
    return code < 100 ? code + 1 : (code - 100) * 10 + 110;
}

// Values from a file may be anything; conversions must not overflow.
constexpr int32_t saturate(int64_t v)
{
    if (v > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return int32_t(v);
}

constexpr int32_t scheduleDauerFromFile(int32_t v)
{
    return v <= 100 ? saturate(int64_t(v) - 1) : (v - 100) / 10 + 100 - 1;
}

} // namespace vandorelle::cfgfile
