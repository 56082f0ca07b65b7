#pragma once

#include <QString>
#include <QStringList>

namespace vandorelle {

// The run-time scale shared by the automation editors: codes 0..98 are 1..99 s,
// 99..188 are 100..990 s in steps of 10 s, 189 is 999 s; some lists add 190 "Dauer".
constexpr int kRunTimeCount = 190;
constexpr int kRunTimeDauerCode = 190;

int runTimeSeconds(int code); // -1 outside 0..189
const QStringList &runTimeItems();          // "1s" .. "999s"
const QStringList &runTimeItemsWithDauer(); // the same, then "Dauer"

// The coarser scale of the radio push-button variant: 87 codes, 2 s .. 15360 s.
constexpr int kRadioRunTimeCount = 87;

int radioRunTimeSeconds(int code); // -1 outside 0..86
// "36s" below a minute, "01:04" below an hour, "4:16:00" from an hour on.
QString radioRunTimeText(int seconds);
const QStringList &radioRunTimeItems();

// The push-button duration list that a code is read on.
const QStringList &pushButtonRunTimeItems(bool tastFunk);

} // namespace vandorelle
