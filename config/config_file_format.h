#pragma once

// Layout of the configuration file, shared by its writer and its reader so that the two
// cannot drift apart, and the valid range of every value it carries. Internal to
// config_file_*.cpp; tests and the fuzz target hold stores against the ranges.

#include "config/store.h"

#include <QByteArray>

#include <array>
#include <cstdint>

namespace vandorelle::cfgfile {

// The codes a field may hold in a file: those its control offers, widened to what a controller
// is known to report. gaps marks codes inside the bounds that no list offers (bit code-first).
struct CodeRange {
    int32_t first;
    int32_t last;
    uint32_t gaps = 0;
    constexpr bool contains(int64_t code) const
    {
        if (code < first || code > last)
            return false;
        const int64_t bit = code - first;
        return bit >= 32 || (gaps & (uint32_t(1) << bit)) == 0;
    }
};

inline constexpr CodeRange kTwoWay{0, 1};
inline constexpr CodeRange kDayHours{0, 23};
inline constexpr CodeRange kRunTimes{0, 189};         // "1s" .. "999s"
inline constexpr CodeRange kRunTimesOrDauer{0, 190};  // the same, then "Dauer"
inline constexpr CodeRange kThresholds{0, 59};        // -9 .. 50 degrees
inline constexpr CodeRange kHumidities{0, 98};        // 1 .. 99 %
inline constexpr CodeRange kHeatingSetPoints{0, 255}; // 4,0 .. 29,5 degrees
// The day box offers one more, empty item after the set points.
inline constexpr CodeRange kDaySetPoints{0, 256};

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
    CodeRange range;
    int offset = 0;
    const ChoiceTexts *choices = nullptr;
};

// A section is stored once it is whole: every key of its fields read.
template <typename R, std::size_t N> struct MotorSection {
    using Record = R;
    const char *name;
    std::array<R, kMotors> ConfigStore::*table;
    std::array<FieldFormat<R>, N> fields;
};

template <typename R> constexpr FieldFormat<R> choice(Key k, int32_t R::*m, const ChoiceTexts &t)
{
    return {k, m, Conv::Choice, {0, t.count - 1}, 0, &t};
}
template <typename R> constexpr FieldFormat<R> onOff(int32_t R::*m)
{
    return choice(Key::EinAus, m, kEinAus);
}
template <typename R> constexpr FieldFormat<R> offset(Key k, int32_t R::*m, int off, CodeRange range)
{
    return {k, m, Conv::Offset, range, off, nullptr};
}

using B = BeschattungRecord;
inline constexpr MotorSection<B, 6> kBeschattung{
    "Beschattung", &ConfigStore::Beschattung,
    {{onOff(&B::EinAus), offset(Key::Temperatur, &B::Temperatur, -10, {0, 45}),
      offset(Key::Von, &B::Von, 5, {0, 17}), offset(Key::Bis, &B::Bis, 5, {0, 17}),
      offset(Key::Helligkeit, &B::Helligkeit, 100, {0, 155}),
      offset(Key::Dauer, &B::Dauer, 1, kRunTimes)}}};

using D = DaemmerungRecord;
// Von: the hours, then the list item "Nr. 3" (dawn) or "Nr. 4" (dusk).
inline constexpr MotorSection<D, 4> kDaemmerungMorgen{
    "DaemmerungMorgen", &ConfigStore::DaemmerungMorgen,
    {{onOff(&D::EinAus), offset(Key::Von, &D::Von, 3, {0, 8}),
      offset(Key::Helligkeit, &D::Helligkeit, 1, {0, 249}),
      offset(Key::Dauer, &D::Dauer, 1, kRunTimesOrDauer)}}};
inline constexpr MotorSection<D, 4> kDaemmerungAbend{
    "DaemmerungAbend", &ConfigStore::DaemmerungAbend,
    {{onOff(&D::EinAus), offset(Key::Von, &D::Von, 14, {0, 9}),
      offset(Key::Helligkeit, &D::Helligkeit, 1, {0, 249}),
      offset(Key::Dauer, &D::Dauer, 1, kRunTimesOrDauer)}}};

using W = WindRecord;
inline constexpr MotorSection<W, 2> kWind{
    "Wind", &ConfigStore::Wind,
    {{onOff(&W::EinAus), {Key::Geschwindigkeit, &W::Geschwindigkeit, Conv::TimesFivePlusFive, {0, 18}}}}};

using Rg = RegenRecord;
inline constexpr MotorSection<Rg, 2> kRegen{
    "Regen", &ConfigStore::Regen,
    {{onOff(&Rg::EinAus), choice(Key::Richtung, &Rg::Richtung, kAufAb)}}};

using Rv = ReversierungRecord;
inline constexpr MotorSection<Rv, 3> kReversierung{
    "Reversierung", &ConfigStore::Reversierung,
    {{onOff(&Rv::EinAus), offset(Key::Bei_Auf, &Rv::Bei_Auf, 0, {0, 40}),
      offset(Key::Bei_Ab, &Rv::Bei_Ab, 0, {0, 40})}}};

using P = ProportionaleTemperaturRecord;
inline constexpr MotorSection<P, 8> kProportional{
    "ProportionaleTemperatursteuerung", &ConfigStore::ProportionaleTemperatursteuerung,
    {{onOff(&P::EinAus), offset(Key::Von, &P::Von, 0, kDayHours), offset(Key::Bis, &P::Bis, 0, kDayHours),
      offset(Key::SollTemperatur, &P::SollTemperatur, 1, {0, 49}),
      choice(Key::Richtung, &P::Richtung, kAufAb),
      offset(Key::Regelbereich, &P::Regelbereich, 1, {0, 8}),
      offset(Key::MaxStellzeit, &P::MaxStellzeit, 1, kRunTimes),
      offset(Key::Schritte, &P::Schritte, 2, {0, 7})}}};

using I = InnenTemperaturRecord;
inline constexpr MotorSection<I, 8> kInnen{
    "InnenTemperatursteuerung", &ConfigStore::InnenTemperatursteuerung,
    {{onOff(&I::EinAus), choice(Key::Gr_KL, &I::Gr_Kl, kGrKl),
      offset(Key::Schwelle1, &I::Schwelle1, -9, kThresholds), choice(Key::Richtung, &I::Richtung, kAufAb),
      offset(Key::Schwelle2, &I::Schwelle2, -9, kThresholds),
      offset(Key::Dauer, &I::Dauer, 1, kRunTimesOrDauer), offset(Key::Von, &I::Von, 0, kDayHours),
      offset(Key::Bis, &I::Bis, 0, kDayHours)}}};

using H = HeizungsRecord;
inline constexpr MotorSection<H, 5> kHeizung{
    "HeizungsSteuerung", &ConfigStore::HeizungsSteuerung,
    {{onOff(&H::EinAus), choice(Key::TagNacht, &H::TagNacht, kTagNacht),
      choice(Key::Betriebsart, &H::Betriebsart, kHeizenKuehlen),
      offset(Key::TagTemperatur, &H::TagTemperatur, 40, kDaySetPoints),
      offset(Key::NachtTemperatur, &H::NachtTemperatur, 40, kHeatingSetPoints)}}};

using F = FeuchtigkeitsRecord;
inline constexpr MotorSection<F, 7> kFeuchtigkeit{
    "FeuchtigkeitsSteuerung", &ConfigStore::FeuchtigkeitsSteuerung,
    {{onOff(&F::EinAus), choice(Key::Gr_KL, &F::Gr_Kl, kGrKl),
      offset(Key::Schwelle1, &F::Schwelle1, 1, kHumidities),
      offset(Key::Schwelle2, &F::Schwelle2, 1, kHumidities),
      offset(Key::Dauer, &F::Dauer, 1, kRunTimesOrDauer), offset(Key::Von, &F::Von, 0, kDayHours),
      offset(Key::Bis, &F::Bis, 0, kDayHours)}}};

using A = AussenTemperaturRecord;
inline constexpr MotorSection<A, 5> kAussen{
    "AussenTemperatursteuerung", &ConfigStore::AussenTemperatursteuerung,
    {{onOff(&A::EinAus), offset(Key::Schwelle1, &A::Schwelle1, -9, kThresholds),
      choice(Key::Richtung, &A::Richtung, kAufAbDeaktiv),
      offset(Key::Schwelle2, &A::Schwelle2, -9, kThresholds),
      offset(Key::Dauer, &A::Dauer, 1, kRunTimesOrDauer)}}};

using T = TastAutomatikRecord;
// One code on two scales: 190 run times, or 87 of the radio variant.
inline constexpr MotorSection<T, 2> kTastAutomatik{
    "TastAutomatik", &ConfigStore::TastAutomatik,
    {{onOff(&T::EinAus), offset(Key::Dauer, &T::Dauer, 0, kRunTimes)}}};

// The function groups written between the schedule and the alarm pattern, in file order.
template <typename Fn> constexpr void forEachFunctionSection(Fn &&fn)
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
template <typename Fn> constexpr void forEachMotorSection(Fn &&fn)
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

constexpr int countFunctionSections()
{
    int n = 0;
    forEachFunctionSection([&n](const auto &) { ++n; });
    return n;
}
inline constexpr int kFunctionSections = countFunctionSections();

// Section headers as the save writes them: "[AlarmPattern_]", "[Wind_Motor07]",
// "[Schaltzeit_Di_Motor07_Nr3]".
inline QByteArray twoDigits(int number)
{
    return QByteArray::number(number).rightJustified(2, '0');
}
inline QByteArray plainHeader(const char *name)
{
    return '[' + QByteArray(name) + "_]";
}
inline QByteArray motorHeader(const char *name, int motor)
{
    return '[' + QByteArray(name) + "_Motor" + twoDigits(motor) + ']';
}
inline QByteArray scheduleHeader(int weekday, int motor, int number)
{
    return '[' + QByteArray(kSchaltzeitSection) + '_' + kWeekdayTexts[std::size_t(weekday - 1)] + "_Motor"
         + twoDigits(motor) + "_Nr" + QByteArray::number(number) + ']';
}

struct ParameterFormat {
    const char *key;
    int32_t Parameters::*member;
    int offset; // file value = code + offset
    CodeRange range;
};
// The reader tells these apart by their first nine characters.
inline constexpr int kParameterKeyPrefix = 9;
inline constexpr std::array<ParameterFormat, 5> kParameters = {{
    {"Zufalls-Zeitspanne", &Parameters::ZufallsZeitspanne, 2, {0, 252}},
    {"Beschattungs-Hysterese", &Parameters::BeschattungsHysterese, 2, {0, 48}},
    {"Offset_AT", &Parameters::Offset_AT, -5, {0, 10}},
    {"Offset_IT", &Parameters::Offset_IT, -5, {0, 10}},
    {"Heizungs-Hysterese", &Parameters::HeizungsHysterese, 1, {0, 8}},
}};

inline constexpr CodeRange kAlarmPatternRange{0, 2}; // up, neutral, down
inline constexpr CodeRange kGroupMaskRange{0, 255};  // eight motors of a bank

// A switching-time section: its keys in written order and the range of what each reads as.
// Stunde and Minute read as hour and minute of Zeit; hour 24 (written "--") is an unused entry,
// as a controller reports it.
struct ScheduleKey {
    Key key;
    CodeRange range;
};
inline constexpr CodeRange kScheduleRunTimes{0, 129}; // "0s" .. "Dau", and on to 400 s in the file
inline constexpr CodeRange kWeekdayGroups{1, 7, 0b101100}; // 1, 2, 5 or 7 days: 3, 4, 6 are none
inline constexpr CodeRange kTimeCodes{0, 24 * 60};
inline constexpr CodeRange kFunktionen{0, kFunktion.count - 1};
inline constexpr int32_t kNoTimeHour = 24;
inline constexpr std::array<ScheduleKey, 6> kScheduleKeys = {{
    {Key::Richtung, kTwoWay},
    {Key::Stunde, {0, kNoTimeHour}},
    {Key::Minute, {0, 59}},
    {Key::Dauer, kScheduleRunTimes},
    {Key::Gruppe, kWeekdayGroups},
    {Key::Funktion, kFunktionen},
}};

// Every value of the store that the file carries, with its range: fn(what, value, range).
// For the callers that check a store against the file's ranges or fill it at their ends.
template <typename Store, typename Fn> void forEachRangedValue(Store &s, Fn &&fn)
{
    for (auto &e : s.Schaltzeit) {
        fn(kSchaltzeitSection, e.Richtung, kTwoWay);
        fn(kSchaltzeitSection, e.Zeit, kTimeCodes);
        fn(kSchaltzeitSection, e.Dauer, kScheduleRunTimes);
        fn(kSchaltzeitSection, e.Gruppe, kWeekdayGroups);
        fn(kSchaltzeitSection, e.Funktion, kFunktionen);
    }
    forEachMotorSection([&](const auto &section) {
        for (auto &record : s.*section.table) {
            for (const auto &f : section.fields)
                fn(section.name, record.*f.member, f.range);
        }
    });
    for (auto &code : s.AlarmPattern)
        fn(kAlarmPatternSection, code, kAlarmPatternRange);
    for (const ParameterFormat &p : kParameters)
        fn(kParameterSection, s.Parameter.*p.member, p.range);
    for (auto &bank : s.GruppenZentralsteuerung) {
        for (auto &mask : bank)
            fn(kGruppenSection, mask, kGroupMaskRange);
    }
}

// Schedule run time: codes 0..99 are 1..100 s, codes 100..129 are 110..400 s in steps of 10.
constexpr int32_t scheduleDauerToFile(int32_t code)
{
    if (code > 129)
        code = 43;
    return code < 100 ? code + 1 : (code - 100) * 10 + 110;
}

// The code a file value stands for, in 64 bits: values from a file may be anything, and
// whatever lies outside the field's range is refused before it is narrowed.
constexpr int64_t scheduleDauerFromFile(int64_t v)
{
    return v <= 100 ? v - 1 : (v - 100) / 10 + 100 - 1;
}

constexpr int64_t codeFromFile(Conv conv, int offset, int64_t v)
{
    switch (conv) {
    case Conv::Choice: return v;
    case Conv::Offset: return v - offset;
    case Conv::TimesFivePlusFive: return v / 5 - 1;
    }
    return v;
}

} // namespace vandorelle::cfgfile
