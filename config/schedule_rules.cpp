#include "config/schedule_rules.h"

#include "config/schedule_items.h"

#include <algorithm>
#include <cmath>

namespace vandorelle::schedule {

GroupChoice groupChoice(const QString &groupText)
{
    if (groupText == QLatin1String("-"))
        return GroupChoice::Single;
    if (groupText == QLatin1String("Sa - So"))
        return GroupChoice::SaturdaySunday;
    if (groupText == QLatin1String("Mo - Fr"))
        return GroupChoice::MondayFriday;
    if (groupText == QLatin1String("Mo - So"))
        return GroupChoice::AllWeek;
    return GroupChoice::None;
}

bool storeEntry(ConfigStore &store, int selectedDay, int motor, int number, const EntryValues &values,
                GroupChoice group)
{
    if (group == GroupChoice::None || !validEntry(selectedDay, motor, number))
        return false;
    auto write = [&values](SchaltzeitEntry &e, int32_t gruppe) {
        e.Richtung = values.Richtung;
        e.Zeit = values.Zeit;
        e.Dauer = values.Dauer;
        e.Funktion = values.Funktion;
        e.Gruppe = gruppe;
        e.Senden = 1;
    };
    // A day that stays in a shrunken "Mo - So" group keeps the part of the week it belongs to.
    auto leaveAllWeek = [](SchaltzeitEntry &e, int32_t remaining) {
        if (e.Gruppe == 7)
            e.Gruppe = remaining;
    };
    const bool selectedWeekend = isWeekend(selectedDay);
    for (int d = 0; d < kWeekdays; ++d) {
        SchaltzeitEntry &e = store.Schaltzeit[slot(d, motor, number)];
        const bool weekend = isWeekend(d);
        switch (group) {
        case GroupChoice::Single:
            if (d == selectedDay)
                write(e, 1);
            if (weekend == selectedWeekend)
                e.Gruppe = 1;
            else
                leaveAllWeek(e, weekend ? 2 : 5);
            break;
        case GroupChoice::SaturdaySunday:
            if (weekend)
                write(e, 2);
            else
                leaveAllWeek(e, 5);
            break;
        case GroupChoice::MondayFriday:
            if (!weekend)
                write(e, 5);
            else
                leaveAllWeek(e, 2);
            break;
        case GroupChoice::AllWeek:
            write(e, 7);
            break;
        case GroupChoice::None:
            break;
        }
    }
    return true;
}

int groupItemForSelectors(int32_t gruppe)
{
    if (gruppe == 1)
        return 0;
    if (gruppe == 7)
        return 2;
    return 1;
}

int groupItemForListClick(int32_t gruppe, int weekday)
{
    if (gruppe == 1)
        return 0;
    if (gruppe == 7)
        return 2;
    if ((gruppe == 5 && !isWeekend(weekday)) || (gruppe == 2 && isWeekend(weekday)))
        return 1;
    return -1;
}

ClickedNumber numberFromClick(int x, int listWidth, bool eightEntries)
{
    const int columns = eightEntries ? 8 : 4;
    const double share = eightEntries ? 0.23 : 0.4;
    // std::nearbyint rounds halves to even in the default rounding mode.
    const int nameWidth = static_cast<int>(std::nearbyint(listWidth * share));
    ClickedNumber result;
    result.shiftedX = x - nameWidth;
    const int timeWidth = listWidth - nameWidth;
    if (timeWidth <= 0)
        return result; // an unlaid-out list has no columns to hit
    const double n = std::nearbyint(double(columns) * result.shiftedX / timeWidth);
    result.number = static_cast<int>(std::clamp(n, 0.0, double(columns - 1)));
    return result;
}

ListSelection tagListSelection(int clickedLine)
{
    int line = std::clamp(clickedLine, 0, kTagListLines - 1);
    if (isTagSeparator(line))
        ++line;
    return {line, line / 33, line % 33};
}

ListSelection motorListSelection(int clickedLine)
{
    int line = std::clamp(clickedLine, 0, kMotorListLines - 1);
    if (isMotorSeparator(line))
        ++line;
    return {line, line % 8, line / 8};
}

bool copyMotor(ConfigStore &store, int from, int to)
{
    if (from < 0 || from >= kMotors || to < 0 || to >= kMotors)
        return false;
    for (int d = 0; d < kWeekdays; ++d) {
        for (int n = 0; n < kEntries; ++n) {
            const SchaltzeitEntry &src = store.Schaltzeit[slot(d, from, n)];
            SchaltzeitEntry &dst = store.Schaltzeit[slot(d, to, n)];
            dst.Richtung = src.Richtung;
            dst.Zeit = src.Zeit;
            dst.Dauer = src.Dauer;
            dst.Gruppe = src.Gruppe;
            dst.Funktion = src.Funktion;
            dst.Senden = 1;
        }
    }
    return true;
}

} // namespace vandorelle::schedule
