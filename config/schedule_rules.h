#pragma once

#include "config/store.h"

#include <QString>

// Rules of the switching-time editor, on the store alone. Weekday, motor and number are
// zero-based here (0 = Monday, motor 0 = "Motor 1", number 0 = "1").
namespace vandorelle::schedule {

constexpr int slot(int weekday, int motor, int number)
{
    return weekday * 256 + motor * 8 + number;
}
constexpr bool validEntry(int weekday, int motor, int number)
{
    return weekday >= 0 && weekday < kWeekdays && motor >= 0 && motor < kMotors && number >= 0
        && number < kEntries;
}

// The weekday group chosen in the group box, by its text.
enum class GroupChoice { None, Single, SaturdaySunday, MondayFriday, AllWeek };
GroupChoice groupChoice(const QString &groupText);

// What the five value boxes hold; Gruppe follows from the group choice.
struct EntryValues {
    int32_t Richtung = 0;
    int32_t Zeit = 0;
    int32_t Dauer = 39;
    int32_t Funktion = 0;
};

// Writes the values into the selected entry and every member day of the chosen group, and
// takes the other days of a broken group out of it. Returns false when nothing was written
// (no group chosen, or the entry is out of range).
bool storeEntry(ConfigStore &store, int selectedDay, int motor, int number, const EntryValues &values,
                GroupChoice group);

// Group item shown for an entry. Loaded through the selector boxes every group other than
// 1 and 7 shows item 1; loaded through a list click only the group that belongs to the day
// does, anything else shows no item (-1).
int groupItemForSelectors(int32_t gruppe);
int groupItemForListClick(int32_t gruppe, int weekday);

// Entry number under a click into a schedule list. The name column takes the share f of
// the list width, the rest is divided into k equal columns; halves go to the even neighbour.
struct ClickedNumber {
    int number = 0;
    int shiftedX = 0; // x minus the name width; it replaces the remembered pointer x
};
ClickedNumber numberFromClick(int x, int listWidth, bool eightEntries);

// Lines of the two schedule lists. A click on a separator selects the line below it.
constexpr int kTagListLines = 230;   // 7 x 32 motor lines + 6 separators
constexpr int kMotorListLines = 255; // 32 x 7 weekday lines + 31 separators
constexpr bool isTagSeparator(int line) { return (line + 1) % 33 == 0; }
constexpr bool isMotorSeparator(int line) { return (line + 1) % 8 == 0; }
constexpr int tagLine(int weekday, int motor) { return weekday * 33 + motor; }
constexpr int motorLine(int weekday, int motor) { return motor * 8 + weekday; }

struct ListSelection {
    int line = 0;
    int weekday = 0;
    int motor = 0;
};
ListSelection tagListSelection(int clickedLine);
ListSelection motorListSelection(int clickedLine);

// Capacity limits of small controllers: motors above 8 and numbers above 4 fall back to the first.
constexpr int limitMotor(int motor, bool bankModel) { return !bankModel && motor > 7 ? 0 : motor; }
constexpr int limitNumber(int number, bool eightEntries) { return !eightEntries && number > 3 ? 0 : number; }

// Copies the whole week of motor `from` onto motor `to` and marks every target entry for
// sending. Returns false (and copies nothing) when a motor is out of range.
bool copyMotor(ConfigStore &store, int from, int to);

} // namespace vandorelle::schedule
