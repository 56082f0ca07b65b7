#pragma once

#include "config/automation_lines.h"
#include "config/free_memory.h"
#include "config/heating_lines.h"
#include "config/schedule_bar.h"
#include "config/schedule_lines.h"
#include "config/store.h"
#include "fuzz/fuzz_support.h"

// What the window draws from the store after a file was loaded or a record decoded: the
// values there may be anything a file or the line can carry.
namespace vandorelle::fuzz {

inline bool scheduleUnchanged(const ConfigStore &s, const ConfigStore &d, int m)
{
    for (int day = 1; day <= kWeekdays; ++day) {
        for (int n = 1; n <= kEntries; ++n) {
            if (!(s.entry(day, m + 1, n) == d.entry(day, m + 1, n)))
                return false;
        }
    }
    return true;
}

inline bool motorUnchanged(const ConfigStore &s, const ConfigStore &d, int m)
{
    return s.MotorNamen[m] == d.MotorNamen[m] && s.Beschattung[m] == d.Beschattung[m]
        && s.DaemmerungMorgen[m] == d.DaemmerungMorgen[m] && s.DaemmerungAbend[m] == d.DaemmerungAbend[m]
        && s.Wind[m] == d.Wind[m] && s.Regen[m] == d.Regen[m] && s.Reversierung[m] == d.Reversierung[m]
        && s.TastAutomatik[m] == d.TastAutomatik[m]
        && s.ProportionaleTemperatursteuerung[m] == d.ProportionaleTemperatursteuerung[m]
        && s.InnenTemperatursteuerung[m] == d.InnenTemperatursteuerung[m]
        && s.HeizungsSteuerung[m] == d.HeizungsSteuerung[m]
        && s.FeuchtigkeitsSteuerung[m] == d.FeuchtigkeitsSteuerung[m]
        && s.AussenTemperatursteuerung[m] == d.AussenTemperatursteuerung[m] && scheduleUnchanged(s, d, m);
}

// The overview lists, day bars and free-memory figure, as the window refreshes them. Motors
// the file left at their start values draw the same every time and are skipped.
inline void drawEveryView(const ConfigStore &s)
{
    static const ConfigStore startValues = [] {
        ConfigStore d;
        d.markAllPending();
        return d;
    }();
    qsizetype characters = 0;
    for (int m = 0; m < kMotors; ++m) {
        if (m > 0 && motorUnchanged(s, startValues, m))
            continue;
        const QString &name = s.MotorNamen[m];
        const QString lines[] = {
            shadingLine(name, s.Beschattung[m]),
            dawnLine(name, s.DaemmerungMorgen[m]),
            duskLine(name, s.DaemmerungAbend[m]),
            windLine(name, s.Wind[m], s.Regen[m]),
            rainLine(name, s.Regen[m]),
            humidityLine(name, s.FeuchtigkeitsSteuerung[m]),
            proportionalLine(name, s.ProportionaleTemperatursteuerung[m]),
            insideLine(name, s.InnenTemperatursteuerung[m]),
            outsideLine(name, s.AussenTemperatursteuerung[m]),
            pushButtonLine(name, s.TastAutomatik[m], false),
            pushButtonLine(name, s.TastAutomatik[m], true),
            reversingLine(name, s.Reversierung[m]),
            heating::listLine(name, s.HeizungsSteuerung[m]),
        };
        for (const QString &line : lines)
            characters += line.size();
        // The schedule views count weekdays and motors from 0.
        for (int day = 0; day < kWeekdays; ++day) {
            characters += schedule::scheduleLine(s, name, day, m).size();
            characters += schedule::barSegments(s, day, m, schedule::kDayBar).size();
        }
        characters += schedule::weekSegments(s, m).size();
    }
    // The lists repeat scheduleLine per motor and weekday; their first and last lines suffice.
    for (int line : {0, 1, 2, 6, 7, 8, 9, 10, 228, 229})
        characters += schedule::tagListLine(s, line).size();
    for (int line : {0, 1, 2, 6, 7, 8, 9, 10, 253, 254})
        characters += schedule::motorListLine(s, line).size();
    const schedule::FreeMemory free = schedule::freeMemory(s);
    characters += schedule::freeMemoryText(free.percent).size();
    FUZZ_CHECK(characters > 0);
}


} // namespace vandorelle::fuzz
