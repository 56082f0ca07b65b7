#include "protocol/sensor_csv.h"

#include <QDateTime>
#include <QStringList>

#include <cmath>

namespace vandorelle {

namespace {

QString field(float value) { return std::isnan(value) ? QString() : germanDecimal(value); }

} // namespace

QString germanDecimal(double value)
{
    const double rounded = std::round(value * 10.0) / 10.0;
    QString text = QString::number(rounded == 0.0 ? 0.0 : rounded, 'f', 1);
    if (text.endsWith(QStringLiteral(".0")))
        text.chop(2);
    return text.replace(u'.', u',');
}

QByteArray sensorHistoryCsv(const SensorHistory &history, Quantity quantity, qint64 fromMonotonicMs,
                            const QTimeZone &zone)
{
    const QuantityInfo &info = quantityInfo(quantity);
    const QString unit = QStringLiteral(" (") + info.unit + u')';
    QStringList header{QStringLiteral("Zeit")};
    for (const QuantitySeries &s : info.series)
        header << s.label + unit << s.label + QStringLiteral(" Minimum") + unit
               << s.label + QStringLiteral(" Maximum") + unit;
    header << QStringLiteral("Regen") << QStringLiteral("Alarm");

    const QString lineEnd = QStringLiteral("\r\n");
    QString text = header.join(u';') + lineEnd;
    history.visit(fromMonotonicMs, [&](const SensorPoint &p) {
        text += QDateTime::fromMSecsSinceEpoch(p.wallMs, zone).toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
        for (const QuantitySeries &s : info.series) {
            const bool measured = p.count[s.channel] > 0;
            for (float value : {p.mean[s.channel], p.min[s.channel], p.max[s.channel]})
                text += u';' + (measured ? field(value) : QString());
        }
        text += p.rain ? QStringLiteral(";1") : QStringLiteral(";0");
        text += p.alarm ? QStringLiteral(";1") : QStringLiteral(";0");
        text += lineEnd;
    });
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace vandorelle
