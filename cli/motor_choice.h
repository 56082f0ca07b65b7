#pragma once

#include "config/store.h"

#include <QString>
#include <QStringList>

#include <array>

namespace vandorelle::cli {

// The motor a name on the command line means, among motors 1..count of the controller: the
// one named so (upper and lower case alike, the blanks that pad a name aside), else the one
// whose name begins so.
struct MotorChoice {
    int motor = 0;          // 1..count; 0 when no name or more than one fits
    bool several = false;   // more than one fits
    QStringList candidates; // 'number "name"' of those that fit; of all motors when none does
};
MotorChoice chooseMotor(const std::array<QString, kMotors> &names, int count, const QString &query);

} // namespace vandorelle::cli
