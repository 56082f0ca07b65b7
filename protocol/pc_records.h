#pragma once

#include "config/store.h"
#include "protocol/device_family.h"

#include <QStringList>

#include <cstdint>

namespace vandorelle {

// What the PC writes to the controller. A record is a list of pieces: the tag, then each
// value as decimal text followed by "\r". Senders hand each piece to the port as one write.
using PcRecord = QStringList;

namespace pc {

// The bare read requests of "Steuerung --> PC", in sending order, for a device family.
QStringList readAllRequests(const DeviceFlags &flags);

// Per-motor function record of one motor (1..32): " rbp", " rdm", ... with its sum check.
PcRecord motorRecord(MotorTable table, const ConfigStore &store, int motor, bool tastFunk);
// " rmn": motor, the name padded and cut to 12 characters, the same 12 characters again.
PcRecord motorName(const ConfigStore &store, int motor);

// One-value global parameters, the value repeated as check.
PcRecord outsideOffset(const ConfigStore &store);     // " roa"
PcRecord insideOffset(const ConfigStore &store);      // " roi"
PcRecord heatingHysteresis(const ConfigStore &store); // " rhh"
PcRecord shadingHysteresis(const ConfigStore &store); // " rbh", +128 with software group control
PcRecord randomSpan(int randomSpanCode);              // " rzz", code of the random-span selector

// Masks written unsigned, constant check 22.
PcRecord alarmPattern(const ConfigStore &store); // " ras"
PcRecord groupControl(const ConfigStore &store); // " rgz"

// " rfs" of entry (weekday, motor, entry); pos 1 carries sendWeekday (the group's first day).
PcRecord scheduleEntry(const SchaltzeitEntry &entry, int sendWeekday, int motor, int number);
PcRecord scheduleInitialise(); // weekday 0: the controller wipes its schedule memory
PcRecord scheduleDayEnd();     // weekday 255
PcRecord scheduleEnd();        // weekday 8

// The " rfs" check: the sum with 256 taken off at most twice.
int64_t reducedScheduleCheck(int64_t sum);

} // namespace pc
} // namespace vandorelle
