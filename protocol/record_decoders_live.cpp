#include "config/text_codec.h"
#include "protocol/record_decoders.h"

namespace vandorelle {

namespace {

const QString kDegree = QStringLiteral("°");

// One temperature sensor of an "skd" record: whole degrees (999 = no sensor), tenths,
// minimum, maximum.
struct Temperature {
    QString actual, minimum, maximum;
};

bool showTemperature(const ValueList &v, std::size_t first, Temperature &out)
{
    if (v[first] == 999) {
        out = {QStringLiteral("    -"), QStringLiteral("  -"), QStringLiteral("  -")};
        return false;
    }
    out.actual = QString::number(v[first]) + u',' + QString::number(v[first + 1]) + kDegree;
    out.minimum = QString::number(v[first + 2]) + kDegree;
    out.maximum = QString::number(v[first + 3]) + kDegree;
    return true;
}

QString lineText(const QString &payload) { return blankControlCharacters(payload); }

} // namespace

std::optional<int> firmwareNumberOf(const QString &text)
{
    if (text.size() < 5)
        return std::nullopt;
    int number = 0;
    for (qsizetype i : {0, 2, 3, 4}) {
        const QChar c = text.at(i);
        if (c < u'0' || c > u'9')
            return std::nullopt;
        number = number * 10 + (c.unicode() - u'0');
    }
    return number;
}

DecodeResult decodeModel(RecordContext &ctx, const QString &payload)
{
    ctx.status.setPanel(StatusModel::Model, lineText(payload));
    return {};
}

DecodeResult decodeFirmware(RecordContext &ctx, const QString &payload)
{
    ctx.status.setPanel(StatusModel::Firmware, QStringLiteral("V") + lineText(payload));
    const auto number = firmwareNumberOf(payload);
    // A garbled answer must not count as an old firmware: wait for the next one.
    if (!number)
        return DecodeResult::reject(QStringLiteral("Fehler Wert sfi"));
    ctx.firmwareNumber = *number;
    ctx.firmwareKnown = true;
    return {};
}

DecodeResult decodeDate(RecordContext &ctx, const QString &payload)
{
    ctx.status.setPanel(StatusModel::Date, lineText(payload));
    return {};
}

DecodeResult decodeTime(RecordContext &ctx, const QString &payload)
{
    ctx.status.setPanel(StatusModel::Time, lineText(payload));
    return {};
}

DecodeResult decodeMotorName(RecordContext &ctx, const QString &payload)
{
    const qsizetype comma = payload.indexOf(u',');
    const auto motor = comma < 0 ? std::nullopt : parseInt32(QStringView(payload).left(comma));
    if (!motor || *motor < 1 || *motor > kMotors)
        return DecodeResult::reject(QStringLiteral("Fehler Wert smn"));
    // The controller keeps 12 characters per name; the lists show 12-character columns.
    ctx.store.MotorNamen[std::size_t(*motor - 1)] = lineText(payload.mid(comma + 1)).left(12);
    return {};
}

DecodeResult decodeSensors(RecordContext &ctx, const ValueList &v)
{
    LiveValues &live = ctx.live;
    live.values = v;
    const bool sunPanels = ctx.flags.ShadingFamily || ctx.flags.ConservatoryFamily;
    if (sunPanels)
        ctx.status.setPanel(StatusModel::Sun, QStringLiteral("Sonne: ") + QString::number(v[0]));
    live.luxCurrent = QString::number(v[0]);

    Temperature t;
    if (showTemperature(v, 1, t))
        ctx.status.setPanel(StatusModel::InsideTemp, QStringLiteral("IT: ") + t.actual);
    live.insideActual = t.actual;
    live.insideMin = t.minimum;
    live.insideMax = t.maximum;

    if (showTemperature(v, 5, t))
        ctx.status.setPanel(StatusModel::OutsideTemp, QStringLiteral("AT: ") + t.actual);
    live.outsideActual = t.actual;
    live.outsideMin = t.minimum;
    live.outsideMax = t.maximum;

    live.windSpeed = v[9];
    live.aktWind = QString::number(v[9]) + QStringLiteral(" km/h");
    live.maxWind = QString::number(v[10]) + QStringLiteral(" km/h");
    live.alarmStatus = v[11] != 0 ? QStringLiteral("Alarm ausgelöst") : QStringLiteral("   Kein Alarm");
    live.regenStatus = v[12] != 0 ? QStringLiteral(" Es regnet") : QStringLiteral(" Kein Regen");
    if (sunPanels)
        ctx.status.setPanel(StatusModel::WindPanel, QStringLiteral("Wind: ") + QString::number(v[13]));
    live.luxMean = QString::number(v[14]);
    live.relFeuchte = v[15] != 0 ? QString::number(v[15]) + QStringLiteral(" %") : QStringLiteral(" - ");
    live.reading = sensorReadingOf(v);
    live.received = true;
    return {};
}

} // namespace vandorelle
