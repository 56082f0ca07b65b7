#include "config/schedule_lines.h"

#include "config/schedule_items.h"
#include "config/schedule_rules.h"

namespace vandorelle::schedule {

namespace {

const QString kUpMarker = QStringLiteral("^ |  ");
const QString kDownMarker = QStringLiteral("v |  ");
const QString kEmptyMarker = QStringLiteral("  |  ");

QString plainSeparator()
{
    return QString(kSeparatorLength, QLatin1Char('-'));
}

} // namespace

QString scheduleLine(const ConfigStore &store, const QString &motorName, int weekday, int motor)
{
    QString line;
    line.reserve(kLineLength);
    line += weekdayText(weekday);
    line += QLatin1String("  ");
    line += motorName;
    line += QLatin1String("           ");
    // Padded as well as cut: an empty name must not pull the time columns one to the left.
    line = line.leftJustified(16, QLatin1Char(' '), true);
    line += QLatin1String("    ");
    for (int n = 0; n < kEntries; ++n) {
        const SchaltzeitEntry &e = store.Schaltzeit[slot(weekday, motor, n)];
        const QString time = timeText(e.Zeit);
        line += time;
        line += QLatin1Char(' ');
        if (time == kNoTime)
            line += kEmptyMarker;
        else
            line += e.Richtung == 0 ? kUpMarker : kDownMarker;
    }
    return line;
}

const QString &separatorLine()
{
    static const QString line = [] {
        QString s(28, QLatin1Char('-'));
        for (int i = 0; i < 6; ++i)
            s += QLatin1Char('+') + QString(10, QLatin1Char('-'));
        s += QLatin1Char('+') + QString(9, QLatin1Char('-'));
        return s;
    }();
    return line;
}

QString tagListLine(const ConfigStore &store, int line)
{
    if (isTagSeparator(line))
        return separatorLine();
    const int motor = line % 33;
    return scheduleLine(store, store.MotorNamen[motor], line / 33, motor);
}

QString motorListLine(const ConfigStore &store, int line)
{
    if (isMotorSeparator(line))
        return separatorLine();
    const int motor = line / 8;
    return scheduleLine(store, store.MotorNamen[motor], line % 8, motor);
}

QString initialTagListLine(int line)
{
    if (isTagSeparator(line))
        return plainSeparator();
    const int motor = line % 33;
    QString text = weekdayText(line / 33) + QLatin1String("  ") + defaultMotorName(motor);
    if (motor == 0)
        text += QLatin1Char(' ');
    return text;
}

QString initialMotorListLine(int line)
{
    if (isMotorSeparator(line))
        return plainSeparator();
    return weekdayText(line % 8) + QLatin1String("  ") + defaultMotorName(line / 8);
}

} // namespace vandorelle::schedule
