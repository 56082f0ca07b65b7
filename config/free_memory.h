#pragma once

#include "config/store.h"

#include <QString>

// How much of the controller's switching-time memory (240 records) the table uses. A grouped
// entry is one record however many days hold a copy of it.
namespace vandorelle::schedule {

constexpr int kMemoryRecords = 240;
// A day's copy is 1, 1/2, 1/5 or 1/7 of a record: counted in 70ths, the sum is exact.
constexpr int kSharesPerRecord = 70;

// Records in use, in 70ths of a record.
int usedShares(const ConfigStore &store);

struct FreeMemory {
    int percent = 100; // truncated toward zero; negative when over capacity
    bool warning = false;
};
FreeMemory freeMemory(const ConfigStore &store);

QString freeMemoryText(int percent); // "Freier Schaltzeiten-Speicher: 99%"

} // namespace vandorelle::schedule
