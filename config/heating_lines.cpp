#include "config/heating_lines.h"

#include "config/automation_items.h"
#include "config/heating_items.h"

namespace vandorelle::heating {

QString rightAligned11(const QString &text)
{
    if (text.size() >= 10)
        return text;
    return QString(1 + 10 - text.size(), QLatin1Char(' ')) + text;
}

QString listLine(const QString &name, const HeizungsRecord &r)
{
    QString line = (name + QString(11, QLatin1Char(' '))).left(12);
    const QString onOff = items::text(items::onOff(), r.EinAus);
    line += QStringLiteral("  ") + onOff;
    if (onOff == items::kEin) {
        line += QStringLiteral("   ") + items::text(modeItems(), r.Betriebsart);
        line += rightAligned11(setPointText(r.TagTemperatur));
        line += rightAligned11(setPointText(r.NachtTemperatur));
    }
    return line;
}

} // namespace vandorelle::heating
