#include "config/run_time_items.h"

namespace vandorelle {

int runTimeSeconds(int code)
{
    if (code < 0 || code >= kRunTimeCount)
        return -1;
    if (code < 99)
        return code + 1;
    if (code < 189)
        return 100 + (code - 99) * 10;
    return 999;
}

const QStringList &runTimeItems()
{
    static const QStringList items = [] {
        QStringList l;
        for (int c = 0; c < kRunTimeCount; ++c)
            l << QStringLiteral("%1s").arg(runTimeSeconds(c));
        return l;
    }();
    return items;
}

const QStringList &runTimeItemsWithDauer()
{
    static const QStringList items = runTimeItems() + QStringList{QStringLiteral("Dauer")};
    return items;
}

int radioRunTimeSeconds(int code)
{
    if (code < 0 || code >= kRadioRunTimeCount)
        return -1;
    if (code < 16)
        return 2 * (code + 1);
    // Groups of eight, each doubling the step of the one before.
    const int group = (code - 16) / 8;
    const int step = (code - 16) % 8;
    return (1 << group) * (32 + 4 * (step + 1));
}

QString radioRunTimeText(int seconds)
{
    if (seconds < 60)
        return QStringLiteral("%1s").arg(seconds);
    const int h = seconds / 3600;
    const int m = seconds / 60 % 60;
    const int s = seconds % 60;
    if (h == 0)
        return QStringLiteral("%1:%2").arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2:%3")
        .arg(h)
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'));
}

const QStringList &radioRunTimeItems()
{
    static const QStringList items = [] {
        QStringList l;
        for (int c = 0; c < kRadioRunTimeCount; ++c)
            l << radioRunTimeText(radioRunTimeSeconds(c));
        return l;
    }();
    return items;
}

const QStringList &pushButtonRunTimeItems(bool tastFunk)
{
    return tastFunk ? radioRunTimeItems() : runTimeItems();
}

} // namespace vandorelle
