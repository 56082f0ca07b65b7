#include "config/automation_items.h"

namespace vandorelle::items {

namespace {

QStringList numbers(int first, int count, int step = 1, const QString &suffix = QString())
{
    QStringList l;
    for (int i = 0; i < count; ++i)
        l << QString::number(first + i * step) + suffix;
    return l;
}

QStringList hours(int first, int count)
{
    QStringList l;
    for (int h = first; h < first + count; ++h)
        l << QStringLiteral("%1:00").arg(h, 2, 10, QLatin1Char('0'));
    return l;
}

} // namespace

QString text(const QStringList &items, int code)
{
    return code >= 0 && code < items.size() ? items.at(code) : QString();
}

const QStringList &onOff()
{
    static const QStringList l{kEin, kAus};
    return l;
}

const QStringList &shadingTemperatures()
{
    static const QStringList l = numbers(-10, 46);
    return l;
}

const QStringList &shadingHours()
{
    static const QStringList l = hours(5, 18);
    return l;
}

const QStringList &shadingBrightness()
{
    static const QStringList l = numbers(100, 156);
    return l;
}

const QStringList &dawnStarts()
{
    static const QStringList l = hours(3, 8) << QStringLiteral("Nr. 3");
    return l;
}

const QStringList &duskStarts()
{
    static const QStringList l = hours(14, 9) << QStringLiteral("Nr. 4");
    return l;
}

const QStringList &twilightBrightness()
{
    static const QStringList l = numbers(1, 250);
    return l;
}

const QStringList &windSpeeds()
{
    static const QStringList l = numbers(5, 19, 5);
    return l;
}

const QStringList &directions()
{
    static const QStringList l{kUp, kDown};
    return l;
}

const QStringList &humidityComparisons()
{
    static const QStringList l{QStringLiteral("F>"), QStringLiteral("F<")};
    return l;
}

const QStringList &humidities()
{
    static const QStringList l = numbers(1, 99, 1, QStringLiteral("%"));
    return l;
}

const QStringList &dayHours()
{
    static const QStringList l = hours(0, 24);
    return l;
}

const QStringList &setPoints()
{
    static const QStringList l = numbers(1, 50, 1, QStringLiteral("\u00b0"));
    return l;
}

const QStringList &controlBands()
{
    static const QStringList l = numbers(1, 9, 1, QStringLiteral("\u00b0"));
    return l;
}

const QStringList &positionCounts()
{
    static const QStringList l = numbers(2, 8);
    return l;
}

const QStringList &temperatureComparisons()
{
    static const QStringList l{QStringLiteral("T>"), QStringLiteral("T<")};
    return l;
}

const QStringList &temperatureThresholds()
{
    static const QStringList l = numbers(-9, 60, 1, QStringLiteral("\u00b0"));
    return l;
}

const QStringList &outsideActions()
{
    static const QStringList l{kOutsideUp, kOutsideDown, kOutsideOff};
    return l;
}

const QStringList &reverseTimes()
{
    static const QStringList l = [] {
        QStringList r;
        for (int c = 0; c <= 40; ++c)
            r << QStringLiteral("%1,%2").arg(c / 10).arg(c % 10);
        return r;
    }();
    return l;
}

} // namespace vandorelle::items
