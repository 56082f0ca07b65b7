#include "protocol/pc_records.h"

#include <QList>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace vandorelle::pc {

namespace {

// Wide, so odd store values (from a file or the line) cannot overflow an offset or a sum.
using Values = QList<int64_t>;

constexpr int kNameLength = 12;
constexpr int kMaskCheck = 22;

// The controller reads every value and check as a signed 32-bit decimal. Codes within their
// fields' ranges always fit; should an odd report of a controller bring one beyond, it is held
// at the end of the range, so that its record fails the check instead of carrying a number the
// controller cannot read.
QString piece(int64_t value)
{
    constexpr int64_t kFirst = std::numeric_limits<int32_t>::min();
    constexpr int64_t kLast = std::numeric_limits<int32_t>::max();
    Q_ASSERT_X(value >= kFirst && value <= kLast, "pc::piece", "a value beyond the wire's 32-bit range");
    return QString::number(std::clamp(value, kFirst, kLast)) + QLatin1Char('\r');
}

// Store code 1 is the second choice ("AUS", down, less, night, cooling).
int64_t flag(int32_t code)
{
    return code == 1 ? 0 : 1;
}

PcRecord withSum(const char *tag, const Values &values)
{
    PcRecord record{QString::fromLatin1(tag)};
    int64_t sum = 0;
    for (int64_t v : values) {
        record << piece(v);
        sum += v;
    }
    record << piece(sum);
    return record;
}

PcRecord doubled(const char *tag, int64_t value)
{
    return {QString::fromLatin1(tag), piece(value), piece(value)};
}

PcRecord masks(const char *tag, const QList<uint32_t> &values)
{
    PcRecord record{QString::fromLatin1(tag)};
    for (uint32_t v : values)
        record << QString::number(v) + QLatin1Char('\r');
    record << piece(kMaskCheck);
    return record;
}

// The outside-temperature direction has three values: up 1, down 0, deactivated 2.
int64_t threeWayDirection(int32_t code)
{
    switch (code) {
    case 0: return 1;
    case 1: return 0;
    default: return code;
    }
}

struct MotorRecordLayout {
    const char *tag;
    Values (*values)(const ConfigStore &store, int index, bool tastFunk);
};

// Indexed by MotorTable.
const std::array<MotorRecordLayout, kMotorTableCount> kMotorRecords = {{
    {" rbp", [](const ConfigStore &s, int i, bool) -> Values {
         const auto &r = s.Beschattung[i];
         return {flag(r.EinAus), int64_t(r.Temperatur) + 90, int64_t(r.Von) + 5, int64_t(r.Bis) + 5,
                 int64_t(r.Helligkeit) + 100, int64_t(r.Dauer) + 1};
     }},
    {" rdm", [](const ConfigStore &s, int i, bool) -> Values {
         const auto &r = s.DaemmerungMorgen[i];
         return {flag(r.EinAus), int64_t(r.Von) + 3, int64_t(r.Helligkeit) + 1, int64_t(r.Dauer) + 1};
     }},
    {" rda", [](const ConfigStore &s, int i, bool) -> Values {
         const auto &r = s.DaemmerungAbend[i];
         return {flag(r.EinAus), int64_t(r.Von) + 14, int64_t(r.Helligkeit) + 1, int64_t(r.Dauer) + 1};
     }},
    {" rwp", [](const ConfigStore &s, int i, bool) -> Values {
         const auto &r = s.Wind[i];
         return {flag(r.EinAus), (int64_t(r.Geschwindigkeit) + 1) * 5};
     }},
    {" rrp", [](const ConfigStore &s, int i, bool) -> Values {
         const auto &r = s.Regen[i];
         return {flag(r.EinAus), flag(r.Richtung)};
     }},
    {" rjp", [](const ConfigStore &s, int i, bool) -> Values {
         const auto &r = s.Reversierung[i];
         return {flag(r.EinAus), r.Bei_Auf, r.Bei_Ab};
     }},
    {" rta ", [](const ConfigStore &s, int i, bool tastFunk) -> Values {
         const auto &r = s.TastAutomatik[i];
         return {flag(r.EinAus), int64_t(r.Dauer) + 1 + (tastFunk ? 48 : 0)};
     }},
    {" rpp", [](const ConfigStore &s, int i, bool) -> Values {
         const auto &r = s.ProportionaleTemperatursteuerung[i];
         return {flag(r.EinAus), r.Von, r.Bis, int64_t(r.SollTemperatur) + 101, flag(r.Richtung),
                 int64_t(r.Regelbereich) + 1, int64_t(r.MaxStellzeit) + 1, int64_t(r.Schritte) + 2};
     }},
    {" rip", [](const ConfigStore &s, int i, bool) -> Values {
         const auto &r = s.InnenTemperatursteuerung[i];
         return {flag(r.EinAus), flag(r.Gr_Kl), int64_t(r.Schwelle1) + 91, flag(r.Richtung),
                 int64_t(r.Schwelle2) + 91, int64_t(r.Dauer) + 1, r.Von, r.Bis};
     }},
    {" rhp", [](const ConfigStore &s, int i, bool) -> Values {
         const auto &r = s.HeizungsSteuerung[i];
         return {flag(r.EinAus), flag(r.TagNacht), flag(r.Betriebsart), r.TagTemperatur,
                 r.NachtTemperatur};
     }},
    {" rfp", [](const ConfigStore &s, int i, bool) -> Values {
         const auto &r = s.FeuchtigkeitsSteuerung[i];
         return {flag(r.EinAus), flag(r.Gr_Kl), int64_t(r.Schwelle1) + 1, int64_t(r.Schwelle2) + 1,
                 int64_t(r.Dauer) + 1, r.Von, r.Bis};
     }},
    {" rap", [](const ConfigStore &s, int i, bool) -> Values {
         const auto &r = s.AussenTemperatursteuerung[i];
         return {flag(r.EinAus), int64_t(r.Schwelle1) + 91, threeWayDirection(r.Richtung),
                 int64_t(r.Schwelle2) + 91, int64_t(r.Dauer) + 1};
     }},
}};

// Read requests in burst order, each with the family condition that asks for it.
struct ReadRequest {
    const char *text;
    bool (*wanted)(const DeviceFlags &);
};

bool shadingOrConservatory(const DeviceFlags &f) { return f.ShadingFamily || f.ConservatoryFamily; }
bool gzs(const DeviceFlags &f) { return f.GzsPresent; }
bool conservatory(const DeviceFlags &f) { return f.ConservatoryFamily; }
bool tast(const DeviceFlags &f) { return f.TastPresent; }
bool always(const DeviceFlags &) { return true; }

constexpr ReadRequest kReadRequests[] = {
    {"sbp", shadingOrConservatory}, {"sdm", shadingOrConservatory},
    {"sda", shadingOrConservatory}, {"swp", shadingOrConservatory},
    {"srp", shadingOrConservatory}, {"sjp", shadingOrConservatory},
    {"soa", shadingOrConservatory}, {"sas", shadingOrConservatory},
    {"sgz", gzs},
    {"spp", conservatory}, {"sip", conservatory}, {"shp", conservatory}, {"sfp", conservatory},
    {"sap", conservatory}, {"ssp", conservatory}, {"soi", conservatory}, {"shh", conservatory},
    {"sta", tast},
    {"smn", always}, {"szz", always}, {"sbh", always}, {"sfs", always},
};

PcRecord fixedScheduleRecord(const Values &values)
{
    PcRecord record{QStringLiteral(" rfs")};
    for (int64_t v : values)
        record << piece(v);
    return record;
}

} // namespace

QStringList readAllRequests(const DeviceFlags &flags)
{
    QStringList out;
    for (const ReadRequest &r : kReadRequests) {
        if (r.wanted(flags))
            out << QString::fromLatin1(r.text);
    }
    return out;
}

PcRecord motorRecord(MotorTable table, const ConfigStore &store, int motor, bool tastFunk)
{
    const MotorRecordLayout &layout = kMotorRecords[size_t(table)];
    Values values{motor};
    values += layout.values(store, motor - 1, tastFunk);
    return withSum(layout.tag, values);
}

PcRecord motorName(const ConfigStore &store, int motor)
{
    const QString name = store.MotorNamen[motor - 1].leftJustified(kNameLength, QLatin1Char(' '), true);
    return {QStringLiteral(" rmn"), piece(motor), name + QLatin1Char('\r'), name + QLatin1Char('\r')};
}

PcRecord outsideOffset(const ConfigStore &store)
{
    return doubled(" roa", int64_t(store.Parameter.Offset_AT) + 95);
}

PcRecord insideOffset(const ConfigStore &store)
{
    return doubled(" roi", int64_t(store.Parameter.Offset_IT) + 95);
}

PcRecord heatingHysteresis(const ConfigStore &store)
{
    return doubled(" rhh", int64_t(store.Parameter.HeizungsHysterese) + 1);
}

PcRecord shadingHysteresis(const ConfigStore &store)
{
    return doubled(" rbh", int64_t(store.Parameter.BeschattungsHysterese) + 2 + (store.SoftGZS ? 128 : 0));
}

PcRecord randomSpan(int randomSpanCode)
{
    return doubled(" rzz", int64_t(randomSpanCode) + 2);
}

PcRecord alarmPattern(const ConfigStore &store)
{
    uint32_t up = 0;
    uint32_t down = 0;
    for (int m = 0; m < kMotors; ++m) {
        if (store.AlarmPattern[m] == 0)
            up |= 1u << m;
        else if (store.AlarmPattern[m] == 2)
            down |= 1u << m;
    }
    return masks(" ras", {up, down});
}

PcRecord groupControl(const ConfigStore &store)
{
    QList<uint32_t> values;
    for (int g = 0; g < kGroups; ++g) {
        uint32_t v = 0;
        // Masks are 8 bits; a wider value must not spill into the next bank's motors.
        for (int b = 0; b < kBanks; ++b)
            v |= (uint32_t(store.GruppenZentralsteuerung[b][g]) & 0xFFu) << (8 * b);
        values << v;
    }
    return masks(" rgz", values);
}

int64_t reducedScheduleCheck(int64_t sum)
{
    if (sum > 255)
        sum -= 256;
    if (sum > 255)
        sum -= 256;
    return sum;
}

PcRecord scheduleEntry(const SchaltzeitEntry &entry, int sendWeekday, int motor, int number)
{
    const int hour = hourOf(entry.Zeit);
    const int minute = minuteOf(entry.Zeit);
    const Values values{sendWeekday, motor, number, flag(entry.Richtung), hour, minute,
                        entry.Dauer, entry.Gruppe, entry.Funktion};
    int64_t sum = 0;
    for (int64_t v : values)
        sum += v;
    PcRecord record = fixedScheduleRecord(values);
    record << piece(reducedScheduleCheck(sum));
    return record;
}

PcRecord scheduleInitialise()
{
    return fixedScheduleRecord({0, 1, 1, 0, 24, 0, 40, 1, 0, 67});
}

PcRecord scheduleDayEnd()
{
    return fixedScheduleRecord({255, 0, 0, 0, 0, 0, 0, 0, 0, 255});
}

PcRecord scheduleEnd()
{
    return fixedScheduleRecord({8, 0, 0, 0, 0, 0, 0, 0, 0, 8});
}

} // namespace vandorelle::pc
