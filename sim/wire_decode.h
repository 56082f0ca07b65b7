#pragma once

#include "config/store.h"
#include "sim/global_records.h"
#include "sim/motor_records.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <optional>
#include <span>

namespace vandorelle::sim {

enum class ApplyResult { Applied, BadCheck, BadValue };

// A value field as the tool writes it: optional sign and decimal digits, blanks around
// ignored. Masks reach 4294967295, so the result is 64-bit.
std::optional<int64_t> parseNumber(const QByteArray &field);

// The schedule record's check value: sums above 255 lose 256, at most twice.
int64_t reducedScheduleCheck(int64_t sum);

// Each takes the record's values after its tag, check value last.
ApplyResult applyMotorRecord(const MotorRecordLayout &layout, std::span<const int64_t> values,
                             ConfigStore &store, bool tastFunk);
ApplyResult applyGlobalRecord(const GlobalRecordLayout &layout, std::span<const int64_t> values,
                              ConfigStore &store);
ApplyResult applyAlarmRecord(std::span<const int64_t> values, ConfigStore &store);
ApplyResult applyGroupRecord(std::span<const int64_t> values, ConfigStore &store);
// A dated entry (weekday 1..7); the markers 0, 255 and 8 are the caller's business.
ApplyResult applyScheduleEntry(std::span<const int64_t> values, ConfigStore &store);
// Fields: motor number, name, the name again as check. Padding blanks are dropped.
ApplyResult applyNameRecord(const QList<QByteArray> &fields, ConfigStore &store);

// Marks the whole schedule memory unused.
void wipeSchedule(ConfigStore &store);

// Any data record of the PC by its tag ("rbp", "rfs" ...), fields as they came. The
// schedule's wipe marker (weekday 0) wipes; its other markers apply nothing.
ApplyResult applyPcRecord(const QByteArray &tag, const QList<QByteArray> &fields, ConfigStore &store,
                          bool tastFunk);

} // namespace vandorelle::sim
