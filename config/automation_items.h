#pragma once

#include <QString>
#include <QStringList>

namespace vandorelle::items {

// Texts of the symbol-font items as the logic compares them.
inline const QString kUp = QStringLiteral("\u00e9");       // up arrow
inline const QString kDown = QStringLiteral("\u00ea");     // down arrow
inline const QString kNeutral = QStringLiteral("\u00a1");  // neutral
inline const QString kNext = QStringLiteral("\u00e8");     // next bank
inline const QString kNoAction = QStringLiteral(";");      // no closing action
// The three actions of the outside-temperature editor at threshold 1.
inline const QString kOutsideUp = QStringLiteral("      \u00ad");
inline const QString kOutsideDown = QStringLiteral("      \u00af");
inline const QString kOutsideOff = QStringLiteral("\u00b6EAKTI\u00d6");

inline const QString kEin = QStringLiteral("EIN");
inline const QString kAus = QStringLiteral("AUS");

// The text of item `code`, or "" when the code lies outside the list.
QString text(const QStringList &items, int code);

const QStringList &onOff();                 // "EIN", "AUS"

const QStringList &shadingTemperatures();   // "-10" .. "35"
const QStringList &shadingHours();          // "05:00" .. "22:00"
const QStringList &shadingBrightness();     // "100" .. "255"
const QStringList &dawnStarts();            // "03:00" .. "10:00", "Nr. 3"
const QStringList &duskStarts();            // "14:00" .. "22:00", "Nr. 4"
const QStringList &twilightBrightness();    // "1" .. "250"

const QStringList &windSpeeds();            // "5" .. "95"
const QStringList &directions();            // up, down (symbol texts)

const QStringList &humidityComparisons();   // "F>", "F<"
const QStringList &humidities();            // "1%" .. "99%"
const QStringList &dayHours();              // "00:00" .. "23:00"

const QStringList &setPoints();             // "1°" .. "50°"
const QStringList &controlBands();          // "1°" .. "9°"
const QStringList &positionCounts();        // "2" .. "9"
const QStringList &temperatureComparisons();// "T>", "T<"
const QStringList &temperatureThresholds(); // "-9°" .. "50°"
const QStringList &outsideActions();        // up, down, deactivate (symbol texts)

const QStringList &reverseTimes();          // "0,0" .. "4,0"

} // namespace vandorelle::items
