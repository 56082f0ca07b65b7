#include "config/heating_items.h"

namespace vandorelle::heating {

const QStringList &modeItems()
{
    static const QStringList l{QStringLiteral("Heizbetrieb"), QStringLiteral("Kühlbetrieb")};
    return l;
}

const QStringList &dayNightItems()
{
    static const QStringList l{QStringLiteral("Tag"), QStringLiteral("Nacht")};
    return l;
}

const QStringList &setPointItems()
{
    static const QStringList l = [] {
        QStringList items;
        for (int i = 0; i < kSetPointCount; ++i) {
            const int tenths = 40 + i;
            items << QStringLiteral("%1,%2°C").arg(tenths / 10).arg(tenths % 10);
        }
        return items;
    }();
    return l;
}

const QStringList &daySetPointItems()
{
    static const QStringList l = setPointItems() + QStringList{QString()};
    return l;
}

bool isSetPoint(int32_t code)
{
    return code >= 0 && code < kSetPointCount;
}

QString setPointText(int32_t code)
{
    return isSetPoint(code) ? setPointItems().at(code) : QString();
}

} // namespace vandorelle::heating
