#include "config/free_memory.h"

namespace vandorelle::schedule {

namespace {

int sharesOfGroup(int32_t group)
{
    switch (group) {
    case 1: return kSharesPerRecord;
    case 2: return kSharesPerRecord / 2;
    case 5: return kSharesPerRecord / 5;
    case 7: return kSharesPerRecord / 7;
    default: return 0;
    }
}

} // namespace

int usedShares(const ConfigStore &store)
{
    int used = 0;
    for (const SchaltzeitEntry &e : store.Schaltzeit) {
        if (e.Zeit >= 1)
            used += sharesOfGroup(e.Gruppe);
    }
    return used;
}

FreeMemory freeMemory(const ConfigStore &store)
{
    // Summing 1/5 and 1/7 in floating point and truncating once lost a percent (48 whole
    // "Mo - Fr" records showed 79 %); integer division truncates toward zero as required.
    constexpr int capacity = kMemoryRecords * kSharesPerRecord;
    const int freeShares = capacity - usedShares(store);
    FreeMemory result;
    result.percent = freeShares * 100 / capacity;
    // Warns only when less than a thousandth is left, while the percentage reaches 0 earlier.
    result.warning = freeShares * 1000 / capacity <= 0;
    return result;
}

QString freeMemoryText(int percent)
{
    return QStringLiteral("Freier Schaltzeiten-Speicher: %1%").arg(percent);
}

} // namespace vandorelle::schedule
