#include "config/free_memory.h"

#include <cmath>

namespace vandorelle::schedule {

double usedRecords(const ConfigStore &store)
{
    // The seventh is added in extended precision and only the running sum is rounded to
    // double; seven copies of a "Mo - So" entry then count as one record.
    static constexpr long double kSeventh = 1.0L / 7.0L;
    double used = 0.0;
    for (const SchaltzeitEntry &e : store.Schaltzeit) {
        if (e.Zeit < 1)
            continue;
        switch (e.Gruppe) {
        case 1: used += 1.0; break;
        case 2: used += 0.5; break;
        case 5: used += 0.2; break;
        case 7: used = static_cast<double>(static_cast<long double>(used) + kSeventh); break;
        default: break;
        }
    }
    return used;
}

FreeMemory freeMemory(const ConfigStore &store)
{
    const double freeShare = 1.0 - usedRecords(store) / kMemoryRecords;
    FreeMemory result;
    result.percent = static_cast<int>(std::trunc(freeShare * 100.0));
    // Warns only when less than a thousandth is left, while the percentage reaches 0 earlier.
    result.warning = !(std::trunc(freeShare * 1000.0) > 0.0);
    return result;
}

QString freeMemoryText(int percent)
{
    return QStringLiteral("Freier Schaltzeiten-Speicher: %1%").arg(percent);
}

} // namespace vandorelle::schedule
