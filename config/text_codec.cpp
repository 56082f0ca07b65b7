#include "config/text_codec.h"

#include <QStringDecoder>

#include <array>

namespace vandorelle {

namespace {

// 0x80..0x9F. The five unassigned bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control
// of the same value, so decoding is total and bytes survive a round trip.
constexpr std::array<char16_t, 32> kHighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};

constexpr char kUnrepresentable = '?';

// Returns -1 when the code point has no byte.
int byteFor(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return int(codePoint);
    for (std::size_t i = 0; i < kHighControlBlock.size(); ++i) {
        if (kHighControlBlock[i] == codePoint)
            return int(0x80 + i);
    }
    return -1;
}

template <typename Visit> void forEachCodePoint(const QString &text, Visit visit)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            visit(QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
        } else {
            visit(char32_t(c.unicode()));
        }
    }
}

} // namespace

QByteArray toWindows1252(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    forEachCodePoint(text, [&out](char32_t cp) {
        const int b = byteFor(cp);
        out.append(b < 0 ? kUnrepresentable : char(b));
    });
    return out;
}

QString fromWindows1252(const QByteArray &bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar *dst = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *dst++ = (b >= 0x80 && b < 0xA0) ? QChar(kHighControlBlock[b - 0x80]) : QChar(b);
    }
    return out;
}

bool representableInWindows1252(const QString &text)
{
    bool ok = true;
    forEachCodePoint(text, [&ok](char32_t cp) {
        if (byteFor(cp) < 0)
            ok = false;
    });
    return ok;
}

std::optional<QString> fromUtf8Strictly(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString blankControlCharacters(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    }
    return out;
}

void appendLine(QByteArray &out, const QString &line)
{
    out.append(toWindows1252(line));
    out.append(kLineEnd, 2);
}

QList<QByteArray> splitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype end = bytes.indexOf('\n', start);
        const bool terminated = end >= 0;
        if (!terminated)
            end = n;
        qsizetype stop = end;
        if (terminated && stop > start && bytes.at(stop - 1) == '\r')
            --stop;
        lines.append(bytes.mid(start, stop - start));
        start = end + 1;
    }
    return lines;
}

} // namespace vandorelle
