#include "config/schedule_items.h"

namespace vandorelle::schedule {

namespace {

QStringList makeTimeItems()
{
    QStringList items;
    items.reserve(kTimeItems);
    items << kNoTime;
    for (int minute = 0; minute < 24 * 60; ++minute)
        items << QStringLiteral("%1:%2")
                     .arg(minute / 60, 2, 10, QLatin1Char('0'))
                     .arg(minute % 60, 2, 10, QLatin1Char('0'));
    return items;
}

QStringList makeDurationItems()
{
    QStringList items;
    items.reserve(kDurationItems);
    for (int s = 0; s <= 99; ++s)
        items << QStringLiteral("%1s").arg(s);
    for (int s = 100; s <= 350; s += 10)
        items << QString::number(s);
    items << QStringLiteral("Dau");
    return items;
}

QStringList makeNumberItems()
{
    QStringList items;
    for (int n = 1; n <= 8; ++n)
        items << QString::number(n);
    items << QStringLiteral(" ");
    return items;
}

} // namespace

const QStringList &weekdayItems()
{
    static const QStringList items{QStringLiteral("Mo"), QStringLiteral("Di"), QStringLiteral("Mi"),
                                   QStringLiteral("Do"), QStringLiteral("Fr"), QStringLiteral("Sa"),
                                   QStringLiteral("So")};
    return items;
}

const QStringList &timeItems()
{
    static const QStringList items = makeTimeItems();
    return items;
}

const QStringList &durationItems()
{
    static const QStringList items = makeDurationItems();
    return items;
}

const QStringList &numberItems()
{
    static const QStringList items = makeNumberItems();
    return items;
}

const QStringList &directionItems()
{
    static const QStringList items{kUpText, kDownText};
    return items;
}

const QStringList &functionItems()
{
    static const QStringList items{QStringLiteral("-"), QStringLiteral("Astro"), QStringLiteral("Zufall")};
    return items;
}

const QStringList &groupItems(int weekday)
{
    static const QStringList workday{QStringLiteral("-"), QStringLiteral("Mo - Fr"), QStringLiteral("Mo - So")};
    static const QStringList weekend{QStringLiteral("-"), QStringLiteral("Sa - So"), QStringLiteral("Mo - So")};
    return isWeekend(weekday) ? weekend : workday;
}

QString groupText(int32_t gruppe)
{
    constexpr int kMonday = 0;
    constexpr int kSaturday = 5;
    switch (gruppe) {
    case 1:
        return groupItems(kMonday).at(0);
    case 2:
        return groupItems(kSaturday).at(1);
    case 5:
        return groupItems(kMonday).at(1);
    case 7:
        return groupItems(kMonday).at(2);
    default:
        return QString::number(gruppe);
    }
}

bool isWeekend(int weekday)
{
    return weekday >= 5;
}

QString timeText(int32_t zeit)
{
    if (zeit >= 0 && zeit < kTimeItems)
        return timeItems().at(zeit);
    return QStringLiteral("--:--");
}

QString weekdayText(int weekday)
{
    return weekdayItems().value(weekday);
}

} // namespace vandorelle::schedule
