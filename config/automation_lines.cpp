#include "config/automation_lines.h"

#include "config/automation_items.h"
#include "config/run_time_items.h"

namespace vandorelle {

namespace {

using items::text;

QString spaces(int n)
{
    return QString(qMax(0, n), QLatin1Char(' '));
}

QString rightAligned(const QString &s, int width)
{
    return spaces(width - int(s.size())) + s;
}

// Name column, 2 blanks and the on/off text: the whole line of a motor that is off.
QString head(const QString &name, int32_t einAus)
{
    return nameColumn(name) + spaces(2) + text(items::onOff(), einAus);
}

bool isOn(int32_t einAus)
{
    return text(items::onOff(), einAus) == items::kEin;
}

QString arrow(int32_t richtung, int32_t upCode)
{
    return richtung == upCode ? QStringLiteral("^") : QStringLiteral("v");
}

// 15 characters either way: "    ganztägig  " or "  08:00 - 21:00".
QString period(int32_t von, int32_t bis)
{
    const QString a = text(items::dayHours(), von);
    const QString b = text(items::dayHours(), bis);
    if (a == b)
        return spaces(4) + QStringLiteral("ganzt\u00e4gig") + spaces(2);
    return spaces(2) + a + QStringLiteral(" - ") + b;
}

// A short threshold text gets one blank more so the columns stay aligned.
QString padShort(const QString &s)
{
    return (s.size() < 2 ? spaces(1) : QString()) + s;
}

QString twilightLine(const QString &name, const DaemmerungRecord &r, const QStringList &starts,
                     int gap)
{
    QString line = head(name, r.EinAus);
    if (!isOn(r.EinAus))
        return line;
    return line + spaces(gap) + text(starts, r.Von) + spaces(3)
           + text(items::twilightBrightness(), r.Helligkeit) + spaces(6)
           + text(runTimeItemsWithDauer(), r.Dauer);
}

} // namespace

QString nameColumn(const QString &name)
{
    return (name + spaces(11)).left(12);
}

QString shadingLine(const QString &name, const BeschattungRecord &r)
{
    QString line = head(name, r.EinAus);
    if (!isOn(r.EinAus))
        return line;
    const QString t = text(items::shadingTemperatures(), r.Temperatur);
    line += spaces(1) + spaces(3 - int(t.size())) + t + QStringLiteral("\u00b0C") + spaces(2);
    line += text(items::shadingHours(), r.Von) + QStringLiteral(" - ")
            + text(items::shadingHours(), r.Bis) + spaces(2);
    line += text(items::shadingBrightness(), r.Helligkeit) + spaces(6);
    return line + text(runTimeItems(), r.Dauer);
}

QString dawnLine(const QString &name, const DaemmerungRecord &r)
{
    return twilightLine(name, r, items::dawnStarts(), 4);
}

QString duskLine(const QString &name, const DaemmerungRecord &r)
{
    return twilightLine(name, r, items::duskStarts(), 3);
}

QString windLine(const QString &name, const WindRecord &r, const RegenRecord &rain)
{
    QString line = head(name, r.EinAus) + spaces(4);
    if (!isOn(r.EinAus))
        return line;
    return line + text(items::windSpeeds(), r.Geschwindigkeit) + QStringLiteral("km/h") + spaces(4)
           + arrow(rain.Richtung, 0);
}

QString rainLine(const QString &name, const RegenRecord &r)
{
    QString line = head(name, r.EinAus) + spaces(6);
    if (!isOn(r.EinAus))
        return line;
    return line + arrow(r.Richtung, 0);
}

QString humidityLine(const QString &name, const FeuchtigkeitsRecord &r)
{
    QString line = head(name, r.EinAus);
    if (!isOn(r.EinAus))
        return line;
    line += period(r.Von, r.Bis);
    line += spaces(2) + text(items::humidityComparisons(), r.Gr_Kl);
    line += padShort(text(items::humidities(), r.Schwelle1)).prepend(QLatin1Char(' '));
    line += QStringLiteral("^") + spaces(4) + QStringLiteral("F") + (r.Gr_Kl == 0 ? QLatin1Char('<') : QLatin1Char('>'));
    line += padShort(text(items::humidities(), r.Schwelle2)).prepend(QLatin1Char(' '));
    line += (r.Gr_Kl == 1 || r.Dauer >= kRunTimeDauerCode ? QStringLiteral("-") : QStringLiteral("v"))
            + spaces(1);
    return line + rightAligned(text(runTimeItemsWithDauer(), r.Dauer), 6);
}

QString proportionalLine(const QString &name, const ProportionaleTemperaturRecord &r)
{
    QString line = head(name, r.EinAus);
    if (!isOn(r.EinAus))
        return line;
    line += spaces(2) + text(items::dayHours(), r.Von) + QStringLiteral(" - ")
            + text(items::dayHours(), r.Bis) + spaces(1);
    const QString soll = text(items::setPoints(), r.SollTemperatur);
    line += spaces(1) + spaces(3 - int(soll.size())) + soll + QStringLiteral("C") + spaces(2);
    line += arrow(r.Richtung, 0) + spaces(2) + text(items::controlBands(), r.Regelbereich)
            + QStringLiteral("C") + spaces(2);
    return line + rightAligned(text(runTimeItems(), r.MaxStellzeit), 5) + spaces(4)
           + text(items::positionCounts(), r.Schritte);
}

QString insideLine(const QString &name, const InnenTemperaturRecord &r)
{
    QString line = head(name, r.EinAus);
    if (!isOn(r.EinAus))
        return line;
    line += period(r.Von, r.Bis);
    line += spaces(2) + text(items::temperatureComparisons(), r.Gr_Kl);
    line += padShort(text(items::temperatureThresholds(), r.Schwelle1)) + QStringLiteral("C ");
    line += arrow(r.Richtung, 0) + spaces(1) + spaces(2) + QStringLiteral("T")
            + (r.Gr_Kl == 0 ? QLatin1Char('<') : QLatin1Char('>'));
    line += padShort(text(items::temperatureThresholds(), r.Schwelle2)) + QStringLiteral("C ");
    line += r.Richtung == 0 ? QStringLiteral("v") : QStringLiteral("^");
    return line + rightAligned(text(runTimeItemsWithDauer(), r.Dauer), 6);
}

QString outsideLine(const QString &name, const AussenTemperaturRecord &r)
{
    QString line = head(name, r.EinAus);
    if (!isOn(r.EinAus))
        return line;
    const QString s1 = text(items::temperatureThresholds(), r.Schwelle1);
    line += (s1.size() < 2 ? spaces(2) : QString()) + spaces(3) + QStringLiteral("T<") + s1
            + QStringLiteral("C ");
    if (r.Richtung == 0)
        line += QStringLiteral("^ ");
    else if (r.Richtung == 1)
        line += QStringLiteral("v ");
    else if (r.Richtung == 2)
        return line + spaces(7) + QStringLiteral("deaktiv! ");
    line += spaces(2) + QStringLiteral("T>")
            + padShort(text(items::temperatureThresholds(), r.Schwelle2)) + QStringLiteral("C ");
    if (r.Richtung == 1)
        line += QStringLiteral("^  ");
    else if (r.Richtung == 0)
        line += QStringLiteral("v  ");
    return line + text(runTimeItemsWithDauer(), r.Dauer);
}

QString pushButtonLine(const QString &name, const TastAutomatikRecord &r, bool tastFunk)
{
    QString line = head(name, r.EinAus) + spaces(6);
    if (!isOn(r.EinAus))
        return line;
    return line + text(pushButtonRunTimeItems(tastFunk), r.Dauer);
}

QString reversingLine(const QString &name, const ReversierungRecord &r)
{
    QString line = head(name, r.EinAus) + spaces(6);
    if (!isOn(r.EinAus))
        return line;
    return line + text(items::reverseTimes(), r.Bei_Auf) + QStringLiteral("s") + spaces(10)
           + text(items::reverseTimes(), r.Bei_Ab) + QStringLiteral("s");
}

} // namespace vandorelle
