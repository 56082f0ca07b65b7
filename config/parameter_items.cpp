#include "config/parameter_items.h"

#include "config/automation_items.h"

namespace vandorelle::parameters {

namespace {
const QString kPlusMinus = QStringLiteral("± ");
} // namespace

const QStringList &randomSpanItems()
{
    static const QStringList l = [] {
        QStringList items;
        for (int minutes = 2; minutes <= 254; ++minutes)
            items << kPlusMinus + QString::number(minutes) + QStringLiteral(" min");
        return items;
    }();
    return l;
}

const QStringList &shadingHysteresisItems()
{
    static const QStringList l = [] {
        QStringList items;
        for (int v = 2; v <= 50; ++v)
            items << QString::number(v);
        return items;
    }();
    return l;
}

const QStringList &sensorOffsetItems()
{
    static const QStringList l = [] {
        QStringList items;
        for (int offset = -5; offset <= 5; ++offset) {
            const QString sign = offset < 0 ? QStringLiteral("- ") : offset > 0 ? QStringLiteral("+ ") : QString();
            items << sign + QString::number(qAbs(offset)) + QStringLiteral(" °C");
        }
        return items;
    }();
    return l;
}

const QStringList &heatingHysteresisItems()
{
    static const QStringList l = [] {
        QStringList items;
        for (int tenths = 1; tenths <= 9; ++tenths)
            items << kPlusMinus + QStringLiteral("0,%1 °C").arg(tenths);
        return items;
    }();
    return l;
}

const QStringList &alarmItems()
{
    static const QStringList l{items::kUp, items::kNeutral, items::kDown};
    return l;
}

} // namespace vandorelle::parameters
