#pragma once

#include "config/store.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace vandorelle {

constexpr int32_t kLogbookEndMarker = 9999;
constexpr int kLogbookEntryValues = 9;  // values before the check value
constexpr int kLogbookPageEntries = 100;
constexpr int kLogbookPageLines = 101;  // a page of entries and the end marker behind it

inline const QString kLogbookEmptyText = QStringLiteral("   Keine Logbucheinträge gespeichert");
inline const QString kLogbookExportHeader =
    QStringLiteral("Nr;Motor/Raum;Datum;Uhrzeit;Richtung;Ausgelöst durch");

// One "sld" or "slf" record, values 1..9 in their order on the wire.
struct LogbookEntry {
    int32_t number = 0;    // 9999 = end marker
    int32_t motor = 0;
    int32_t direction = 0; // 0 down, else up
    int32_t day = 0;
    int32_t month = 0;
    int32_t cause = 0;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t subCode = 0;   // of cause 0: 0 fixed, 1 astro, 2 random

    template <typename Values> static LogbookEntry fromValues(const Values &v)
    {
        return {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]};
    }
    bool isEndMarker() const { return number == kLogbookEndMarker; }
    bool hasNoDate() const { return day == 0 && month == 0; }
};

// The list and the export word a few causes differently.
enum class LogbookColumn { Display, Export };

QString logbookCauseText(int32_t cause, int32_t subCode, LogbookColumn column);

// The name of motor 1..32, or its number when the controller names a motor we do not have.
QString logbookMotorName(const std::array<QString, kMotors> &names, int32_t motor);

// Where an entry goes on the page of the list, and whether the page starts afresh.
struct LogbookPlacement {
    int line = 0;          // 0 .. kLogbookPageLines-1
    bool newPage = false;
};
// entryNumber is the entry's own number, or for the end marker the last number + 1.
LogbookPlacement logbookPlacement(int32_t entryNumber, bool endMarker);

// shownNumber counts from the newest entry: total - entry number + 1.
QString logbookDisplayLine(const LogbookEntry &entry, int32_t shownNumber, const QString &motorName);
QString logbookExportLine(const LogbookEntry &entry, int32_t shownNumber, const QString &motorName);

// One line of the export file: Windows-1252, CR LF.
QByteArray logbookFileLine(const QString &line);

} // namespace vandorelle
