#include "cli/commands.h"
#include "cli/json_output.h"

#include "config/automation_items.h"
#include "config/free_memory.h"
#include "config/schedule_items.h"
#include "config/schedule_lines.h"
#include "config/schedule_rules.h"

#include <QJsonArray>

namespace vandorelle::cli {

namespace {

// Seconds as the run-time box reads ("39s", "110"); none for "Dau" (continuous) or a code
// the box does not offer.
std::optional<double> runTimeSeconds(int32_t dauer)
{
    QString text = items::text(schedule::durationItems(), dauer);
    if (text.endsWith(u's'))
        text.chop(1);
    bool ok = false;
    const int seconds = text.toInt(&ok);
    return ok ? std::optional<double>(seconds) : std::nullopt;
}

QJsonObject switchingTimeJson(int weekday, int entry, const SchaltzeitEntry &e)
{
    static const char *const kFunctions[] = {"normal", "astro", "random"};
    return {
        {QStringLiteral("weekday"), schedule::weekdayText(weekday - 1)},
        {QStringLiteral("entry"), entry},
        {QStringLiteral("time"), schedule::timeText(e.Zeit).trimmed()},
        {QStringLiteral("direction"), e.Richtung == 0 ? QStringLiteral("up") : QStringLiteral("down")},
        {QStringLiteral("runTimeSeconds"), numberOrNull(runTimeSeconds(e.Dauer))},
        {QStringLiteral("group"), e.Gruppe},
        {QStringLiteral("function"), e.Funktion >= 0 && e.Funktion <= 2 ? QJsonValue(kFunctions[e.Funktion])
                                                                         : QJsonValue(e.Funktion)},
    };
}

QJsonObject scheduleJson(const ConfigStore &store, const schedule::FreeMemory &memory)
{
    QJsonArray motors;
    for (int m = 1; m <= kMotors; ++m) {
        QJsonArray times;
        for (int d = 1; d <= kWeekdays; ++d)
            for (int n = 1; n <= kEntries; ++n)
                if (const SchaltzeitEntry &e = store.entry(d, m, n); e.inUse())
                    times.append(switchingTimeJson(d, n, e));
        motors.append(QJsonObject{{QStringLiteral("motor"), m},
                                  {QStringLiteral("name"), store.MotorNamen[m - 1]},
                                  {QStringLiteral("switchingTimes"), times}});
    }
    return {{QStringLiteral("motors"), motors},
            {QStringLiteral("freeMemoryPercent"), memory.percent},
            {QStringLiteral("memoryExhausted"), memory.warning}};
}

} // namespace

Outcome runShow(const Options &options, Console &console)
{
    ConfigStore store;
    if (Outcome loaded = loadConfiguration(options.file, store); !loaded.ok())
        return loaded;
    const schedule::FreeMemory memory = schedule::freeMemory(store);
    if (options.json) {
        printJson(console, scheduleJson(store, memory));
        return Outcome::success();
    }
    for (int line = 0; line < schedule::kMotorListLines; ++line)
        console.out(schedule::motorListLine(store, line));
    console.out(schedule::freeMemoryText(memory.percent));
    // The controller cannot hold more: sending this file would lose switching times.
    if (memory.warning)
        console.out(QStringLiteral("!!!  Schaltzeiten-Speicher nicht ausreichend  !!!"));
    return Outcome::success();
}

} // namespace vandorelle::cli
