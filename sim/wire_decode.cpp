#include "sim/wire_decode.h"

#include "sim/cp1252.h"

#include <limits>
#include <vector>
#include <numeric>

namespace vandorelle::sim {

namespace {

constexpr int64_t kMaskCheck = 22;
constexpr int kNameLength = 12;

bool sumMatches(std::span<const int64_t> values)
{
    if (values.empty()) return false;
    const auto data = values.first(values.size() - 1);
    return std::accumulate(data.begin(), data.end(), int64_t{0}) == values.back();
}

bool validMotor(int64_t motor) { return motor >= 1 && motor <= kMotors; }

bool fitsUnsigned32(int64_t v) { return v >= 0 && v <= int64_t{std::numeric_limits<uint32_t>::max()}; }

// Unsigned on the wire; a signed writer's negative form is taken too.
std::optional<uint32_t> mask(int64_t v)
{
    if (fitsUnsigned32(v)) return static_cast<uint32_t>(v);
    if (v >= std::numeric_limits<int32_t>::min() && v < 0) return static_cast<uint32_t>(int32_t(v));
    return std::nullopt;
}

std::optional<std::vector<int64_t>> numbersOf(const QList<QByteArray> &fields)
{
    std::vector<int64_t> values;
    for (const QByteArray &field : fields) {
        const auto v = parseNumber(field);
        if (!v) return std::nullopt;
        values.push_back(*v);
    }
    return values;
}

constexpr int64_t kWipeMarker = 0;
constexpr int64_t kDayEndMarker = 255;
constexpr int64_t kScheduleEndMarker = 8;

ApplyResult applyScheduleRecord(std::span<const int64_t> values, ConfigStore &store)
{
    const int64_t weekday = values.empty() ? -1 : values.front();
    if (weekday >= 1 && weekday <= kWeekdays) return applyScheduleEntry(values, store);
    if (values.size() != 10) return ApplyResult::BadValue;
    const int64_t sum = std::accumulate(values.begin(), values.end() - 1, int64_t{0});
    if (reducedScheduleCheck(sum) != values.back()) return ApplyResult::BadCheck;
    if (weekday == kWipeMarker) wipeSchedule(store);
    return weekday == kWipeMarker || weekday == kDayEndMarker || weekday == kScheduleEndMarker
               ? ApplyResult::Applied
               : ApplyResult::BadValue;
}

} // namespace

std::optional<int64_t> parseNumber(const QByteArray &field)
{
    const QByteArray text = field.trimmed();
    if (text.isEmpty() || text.size() > 12) return std::nullopt;
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok, 10);
    if (!ok) return std::nullopt;
    return v;
}

int64_t reducedScheduleCheck(int64_t sum)
{
    for (int i = 0; i < 2 && sum > 255; ++i) sum -= 256;
    return sum;
}

ApplyResult applyMotorRecord(const MotorRecordLayout &layout, std::span<const int64_t> values,
                             ConfigStore &store, bool tastFunk)
{
    if (values.size() != layout.fields.size() + 2) return ApplyResult::BadValue;
    if (!sumMatches(values)) return ApplyResult::BadCheck;
    if (!validMotor(values[0])) return ApplyResult::BadValue;
    const int motorIndex = int(values[0]) - 1;
    for (size_t i = 0; i < layout.fields.size(); ++i) {
        const FieldRule &rule = layout.fields[i];
        rule.field(store, motorIndex) = decodeField(rule, values[i + 1], tastFunk);
    }
    return ApplyResult::Applied;
}

ApplyResult applyGlobalRecord(const GlobalRecordLayout &layout, std::span<const int64_t> values,
                              ConfigStore &store)
{
    if (values.size() != 2) return ApplyResult::BadValue;
    if (values[0] != values[1]) return ApplyResult::BadCheck;
    layout.apply(store, values[0]);
    return ApplyResult::Applied;
}

ApplyResult applyAlarmRecord(std::span<const int64_t> values, ConfigStore &store)
{
    if (values.size() != 3) return ApplyResult::BadValue;
    if (values[2] != kMaskCheck) return ApplyResult::BadCheck;
    const auto up = mask(values[0]);
    const auto down = mask(values[1]);
    if (!up || !down) return ApplyResult::BadValue;
    for (int m = 0; m < kMotors; ++m) {
        int32_t pattern = 1;
        if (*up & (1u << m)) pattern = 0;
        if (*down & (1u << m)) pattern = 2;
        store.AlarmPattern[m] = pattern;
    }
    return ApplyResult::Applied;
}

ApplyResult applyGroupRecord(std::span<const int64_t> values, ConfigStore &store)
{
    if (values.size() != kGroups + 1) return ApplyResult::BadValue;
    if (values[kGroups] != kMaskCheck) return ApplyResult::BadCheck;
    uint32_t members[kGroups];
    for (int g = 0; g < kGroups; ++g) {
        const auto m = mask(values[g]);
        if (!m) return ApplyResult::BadValue;
        members[g] = *m;
    }
    for (int g = 0; g < kGroups; ++g)
        for (int b = 0; b < kBanks; ++b)
            store.GruppenZentralsteuerung[b][g] = int32_t((members[g] >> (8 * b)) & 0xFFu);
    return ApplyResult::Applied;
}

ApplyResult applyScheduleEntry(std::span<const int64_t> values, ConfigStore &store)
{
    if (values.size() != 10) return ApplyResult::BadValue;
    const int64_t sum = std::accumulate(values.begin(), values.end() - 1, int64_t{0});
    if (reducedScheduleCheck(sum) != values[9]) return ApplyResult::BadCheck;

    const int64_t weekday = values[0], motor = values[1], number = values[2];
    const int64_t hour = values[4], minute = values[5], group = values[7];
    if (weekday < 1 || weekday > kWeekdays || !validMotor(motor) || number < 1 || number > kEntries)
        return ApplyResult::BadValue;
    if (hour < 0 || hour > 24 || minute < 0 || minute > 59) return ApplyResult::BadValue;

    int first = int(weekday), last = int(weekday);
    switch (group) {
    case 1: break;
    case 2: first = 6, last = 7; break;
    case 5: first = 1, last = 5; break;
    case 7: first = 1, last = 7; break;
    default: return ApplyResult::BadValue; // no weekday to put it on
    }

    SchaltzeitEntry entry;
    entry.Richtung = values[3] == 1 ? 0 : 1;
    entry.Zeit = hour == 24 ? 0 : timeCode(int(hour), int(minute));
    entry.Dauer = int32_t(values[6]);
    entry.Gruppe = int32_t(group);
    entry.Funktion = int32_t(values[8]);
    entry.Senden = 0;
    for (int day = first; day <= last; ++day) store.entry(day, int(motor), int(number)) = entry;
    return ApplyResult::Applied;
}

ApplyResult applyNameRecord(const QList<QByteArray> &fields, ConfigStore &store)
{
    if (fields.size() != 3) return ApplyResult::BadValue;
    if (fields[1] != fields[2]) return ApplyResult::BadCheck;
    const auto motor = parseNumber(fields[0]);
    if (!motor || !validMotor(*motor)) return ApplyResult::BadValue;
    QString name = fromCp1252(fields[1].left(kNameLength));
    while (name.endsWith(QLatin1Char(' '))) name.chop(1);
    store.MotorNamen[*motor - 1] = name;
    return ApplyResult::Applied;
}

void wipeSchedule(ConfigStore &store)
{
    for (auto &e : store.Schaltzeit) e = SchaltzeitEntry{};
}

ApplyResult applyPcRecord(const QByteArray &tag, const QList<QByteArray> &fields, ConfigStore &store,
                          bool tastFunk)
{
    if (tag == "rmn") return applyNameRecord(fields, store);
    const auto values = numbersOf(fields);
    if (!values) return ApplyResult::BadValue;
    if (const auto *layout = layoutForWriteTag(tag)) return applyMotorRecord(*layout, *values, store, tastFunk);
    if (const auto *global = globalLayoutForWriteTag(tag)) return applyGlobalRecord(*global, *values, store);
    if (tag == "ras") return applyAlarmRecord(*values, store);
    if (tag == "rgz") return applyGroupRecord(*values, store);
    if (tag == "rfs") return applyScheduleRecord(*values, store);
    return ApplyResult::BadValue;
}

} // namespace vandorelle::sim
