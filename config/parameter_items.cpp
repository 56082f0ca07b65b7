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

const std::vector<ParameterSpec> &parameterSpecs()
{
    using P = Parameters;
    static const std::vector<ParameterSpec> all{
        {"Zufalls-Steuerung", "Zufalls-Zeitspanne", "ZufallsZeitspanne", randomSpanItems, &P::ZufallsZeitspanne,
         "Für die Zufallsfunktion im Bereich \"Schaltzeiten\""},
        {"Sensor-Typen", "Beschattungs-Hysterese", "BeschattungsHysterese", shadingHysteresisItems,
         &P::BeschattungsHysterese, "Schalt-Hysterese des Helligkeitswertes bei Beschattungs-Automatik"},
        {"Sensor-Typen", "Offset Außentemperatur", "OffsetAussentemperatur", sensorOffsetItems, &P::Offset_AT,
         "Offset Außentemperatur"},
        {"Wintergartensteuerungen", "Offset Innentemperatur", "OffsetInnentemperatur", sensorOffsetItems,
         &P::Offset_IT, "Offset Innentemperatur"},
        {"Wintergartensteuerungen", "Schalt-Hysterese Heizung", "Heiz_Hysterese", heatingHysteresisItems,
         &P::HeizungsHysterese, "Schalt-Hysterese Heizung"},
    };
    return all;
}

const ParameterSpec &parameterSpec(const char *control)
{
    for (const ParameterSpec &p : parameterSpecs())
        if (qstrcmp(p.control, control) == 0)
            return p;
    qFatal("no parameter box %s", control);
}

QString groupColumnCaption(int group)
{
    return QStringLiteral("Gruppe %1").arg(group);
}

} // namespace vandorelle::parameters
