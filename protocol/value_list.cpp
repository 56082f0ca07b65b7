#include "protocol/value_list.h"

namespace vandorelle {

namespace {

// Sign and magnitude of a decimal; at most 10 digits are accepted so the magnitude fits.
struct Decimal {
    bool negative = false;
    uint64_t magnitude = 0;
};

std::optional<Decimal> parseDecimal(QStringView text)
{
    text = text.trimmed();
    Decimal d;
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        d.negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size() || text.size() - i > 10)
        return std::nullopt;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        d.magnitude = d.magnitude * 10 + (c - u'0');
    }
    return d;
}

} // namespace

std::optional<int32_t> parseInt32(QStringView text)
{
    const auto d = parseDecimal(text);
    if (!d)
        return std::nullopt;
    if (d->negative) {
        if (d->magnitude > uint64_t(INT32_MAX) + 1)
            return std::nullopt;
        return int32_t(-int64_t(d->magnitude));
    }
    if (d->magnitude > uint64_t(INT32_MAX))
        return std::nullopt;
    return int32_t(d->magnitude);
}

std::optional<uint32_t> parseMask32(QStringView text)
{
    const auto d = parseDecimal(text);
    if (!d)
        return std::nullopt;
    if (d->negative) {
        if (d->magnitude > uint64_t(INT32_MAX) + 1)
            return std::nullopt;
        return uint32_t(-int64_t(d->magnitude));
    }
    if (d->magnitude > UINT32_MAX)
        return std::nullopt;
    return uint32_t(d->magnitude);
}

bool ParseValueList(QString &lastPayload, ValueList &values, NumberForm form)
{
    values.fill(0);
    qsizetype from = 0;
    bool ok = true;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const qsizetype comma = lastPayload.indexOf(u',', from);
        if (comma < 0)
            break;
        const QStringView piece = QStringView(lastPayload).sliced(from, comma - from);
        if (form == NumberForm::Mask32) {
            const auto v = parseMask32(piece);
            ok = v.has_value();
            if (ok)
                values[k] = int32_t(*v);
        } else {
            const auto v = parseInt32(piece);
            ok = v.has_value();
            if (ok)
                values[k] = *v;
        }
        if (!ok)
            break;
        from = comma + 1;
    }
    // One removal instead of one per value keeps long payloads linear.
    lastPayload.remove(0, from);
    return ok;
}

bool ChecksumOk(const ValueList &values, int n)
{
    if (n < 0 || n >= int(values.size()))
        return false;
    int64_t sum = 0;
    for (int i = 0; i < n; ++i)
        sum += values[i];
    return sum == values[n];
}

} // namespace vandorelle
