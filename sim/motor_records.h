#pragma once

#include "config/store.h"

#include <cstdint>
#include <span>

namespace vandorelle::sim {

// How a stored code travels on the line; the same rule serves both directions.
enum class WireRule {
    Flag,             // code 0 <-> 1, anything else <-> 0
    Offset,           // wire = code + offset
    WindKmh,          // wire = (code + 1) * 5
    TastDuration,     // wire = code + 1, plus 48 on radio push-button devices
    HeatingMode,      // code 1 (cooling) <-> 0, anything else <-> 1
    OutsideDirection, // up 0 <-> 1, down 1 <-> 0, others unchanged
};

struct FieldRule {
    const char *name; // field name, for messages
    WireRule rule;
    int32_t offset;
    int32_t &(*field)(ConfigStore &store, int motorIndex);
};

// One per-motor automation record: its read tag, write tag and field rules after
// the motor number. The check value is the sum of motor and fields.
struct MotorRecordLayout {
    const char *readTag;  // "sbp": request and answer frame
    const char *writeTag; // "rbp": the PC's record (sent with blanks around it)
    MotorTable table;
    std::span<const FieldRule> fields;
};

std::span<const MotorRecordLayout> motorRecordLayouts();
const MotorRecordLayout *layoutForReadTag(const QByteArray &tag);
const MotorRecordLayout *layoutForWriteTag(const QByteArray &tag);

int64_t encodeField(const FieldRule &rule, int32_t code, bool tastFunk);
int32_t decodeField(const FieldRule &rule, int64_t wire, bool tastFunk);

} // namespace vandorelle::sim
