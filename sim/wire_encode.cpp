#include "sim/wire_encode.h"

#include "sim/cp1252.h"

namespace vandorelle::sim {

QByteArray frame(const char *tag, const QByteArray &payload)
{
    return QByteArray("start_") + tag + payload + "ende_";
}

QByteArray valueList(std::span<const int64_t> values)
{
    QByteArray text;
    for (int64_t v : values) {
        text += QByteArray::number(static_cast<qlonglong>(v));
        text += ',';
    }
    return text;
}

Values withSum(Values values)
{
    int64_t sum = 0;
    for (int64_t v : values) sum += v;
    values.push_back(sum);
    return values;
}

Values motorRecordValues(const MotorRecordLayout &layout, const ConfigStore &store, int motor,
                         bool tastFunk)
{
    auto &mutableStore = const_cast<ConfigStore &>(store); // the field table hands out references
    Values values{motor};
    for (const FieldRule &rule : layout.fields)
        values.push_back(encodeField(rule, rule.field(mutableStore, motor - 1), tastFunk));
    return withSum(std::move(values));
}

QByteArray namePayload(const ConfigStore &store, int motor)
{
    return QByteArray::number(motor).rightJustified(2, '0') + ',' +
           toCp1252(store.MotorNamen[motor - 1]);
}

Values alarmValues(const ConfigStore &store)
{
    uint32_t up = 0;
    uint32_t down = 0;
    for (int m = 0; m < kMotors; ++m) {
        if (store.AlarmPattern[m] == 0) up |= 1u << m;
        if (store.AlarmPattern[m] == 2) down |= 1u << m;
    }
    return {static_cast<int32_t>(up), static_cast<int32_t>(down)};
}

Values groupValues(const ConfigStore &store)
{
    Values values;
    for (int g = 0; g < kGroups; ++g) {
        uint32_t members = 0;
        for (int b = 0; b < kBanks; ++b)
            members |= (static_cast<uint32_t>(store.GruppenZentralsteuerung[b][g]) & 0xFFu) << (8 * b);
        values.push_back(static_cast<int32_t>(members));
    }
    return values;
}

Values scheduleStartMarker() { return withSum({0, 0, 0, 0, 0, 0, 0, 0, 0}); }
Values scheduleEndMarker() { return withSum({255, 0, 0, 0, 0, 0, 0, 0, 0}); }

namespace {
int firstDayOfGroup(int group, int weekday)
{
    switch (group) {
    case 2: return 6;
    case 5:
    case 7: return 1;
    default: return weekday;
    }
}
} // namespace

std::vector<Values> scheduleEntries(const ConfigStore &store)
{
    std::vector<Values> records;
    for (int day = 1; day <= kWeekdays; ++day) {
        for (int motor = 1; motor <= kMotors; ++motor) {
            for (int number = 1; number <= kEntries; ++number) {
                const SchaltzeitEntry &e = store.entry(day, motor, number);
                if (!e.inUse() || firstDayOfGroup(e.Gruppe, day) != day) continue;
                records.push_back(withSum({day, motor - 1, number, e.Richtung == 0 ? 1 : 0,
                                           hourOf(e.Zeit), minuteOf(e.Zeit), e.Dauer, e.Gruppe,
                                           e.Funktion}));
            }
        }
    }
    return records;
}

} // namespace vandorelle::sim
