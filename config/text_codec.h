#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The one converter between QString and the bytes of the line, the configuration file and the
// logbook export. All three carry Windows-1252 and end lines with CR LF.
namespace vandorelle {

// Characters Windows-1252 cannot carry become '?' (one per character, not per UTF-16 unit).
QByteArray toWindows1252(const QString &text);
// Every byte maps to exactly one character, so any byte sequence decodes and re-encodes unchanged.
QString fromWindows1252(const QByteArray &bytes);
bool representableInWindows1252(const QString &text);
// nullopt for bytes that are not well-formed UTF-8.
std::optional<QString> fromUtf8Strictly(const QByteArray &bytes);

// Control characters (below 0x20, and 0x7F) become blanks: one odd byte from the line must never
// split a line of a file or a list.
QString blankControlCharacters(const QString &text);
inline QString sanitizeLineText(const QString &text) { return blankControlCharacters(text); }

inline constexpr char kLineEnd[] = "\r\n";

// Encodes one line and appends it with CR LF.
void appendLine(QByteArray &out, const QString &line);
// Splits on CR LF or on a bare LF; the terminators are removed. A last line without terminator
// is kept; nothing follows a final terminator.
QList<QByteArray> splitLines(const QByteArray &bytes);

} // namespace vandorelle
