#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace vandorelle {

constexpr int kMotors = 32;
constexpr int kWeekdays = 7;
constexpr int kEntries = 8;
constexpr int kBanks = 4;
constexpr int kGroups = 4;
constexpr int kScheduleSize = kWeekdays * kMotors * kEntries; // 1792

// Every setting is the zero-based item index of the list that edits it.
struct SchaltzeitEntry {
    int32_t Richtung = 0;
    int32_t Zeit = 0; // 0 = not in use, else minute of the day + 1
    int32_t Dauer = 39;
    int32_t Gruppe = 1;
    int32_t Funktion = 0;
    int32_t Senden = 1;
    bool inUse() const { return Zeit > 0; }
    bool operator==(const SchaltzeitEntry &) const = default;
};

struct BeschattungRecord {
    int32_t EinAus = 1;
    int32_t Temperatur = 32;
    int32_t Von = 5;
    int32_t Bis = 15;
    int32_t Helligkeit = 144;
    int32_t Dauer = 9;
    int32_t Senden = 1;
    bool operator==(const BeschattungRecord &) const = default;
};

struct DaemmerungRecord {
    int32_t EinAus = 1;
    int32_t Von = 5;
    int32_t Helligkeit = 109;
    int32_t Dauer = 39;
    int32_t Senden = 1;
    bool operator==(const DaemmerungRecord &) const = default;
};

struct WindRecord {
    int32_t EinAus = 1;
    int32_t Geschwindigkeit = 5;
    int32_t Senden = 1;
    bool operator==(const WindRecord &) const = default;
};

struct RegenRecord {
    int32_t EinAus = 1;
    int32_t Richtung = 0;
    int32_t Senden = 1;
    bool operator==(const RegenRecord &) const = default;
};

struct ReversierungRecord {
    int32_t EinAus = 1;
    int32_t Bei_Auf = 4;
    int32_t Bei_Ab = 6;
    int32_t Senden = 1;
    bool operator==(const ReversierungRecord &) const = default;
};

struct TastAutomatikRecord {
    int32_t EinAus = 1;
    int32_t Dauer = 21;
    int32_t Senden = 1;
    bool operator==(const TastAutomatikRecord &) const = default;
};

struct ProportionaleTemperaturRecord {
    int32_t EinAus = 1;
    int32_t Von = 10;
    int32_t Bis = 22;
    int32_t SollTemperatur = 22;
    int32_t Richtung = 0;
    int32_t Regelbereich = 2;
    int32_t MaxStellzeit = 39;
    int32_t Schritte = 4;
    int32_t Senden = 1;
    bool operator==(const ProportionaleTemperaturRecord &) const = default;
};

struct InnenTemperaturRecord {
    int32_t EinAus = 1;
    int32_t Gr_Kl = 0;
    int32_t Schwelle1 = 31;
    int32_t Richtung = 0;
    int32_t Schwelle2 = 29;
    int32_t Dauer = 39;
    int32_t Von = 8;
    int32_t Bis = 21;
    int32_t Senden = 1;
    bool operator==(const InnenTemperaturRecord &) const = default;
};

struct HeizungsRecord {
    int32_t EinAus = 1;
    int32_t TagNacht = 0;
    int32_t Betriebsart = 0;
    int32_t TagTemperatur = 170;
    int32_t NachtTemperatur = 140;
    int32_t Senden = 1;
    bool operator==(const HeizungsRecord &) const = default;
};

struct FeuchtigkeitsRecord {
    int32_t EinAus = 1;
    int32_t Gr_Kl = 0;
    int32_t Schwelle1 = 75;
    int32_t Schwelle2 = 65;
    int32_t Dauer = 39;
    int32_t Von = 8;
    int32_t Bis = 21;
    int32_t Senden = 1;
    bool operator==(const FeuchtigkeitsRecord &) const = default;
};

struct AussenTemperaturRecord {
    int32_t EinAus = 1;
    int32_t Schwelle1 = 11;
    int32_t Richtung = 1; // 0 up, 1 down, 2 deactivated
    int32_t Schwelle2 = 14;
    int32_t Dauer = 39;
    int32_t Senden = 1;
    bool operator==(const AussenTemperaturRecord &) const = default;
};

struct Parameters {
    int32_t ZufallsZeitspanne = 28;
    int32_t BeschattungsHysterese = 8;
    int32_t Offset_AT = 5;
    int32_t Offset_IT = 5;
    int32_t HeizungsHysterese = 2;
    bool operator==(const Parameters &) const = default;
};

// The twelve per-motor tables, for code that addresses one of them by name.
enum class MotorTable {
    Beschattung,
    DaemmerungMorgen,
    DaemmerungAbend,
    Wind,
    Regen,
    Reversierung,
    TastAutomatik,
    ProportionaleTemperatursteuerung,
    InnenTemperatursteuerung,
    HeizungsSteuerung,
    FeuchtigkeitsSteuerung,
    AussenTemperatursteuerung,
};
constexpr int kMotorTableCount = 12;
constexpr int kSendenFlags = kScheduleSize + kMotorTableCount * kMotors;

// The one in-memory image of a controller's configuration. Plain data: callers
// read and write fields directly and refresh the views they own.
struct ConfigStore {
    std::array<SchaltzeitEntry, kScheduleSize> Schaltzeit{};
    std::array<BeschattungRecord, kMotors> Beschattung{};
    std::array<DaemmerungRecord, kMotors> DaemmerungMorgen{};
    std::array<DaemmerungRecord, kMotors> DaemmerungAbend{};
    std::array<WindRecord, kMotors> Wind{};
    std::array<RegenRecord, kMotors> Regen{};
    std::array<ReversierungRecord, kMotors> Reversierung{};
    std::array<TastAutomatikRecord, kMotors> TastAutomatik{};
    std::array<ProportionaleTemperaturRecord, kMotors> ProportionaleTemperatursteuerung{};
    std::array<InnenTemperaturRecord, kMotors> InnenTemperatursteuerung{};
    std::array<HeizungsRecord, kMotors> HeizungsSteuerung{};
    std::array<FeuchtigkeitsRecord, kMotors> FeuchtigkeitsSteuerung{};
    std::array<AussenTemperaturRecord, kMotors> AussenTemperatursteuerung{};
    std::array<int32_t, kMotors> AlarmPattern{}; // 0 up, 1 neutral, 2 down
    int32_t GruppenZentralsteuerung[kBanks][kGroups] = {}; // [bank-1][group-1], 8-bit member masks
    Parameters Parameter{};
    std::array<QString, kMotors> MotorNamen{};
    bool SoftGZS = false;

    ConfigStore() { reset(); }

    void reset();
    void markAllPending();
    void clearAllPending();
    int pendingCount() const; // Senden flags set, over every array
    bool allPending() const { return pendingCount() == kSendenFlags; }
    bool nonePending() const { return pendingCount() == 0; }
    void markPending(MotorTable table, int motorIndex); // motorIndex 0..31
    void markSchedulePending(int flatIndex);
    int32_t &senden(MotorTable table, int motorIndex);
    int32_t senden(MotorTable table, int motorIndex) const;

    // weekday 1..7, motor 1..32, entry 1..8
    static constexpr int flatIndex(int weekday, int motor, int entry)
    {
        return (weekday - 1) * 256 + (motor - 1) * 8 + (entry - 1);
    }
    SchaltzeitEntry &entry(int weekday, int motor, int number)
    {
        return Schaltzeit[flatIndex(weekday, motor, number)];
    }
    const SchaltzeitEntry &entry(int weekday, int motor, int number) const
    {
        return Schaltzeit[flatIndex(weekday, motor, number)];
    }

    bool operator==(const ConfigStore &) const = default;
};

// Time codes: 0 = not in use, 1 = 00:00 .. 1440 = 23:59. hour < 0 means "no hour".
constexpr int32_t timeCode(int hour, int minute)
{
    return hour < 0 ? 0 : hour * 60 + minute + 1;
}
// In 64 bits: a code read from a file may be any 32-bit value.
constexpr int hourOf(int32_t code) { return int((int64_t(code) - 1) / 60); }
constexpr int minuteOf(int32_t code) { return int((int64_t(code) - 1) % 60); }

QString defaultMotorName(int motorIndex); // "Motor 1" .. "Motor 32"
// A name without its padding, or the default name where the controller keeps none.
QString shownMotorName(const QString &name, int motorIndex);

} // namespace vandorelle
