#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>

namespace vandorelle {

using ValueList = std::array<int32_t, 16>;

// Numbers on the wire are plain decimals whatever the desktop's locale: optional sign,
// digits, nothing else (blanks around the number are tolerated).
std::optional<int32_t> parseInt32(QStringView text);
// A 32-bit mask written signed (-2147483648..2147483647) or unsigned (0..4294967295);
// the result carries the bit pattern.
std::optional<uint32_t> parseMask32(QStringView text);

enum class NumberForm { Signed32, Mask32 };

// Fills values from lastPayload, consuming every "number," piece from its front; text after
// the last comma stays in lastPayload. Entries without a piece stay 0. False when a piece
// is not a valid number of the given form: values then hold what was read before it.
bool ParseValueList(QString &lastPayload, ValueList &values, NumberForm form = NumberForm::Signed32);

// The record's n data values add up to its value n+1 (arithmetic sum, no modulo).
bool ChecksumOk(const ValueList &values, int n);

} // namespace vandorelle
