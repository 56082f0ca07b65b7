#pragma once

#include "config/store.h"
#include "sim/motor_records.h"

#include <QByteArray>

#include <cstdint>
#include <span>
#include <vector>

namespace vandorelle::sim {

using Values = std::vector<int64_t>;

// "start_" + tag + payload + "ende_"
QByteArray frame(const char *tag, const QByteArray &payload);
// Every value followed by a comma: '1,0,30,31,'
QByteArray valueList(std::span<const int64_t> values);
// Appends the plain sum of all values (no modulo) as check value.
Values withSum(Values values);

// motor 1..32; the check value is included.
Values motorRecordValues(const MotorRecordLayout &layout, const ConfigStore &store, int motor,
                         bool tastFunk);
// "07,Wohnzimmer"
QByteArray namePayload(const ConfigStore &store, int motor);
// Masks as signed 32-bit numbers, as the tool reads them.
Values alarmValues(const ConfigStore &store);
Values groupValues(const ConfigStore &store);

Values scheduleStartMarker();
Values scheduleEndMarker();
// One record per entry in use; an entry shared by a weekday group is sent once,
// from the group's first day, and the receiver spreads it again.
std::vector<Values> scheduleEntries(const ConfigStore &store);

} // namespace vandorelle::sim
