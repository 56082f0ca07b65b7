#include "cli/readings.h"

#include "cli/json_output.h"
#include "cli/sensor_values.h"

namespace vandorelle::cli {

namespace {

constexpr int kLabelWidth = 22;

QString field(const QString &label, const QString &value)
{
    return QStringLiteral("%1%2").arg(label + u':', -kLabelWidth).arg(value);
}

QString yesNo(bool flag, const QString &meaning = QString())
{
    QString text = flag ? QStringLiteral("yes") : QStringLiteral("no");
    if (!meaning.isEmpty())
        text += QStringLiteral(" (") + meaning + u')';
    return text;
}

// The display texts carry blanks for the window's columns.
QString shown(const QString &text)
{
    return text.trimmed();
}

QString withRange(const QString &actual, const QString &minimum, const QString &maximum)
{
    const QString a = shown(actual);
    if (a == QLatin1String("-") || a.isEmpty())
        return QStringLiteral("-");
    return QStringLiteral("%1 (min %2, max %3)").arg(a, shown(minimum), shown(maximum));
}

} // namespace

QStringList infoLines(const StatusModel &status, const LiveValues &live, const DeviceFlags &flags,
                      bool modelKnown)
{
    QStringList lines;
    QString model = status.panel(StatusModel::Model);
    if (!modelKnown)
        model += QStringLiteral(" (unknown model: 32 motors, 8 switching times assumed)");
    lines << field(QStringLiteral("Model"), model)
          << field(QStringLiteral("Firmware"), status.panel(StatusModel::Firmware))
          << field(QStringLiteral("Date"), status.panel(StatusModel::Date))
          << field(QStringLiteral("Time"), status.panel(StatusModel::Time))
          << field(QStringLiteral("ShadingFamily"), yesNo(flags.ShadingFamily))
          << field(QStringLiteral("ConservatoryFamily"), yesNo(flags.ConservatoryFamily))
          << field(QStringLiteral("TastPresent"), yesNo(flags.TastPresent))
          << field(QStringLiteral("TastFunk"), yesNo(flags.TastFunk))
          << field(QStringLiteral("GzsPresent"), yesNo(flags.GzsPresent))
          << field(QStringLiteral("BankModel"),
                   yesNo(flags.BankModel, flags.BankModel ? QStringLiteral("32 motors") : QStringLiteral("8 motors")))
          << field(QStringLiteral("EightEntries"),
                   yesNo(flags.EightEntries, flags.EightEntries ? QStringLiteral("8 switching times per day")
                                                                : QStringLiteral("4 switching times per day")));
    if (!live.received) {
        lines << field(QStringLiteral("Sensors"), QStringLiteral("no answer"));
        return lines;
    }
    lines << field(QStringLiteral("Brightness"),
                   QStringLiteral("%1 (mean %2)").arg(shown(live.luxCurrent), shown(live.luxMean)))
          << field(QStringLiteral("Wind"), QStringLiteral("%1 (max %2)").arg(shown(live.aktWind), shown(live.maxWind)))
          << field(QStringLiteral("Outside temperature"),
                   withRange(live.outsideActual, live.outsideMin, live.outsideMax))
          << field(QStringLiteral("Inside temperature"),
                   withRange(live.insideActual, live.insideMin, live.insideMax))
          << field(QStringLiteral("Humidity"), shown(live.relFeuchte))
          << field(QStringLiteral("Rain"), shown(live.regenStatus))
          << field(QStringLiteral("Alarm"), shown(live.alarmStatus));
    return lines;
}

QJsonObject infoJson(const StatusModel &status, const LiveValues &live, const DeviceFlags &flags, bool modelKnown,
                     int firmwareNumber)
{
    const QJsonObject family{
        {QStringLiteral("shadingFamily"), flags.ShadingFamily},
        {QStringLiteral("conservatoryFamily"), flags.ConservatoryFamily},
        {QStringLiteral("pushButton"), flags.TastPresent},
        {QStringLiteral("radioPushButton"), flags.TastFunk},
        {QStringLiteral("groupControl"), flags.GzsPresent},
        {QStringLiteral("bankModel"), flags.BankModel},
        {QStringLiteral("eightSwitchingTimes"), flags.EightEntries},
    };
    return {
        {QStringLiteral("model"), status.panel(StatusModel::Model)},
        {QStringLiteral("modelKnown"), modelKnown},
        {QStringLiteral("firmware"), status.panel(StatusModel::Firmware)},
        {QStringLiteral("firmwareNumber"),
         numberOrNull(firmwareNumber > 0 ? std::optional<double>(firmwareNumber) : std::nullopt)},
        {QStringLiteral("date"), status.panel(StatusModel::Date)},
        {QStringLiteral("time"), status.panel(StatusModel::Time)},
        {QStringLiteral("family"), family},
        {QStringLiteral("motors"), motorCount(flags)},
        {QStringLiteral("switchingTimesPerDay"), entriesPerDay(flags)},
        {QStringLiteral("sensors"), live.received ? QJsonValue(sensorJson(live)) : QJsonValue()},
    };
}

QString sensorLine(const QTime &when, const LiveValues &live)
{
    return QStringLiteral("%1  brightness %2 (mean %3)  wind %4 (max %5)  outside %6  inside %7  humidity %8  %9  %10")
        .arg(when.toString(QStringLiteral("HH:mm:ss")), shown(live.luxCurrent), shown(live.luxMean),
             shown(live.aktWind), shown(live.maxWind), shown(live.outsideActual), shown(live.insideActual),
             shown(live.relFeuchte), shown(live.regenStatus), shown(live.alarmStatus));
}

} // namespace vandorelle::cli
