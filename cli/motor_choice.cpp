#include "cli/motor_choice.h"

#include <vector>

namespace vandorelle::cli {

namespace {

QString candidate(const std::array<QString, kMotors> &names, int motor)
{
    return QStringLiteral("%1 \"%2\"").arg(motor).arg(names[std::size_t(motor - 1)].trimmed());
}

} // namespace

MotorChoice chooseMotor(const std::array<QString, kMotors> &names, int count, const QString &query)
{
    const QString wanted = query.trimmed().toCaseFolded();
    std::vector<int> named;
    std::vector<int> beginning;
    for (int m = 1; m <= count; ++m) {
        const QString name = names[std::size_t(m - 1)].trimmed().toCaseFolded();
        if (name == wanted)
            named.push_back(m);
        else if (name.startsWith(wanted))
            beginning.push_back(m);
    }
    // A whole name wins over names that only begin with it ("Bad" beside "Bad oben").
    const std::vector<int> &fitting = named.empty() ? beginning : named;
    MotorChoice choice;
    if (fitting.size() == 1) {
        choice.motor = fitting.front();
        return choice;
    }
    choice.several = !fitting.empty();
    if (fitting.empty()) {
        for (int m = 1; m <= count; ++m)
            choice.candidates << candidate(names, m);
    } else {
        for (int m : fitting)
            choice.candidates << candidate(names, m);
    }
    return choice;
}

} // namespace vandorelle::cli
