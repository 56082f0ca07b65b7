#include "protocol/sensor_quantities.h"

#include <array>

namespace vandorelle {

const QuantityInfo &quantityInfo(Quantity q)
{
    // The brightness keeps the controller's own scale, which the window calls "Lux".
    static const std::array<QuantityInfo, kQuantities> table = {{
        {QStringLiteral("Helligkeit"), QStringLiteral("Lux"),
         {{LuxCurrent, QStringLiteral("Helligkeit aktuell")}, {LuxMean, QStringLiteral("Helligkeit mittel")}}, true},
        {QStringLiteral("Wind"), QStringLiteral("km/h"), {{WindSpeed, QStringLiteral("Windgeschwindigkeit")}}, true},
        {QStringLiteral("Luftfeuchtigkeit"), QStringLiteral("%"),
         {{Humidity, QStringLiteral("Relative Luftfeuchtigkeit")}}, true},
        {QStringLiteral("Temperatur"), QStringLiteral("°C"),
         {{InsideTemperature, QStringLiteral("Innentemperatur")},
          {OutsideTemperature, QStringLiteral("Außentemperatur")}}, false},
    }};
    return table[std::size_t(q)];
}

} // namespace vandorelle
