#include "cli/commands.h"

#include "config/free_memory.h"
#include "config/schedule_lines.h"
#include "config/schedule_rules.h"

namespace vandorelle::cli {

Outcome runShow(const Options &options, Console &console)
{
    ConfigStore store;
    if (Outcome loaded = loadConfiguration(options.file, store); !loaded.ok())
        return loaded;
    for (int line = 0; line < schedule::kMotorListLines; ++line)
        console.out(schedule::motorListLine(store, line));
    const schedule::FreeMemory memory = schedule::freeMemory(store);
    console.out(schedule::freeMemoryText(memory.percent));
    // The controller cannot hold more: sending this file would lose switching times.
    if (memory.warning)
        console.out(QStringLiteral("!!!  Schaltzeiten-Speicher nicht ausreichend  !!!"));
    return Outcome::success();
}

} // namespace vandorelle::cli
