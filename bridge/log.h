#pragma once

#include <QString>

namespace vandorelle::bridge {

// Syslog priorities: the journal reads them from a "<N>" at the start of a line.
enum class LogLevel { Error = 3, Warning = 4, Notice = 5, Info = 6, Debug = 7 };

// One line per event on stderr; a text of several lines (a remedy below its message) gives
// several lines of the same level. Under systemd the lines carry their priority for the journal,
// in a terminal they carry the program's name. Debug lines only when verbose.
void logLine(LogLevel level, const QString &text);
void setVerboseLog(bool on);

inline void logError(const QString &text) { logLine(LogLevel::Error, text); }
inline void logWarning(const QString &text) { logLine(LogLevel::Warning, text); }
inline void logNotice(const QString &text) { logLine(LogLevel::Notice, text); }
inline void logInfo(const QString &text) { logLine(LogLevel::Info, text); }
inline void logDebug(const QString &text) { logLine(LogLevel::Debug, text); }

// Bytes for a log line: control characters as \r, \n, \xNN, the whole in double quotes.
QString quotedBytes(const QString &text);
// A received payload for a message: quoted, and cut short where it is long.
QString quotedPayload(const QByteArray &payload);

} // namespace vandorelle::bridge
