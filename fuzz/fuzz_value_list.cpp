// The value-list parser that every numeric record of the controller goes through.
//
// Input: byte 0 selects the number form (bit 0) and the decoding of the rest (bit 1: UTF-8,
// reaching characters the line cannot carry; else Windows-1252 as on the line).
//
// Checks: parsing only takes whole "number," pieces from the front; what it read, written
// back the way the tool writes numbers, reads again to the same values.

#include "config/text_codec.h"
#include "fuzz/fuzz_support.h"
#include "protocol/value_list.h"

#include <cstdint>

using namespace vandorelle;

namespace {

QString written(const ValueList &values)
{
    QString text;
    for (int32_t v : values)
        text += QString::number(v) + QLatin1Char(',');
    return text;
}

void checkChecksums(const ValueList &values)
{
    for (int n = -1; n <= int(values.size()); ++n) {
        const bool ok = ChecksumOk(values, n);
        if (n < 0 || n >= int(values.size())) {
            FUZZ_CHECK(!ok);
            continue;
        }
        int64_t sum = 0;
        for (int i = 0; i < n; ++i)
            sum += values[i];
        FUZZ_CHECK(ok == (sum == values[n]));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const NumberForm form = data[0] & 1 ? NumberForm::Mask32 : NumberForm::Signed32;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QString original = data[0] & 2 ? QString::fromUtf8(bytes) : fromWindows1252(bytes);

    QString rest = original;
    ValueList values;
    values.fill(-1);
    const bool ok = ParseValueList(rest, values, form);

    // Only a front part is consumed, and it ends at a comma.
    FUZZ_CHECK(original.endsWith(rest));
    const QStringView consumed = QStringView(original).first(original.size() - rest.size());
    FUZZ_CHECK(consumed.isEmpty() || consumed.endsWith(u','));
    const qsizetype pieces = consumed.count(u',');
    FUZZ_CHECK(pieces <= qsizetype(values.size()));
    for (qsizetype k = pieces; k < qsizetype(values.size()); ++k)
        FUZZ_CHECK(values[k] == 0);
    if (ok) {
        // Everything readable was read: the rest holds no further piece, or the list is full.
        FUZZ_CHECK(pieces == qsizetype(values.size()) || !rest.contains(u','));
    } else {
        // The piece that failed stays unconsumed, so the handler can still show it.
        FUZZ_CHECK(rest.contains(u','));
        FUZZ_CHECK(pieces < qsizetype(values.size()));
    }
    checkChecksums(values);

    // What was read survives being written and read again.
    QString again = written(values);
    ValueList reread;
    FUZZ_CHECK(ParseValueList(again, reread, NumberForm::Signed32));
    FUZZ_CHECK(again.isEmpty());
    FUZZ_CHECK(reread == values);
    for (int32_t v : values) {
        FUZZ_CHECK(parseMask32(QString::number(v)) == uint32_t(v));
        FUZZ_CHECK(parseMask32(QString::number(uint32_t(v))) == uint32_t(v));
    }

    // The single-number readers agree with the list on the whole input.
    const auto asInt = parseInt32(original);
    const auto asMask = parseMask32(original);
    if (asInt)
        FUZZ_CHECK(asMask && int32_t(*asMask) == *asInt);
    if (asMask && !asInt)
        FUZZ_CHECK(*asMask > uint32_t(INT32_MAX) && !original.trimmed().startsWith(u'-'));
    return 0;
}
