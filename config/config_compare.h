#pragma once

#include "config/store.h"

#include <QString>

#include <vector>

namespace vandorelle {

// One setting that differs between two configurations, named and shown as the window
// names and shows it.
struct SettingChange {
    enum class Kind {
        MotorName,
        SwitchingTimes,     // the list line of a motor and weekday
        SwitchingTimeEntry, // run time, weekday group or function of an entry set on both sides
        Automation,         // a field of a per-motor editor
        Alarm,
        GroupControl,
        Parameter,
    };
    Kind kind;
    QString group;          // the window's caption over it: "Beschattungsautomatik", ...
    int motor = 0;          // 1..32; 0 for settings of the whole controller
    QString motorName = {}; // as the newer configuration names the motor
    int weekday = 0;        // 1..7 for switching times
    int entry = 0;          // 1..8 for an entry's run time, group or function
    QString caption = {};   // the field's caption on one line; empty where the place says it all
    QString before = {};    // as the window shows it, with the unit that stands after the box
    QString after = {};
};

// Every setting that differs from `before` to `after`, in the order of the window: motor
// names; switching times by motor and weekday; the per-motor editors tab by tab, motor by
// motor; the alarm set-up; the group control; the global parameters. The push-button
// duration is read on the radio scale when `tastFunk`. What a controller cannot hold does
// not count: the fields of a switching time that is not set, blanks that pad a name.
std::vector<SettingChange> compareConfigurations(const ConfigStore &before, const ConfigStore &after, bool tastFunk);

} // namespace vandorelle
