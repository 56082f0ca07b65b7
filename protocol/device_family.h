#pragma once

#include "config/store.h"

namespace vandorelle {

// Read from the controller's model string by the connection supervisor;
// decide which tabs, motors and switching times the window and exchanges offer.
struct DeviceFlags {
    bool ShadingFamily = false;
    bool ConservatoryFamily = false;
    bool TastPresent = false;
    bool TastFunk = false;
    bool GzsPresent = false;
    bool BankModel = true;     // 32 motors in banks of 8, else motors 1..8
    bool EightEntries = true;  // 8 switching times per day, else 4
    bool operator==(const DeviceFlags &) const = default;
};

// What the model offers: motors 1..motorCount, entries 1..entriesPerDay per weekday.
constexpr int motorCount(const DeviceFlags &f) { return f.BankModel ? kMotors : kMotors / kBanks; }
constexpr int entriesPerDay(const DeviceFlags &f) { return f.EightEntries ? kEntries : kEntries / 2; }

} // namespace vandorelle

#include <QString>

namespace vandorelle {

// The device family a model string stands for (characters 9, 13, 14, 15, 16, 1-based).
struct ModelEvaluation {
    DeviceFlags flags;
    // Character 13 is a digit. When it is missing or not one, the motor and entry counts
    // stay at 32 and 8 and the model is reported as unknown.
    bool known = true;
};
ModelEvaluation evaluateModel(const QString &model);

} // namespace vandorelle
