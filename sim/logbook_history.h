#pragma once

#include "sim/logbook.h"

#include <QDateTime>

#include <cstdint>
#include <vector>

namespace vandorelle::sim {

// `count` entries, oldest first, ending before `now`: the daily switching times of a
// small house, shading, twilight, wind and rain retractions, manual commands, the odd
// alarm test and clock change, and the restart that began the log.
std::vector<LogEntry> generateHistory(uint32_t seed, int count, const QDateTime &now);

} // namespace vandorelle::sim
