#include "sim/motor_records.h"

#include <array>
#include <cstring>

namespace vandorelle::sim {

namespace {

template <auto Table, auto Member>
int32_t &ref(ConfigStore &store, int motorIndex)
{
    return (store.*Table)[motorIndex].*Member;
}

#define VS_FIELD(table, type, member, rule, offset) \
    FieldRule{#member, WireRule::rule, offset, &ref<&ConfigStore::table, &type::member>}

constexpr std::array kShading = {
    VS_FIELD(Beschattung, BeschattungRecord, EinAus, Flag, 0),
    VS_FIELD(Beschattung, BeschattungRecord, Temperatur, Offset, 90),
    VS_FIELD(Beschattung, BeschattungRecord, Von, Offset, 5),
    VS_FIELD(Beschattung, BeschattungRecord, Bis, Offset, 5),
    VS_FIELD(Beschattung, BeschattungRecord, Helligkeit, Offset, 100),
    VS_FIELD(Beschattung, BeschattungRecord, Dauer, Offset, 1),
};
constexpr std::array kDawn = {
    VS_FIELD(DaemmerungMorgen, DaemmerungRecord, EinAus, Flag, 0),
    VS_FIELD(DaemmerungMorgen, DaemmerungRecord, Von, Offset, 3),
    VS_FIELD(DaemmerungMorgen, DaemmerungRecord, Helligkeit, Offset, 1),
    VS_FIELD(DaemmerungMorgen, DaemmerungRecord, Dauer, Offset, 1),
};
constexpr std::array kDusk = {
    VS_FIELD(DaemmerungAbend, DaemmerungRecord, EinAus, Flag, 0),
    VS_FIELD(DaemmerungAbend, DaemmerungRecord, Von, Offset, 14),
    VS_FIELD(DaemmerungAbend, DaemmerungRecord, Helligkeit, Offset, 1),
    VS_FIELD(DaemmerungAbend, DaemmerungRecord, Dauer, Offset, 1),
};
constexpr std::array kWind = {
    VS_FIELD(Wind, WindRecord, EinAus, Flag, 0),
    VS_FIELD(Wind, WindRecord, Geschwindigkeit, WindKmh, 0),
};
constexpr std::array kRain = {
    VS_FIELD(Regen, RegenRecord, EinAus, Flag, 0),
    VS_FIELD(Regen, RegenRecord, Richtung, Flag, 0),
};
constexpr std::array kReversing = {
    VS_FIELD(Reversierung, ReversierungRecord, EinAus, Flag, 0),
    VS_FIELD(Reversierung, ReversierungRecord, Bei_Auf, Offset, 0),
    VS_FIELD(Reversierung, ReversierungRecord, Bei_Ab, Offset, 0),
};
constexpr std::array kPushButton = {
    VS_FIELD(TastAutomatik, TastAutomatikRecord, EinAus, Flag, 0),
    VS_FIELD(TastAutomatik, TastAutomatikRecord, Dauer, TastDuration, 0),
};
constexpr std::array kProportional = {
    VS_FIELD(ProportionaleTemperatursteuerung, ProportionaleTemperaturRecord, EinAus, Flag, 0),
    VS_FIELD(ProportionaleTemperatursteuerung, ProportionaleTemperaturRecord, Von, Offset, 0),
    VS_FIELD(ProportionaleTemperatursteuerung, ProportionaleTemperaturRecord, Bis, Offset, 0),
    VS_FIELD(ProportionaleTemperatursteuerung, ProportionaleTemperaturRecord, SollTemperatur, Offset, 101),
    VS_FIELD(ProportionaleTemperatursteuerung, ProportionaleTemperaturRecord, Richtung, Flag, 0),
    VS_FIELD(ProportionaleTemperatursteuerung, ProportionaleTemperaturRecord, Regelbereich, Offset, 1),
    VS_FIELD(ProportionaleTemperatursteuerung, ProportionaleTemperaturRecord, MaxStellzeit, Offset, 1),
    VS_FIELD(ProportionaleTemperatursteuerung, ProportionaleTemperaturRecord, Schritte, Offset, 2),
};
constexpr std::array kInside = {
    VS_FIELD(InnenTemperatursteuerung, InnenTemperaturRecord, EinAus, Flag, 0),
    VS_FIELD(InnenTemperatursteuerung, InnenTemperaturRecord, Gr_Kl, Flag, 0),
    VS_FIELD(InnenTemperatursteuerung, InnenTemperaturRecord, Schwelle1, Offset, 91),
    VS_FIELD(InnenTemperatursteuerung, InnenTemperaturRecord, Richtung, Flag, 0),
    VS_FIELD(InnenTemperatursteuerung, InnenTemperaturRecord, Schwelle2, Offset, 91),
    VS_FIELD(InnenTemperatursteuerung, InnenTemperaturRecord, Dauer, Offset, 1),
    VS_FIELD(InnenTemperatursteuerung, InnenTemperaturRecord, Von, Offset, 0),
    VS_FIELD(InnenTemperatursteuerung, InnenTemperaturRecord, Bis, Offset, 0),
};
constexpr std::array kHeating = {
    VS_FIELD(HeizungsSteuerung, HeizungsRecord, EinAus, Flag, 0),
    VS_FIELD(HeizungsSteuerung, HeizungsRecord, TagNacht, Flag, 0),
    VS_FIELD(HeizungsSteuerung, HeizungsRecord, Betriebsart, HeatingMode, 0),
    VS_FIELD(HeizungsSteuerung, HeizungsRecord, TagTemperatur, Offset, 0),
    VS_FIELD(HeizungsSteuerung, HeizungsRecord, NachtTemperatur, Offset, 0),
};
constexpr std::array kHumidity = {
    VS_FIELD(FeuchtigkeitsSteuerung, FeuchtigkeitsRecord, EinAus, Flag, 0),
    VS_FIELD(FeuchtigkeitsSteuerung, FeuchtigkeitsRecord, Gr_Kl, Flag, 0),
    VS_FIELD(FeuchtigkeitsSteuerung, FeuchtigkeitsRecord, Schwelle1, Offset, 1),
    VS_FIELD(FeuchtigkeitsSteuerung, FeuchtigkeitsRecord, Schwelle2, Offset, 1),
    VS_FIELD(FeuchtigkeitsSteuerung, FeuchtigkeitsRecord, Dauer, Offset, 1),
    VS_FIELD(FeuchtigkeitsSteuerung, FeuchtigkeitsRecord, Von, Offset, 0),
    VS_FIELD(FeuchtigkeitsSteuerung, FeuchtigkeitsRecord, Bis, Offset, 0),
};
constexpr std::array kOutside = {
    VS_FIELD(AussenTemperatursteuerung, AussenTemperaturRecord, EinAus, Flag, 0),
    VS_FIELD(AussenTemperatursteuerung, AussenTemperaturRecord, Schwelle1, Offset, 91),
    VS_FIELD(AussenTemperatursteuerung, AussenTemperaturRecord, Richtung, OutsideDirection, 0),
    VS_FIELD(AussenTemperatursteuerung, AussenTemperaturRecord, Schwelle2, Offset, 91),
    VS_FIELD(AussenTemperatursteuerung, AussenTemperaturRecord, Dauer, Offset, 1),
};

#undef VS_FIELD

constexpr std::array kLayouts = {
    MotorRecordLayout{"sbp", "rbp", MotorTable::Beschattung, kShading},
    MotorRecordLayout{"sdm", "rdm", MotorTable::DaemmerungMorgen, kDawn},
    MotorRecordLayout{"sda", "rda", MotorTable::DaemmerungAbend, kDusk},
    MotorRecordLayout{"swp", "rwp", MotorTable::Wind, kWind},
    MotorRecordLayout{"srp", "rrp", MotorTable::Regen, kRain},
    MotorRecordLayout{"sjp", "rjp", MotorTable::Reversierung, kReversing},
    MotorRecordLayout{"sta", "rta", MotorTable::TastAutomatik, kPushButton},
    MotorRecordLayout{"spp", "rpp", MotorTable::ProportionaleTemperatursteuerung, kProportional},
    MotorRecordLayout{"sip", "rip", MotorTable::InnenTemperatursteuerung, kInside},
    MotorRecordLayout{"shp", "rhp", MotorTable::HeizungsSteuerung, kHeating},
    MotorRecordLayout{"sfp", "rfp", MotorTable::FeuchtigkeitsSteuerung, kHumidity},
    MotorRecordLayout{"sap", "rap", MotorTable::AussenTemperatursteuerung, kOutside},
};

constexpr int32_t kRadioDurationShift = 48;

} // namespace

std::span<const MotorRecordLayout> motorRecordLayouts() { return kLayouts; }

const MotorRecordLayout *layoutForReadTag(const QByteArray &tag)
{
    for (const auto &layout : kLayouts)
        if (tag == layout.readTag) return &layout;
    return nullptr;
}

const MotorRecordLayout *layoutForWriteTag(const QByteArray &tag)
{
    for (const auto &layout : kLayouts)
        if (tag == layout.writeTag) return &layout;
    return nullptr;
}

int64_t encodeField(const FieldRule &rule, int32_t code, bool tastFunk)
{
    switch (rule.rule) {
    case WireRule::Flag: return code == 0 ? 1 : 0;
    case WireRule::Offset: return int64_t(code) + rule.offset;
    case WireRule::WindKmh: return (int64_t(code) + 1) * 5;
    case WireRule::TastDuration: return int64_t(code) + 1 + (tastFunk ? kRadioDurationShift : 0);
    case WireRule::HeatingMode: return code == 1 ? 0 : 1;
    case WireRule::OutsideDirection:
        if (code == 0) return 1;
        if (code == 1) return 0;
        return code;
    }
    return code;
}

int32_t decodeField(const FieldRule &rule, int64_t wire, bool tastFunk)
{
    const auto w = static_cast<int32_t>(wire);
    switch (rule.rule) {
    case WireRule::Flag: return w == 1 ? 0 : 1;
    case WireRule::Offset: return w - rule.offset;
    case WireRule::WindKmh: return w / 5 - 1;
    case WireRule::TastDuration: {
        const int32_t code = w - 1;
        return tastFunk && code >= kRadioDurationShift ? code - kRadioDurationShift : code;
    }
    case WireRule::HeatingMode: return w == 0 ? 1 : 0;
    case WireRule::OutsideDirection:
        if (w == 1) return 0;
        if (w == 0) return 1;
        return w;
    }
    return w;
}

} // namespace vandorelle::sim
