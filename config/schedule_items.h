#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// Item lists of the switching-time editor's boxes. A stored code is the index into these lists.
namespace vandorelle::schedule {

constexpr int kTimeItems = 1441;     // blank + every minute of the day
constexpr int kDurationItems = 127;  // 0s..99s, 100..350 in tens, "Dau"
constexpr int kNumberItems = 9;      // "1".."8" and one blank item that addresses nothing
constexpr int kBlankNumberItem = 8;

inline const QString kNoTime = QStringLiteral("     ");

// Captions in the window: the tab, and the boxes of the editor.
inline const QString kTabCaption = QStringLiteral("Schaltzeiten");
inline const char *const kMotorCaption = "Motor- bzw. Raumname";
inline const char *const kDurationCaption = "Schalt- dauer";
inline const char *const kGroupCaption = "Gruppe";
inline const char *const kFunctionCaption = "Funktion";
inline const QString kUpText = QStringLiteral("\u00e9");   // symbol-font up arrow
inline const QString kDownText = QStringLiteral("\u00ea"); // symbol-font down arrow

const QStringList &weekdayItems();  // "Mo" .. "So"
const QStringList &timeItems();     // "     ", "00:00" .. "23:59"
const QStringList &durationItems();
const QStringList &numberItems();
const QStringList &directionItems();
const QStringList &functionItems(); // "-", "Astro", "Zufall"
// "-", "Mo - Fr", "Mo - So" on Monday..Friday; "-", "Sa - So", "Mo - So" on the weekend.
const QStringList &groupItems(int weekday);

// The weekdays a `Gruppe` code stands for, as the box names them ("-", "Mo - Fr", ...);
// a code no box offers as its number.
QString groupText(int32_t gruppe);

bool isWeekend(int weekday); // weekday 0 = Monday

// Time text of a time code; codes outside the list (as a controller or file may deliver)
// keep the column width instead of vanishing.
QString timeText(int32_t zeit);
QString weekdayText(int weekday);

} // namespace vandorelle::schedule
