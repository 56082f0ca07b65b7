#pragma once

#include "config/store.h"
#include "protocol/device_family.h"
#include "protocol/follow_up.h"
#include "protocol/live_values.h"
#include "protocol/status_model.h"
#include "protocol/value_list.h"

#include <QString>

#include <optional>
#include <string_view>

namespace vandorelle {



// What a decoder may touch besides the store.
struct RecordContext {
    ConfigStore &store;
    StatusModel &status;
    LiveValues &live;
    const DeviceFlags &flags;
    int &firmwareNumber;
    bool &firmwareKnown;
};

// Something the session announces after a record was decoded.
enum class RecordSignal { None, ScheduleStart, ScheduleEnd, TimeSignalEnded };

struct DecodeResult {
    // Nothing was stored; panel 5 shows error, or the kind's check error when it is empty.
    bool rejected = false;
    QString error;
    RecordSignal signal = RecordSignal::None;

    static DecodeResult reject(QString text = {}) { return {true, std::move(text), RecordSignal::None}; }
    static DecodeResult announce(RecordSignal s) { return {false, {}, s}; }
};

enum class PayloadKind {
    Text,   // used as characters
    Values, // signed 32-bit decimals, each followed by a comma
    Masks,  // 32-bit masks, written signed or unsigned
};

// How a failed check is reported on panel 5.
enum class CheckErrorForm {
    Fixed,          // the text alone
    FirstValue,     // text + value 1
    FirstValueLess, // text + (value 1 - 1)
};

// One row of the tag dispatch table.
struct RecordKind {
    std::string_view tag;
    std::string_view caption; // panel 6, set first; empty: left alone
    bool progressLine = false; // caption also goes into line 7 of the schedule lists
    PayloadKind payload = PayloadKind::Values;
    int checkCount = 0;        // n of ChecksumOk(n); 0: no check value
    std::string_view checkError;
    CheckErrorForm checkErrorForm = CheckErrorForm::Fixed;
    DecodeResult (*decodeValues)(RecordContext &, const ValueList &) = nullptr;
    DecodeResult (*decodeText)(RecordContext &, const QString &) = nullptr;
    std::optional<FollowUp> followUp; // runs whether or not the check held
};

// The row of a tag; nullptr for tags the tool does not handle.
const RecordKind *findRecordKind(QByteArrayView tag);

// Panel 6 text of a record: its caption; for "sfs" the weekday abbreviation of value 1 is added.
QString recordCaption(const RecordKind &kind, const ValueList &values);
QString checkErrorText(const RecordKind &kind, const ValueList &values);

// "Mo" .. "So" for 1..7, empty otherwise.
QString weekdayAbbreviation(int weekday);

// Decoders of the status and sensor records (record_decoders_live.cpp).
DecodeResult decodeModel(RecordContext &ctx, const QString &payload);
DecodeResult decodeFirmware(RecordContext &ctx, const QString &payload);
DecodeResult decodeDate(RecordContext &ctx, const QString &payload);
DecodeResult decodeTime(RecordContext &ctx, const QString &payload);
DecodeResult decodeMotorName(RecordContext &ctx, const QString &payload);
DecodeResult decodeSensors(RecordContext &ctx, const ValueList &v);
// "sfs": start marker (initialises the table), entry, or end marker.
DecodeResult decodeSchaltzeit(RecordContext &ctx, const ValueList &v);

// Firmware number of a version text such as '7.090' (digit, separator, three digits):
// 7090. nullopt when the text has another form.
std::optional<int> firmwareNumberOf(const QString &text);

} // namespace vandorelle
