#include "protocol/record_decoders.h"

#include <array>

namespace vandorelle {

namespace {

// C++20 makes the narrowing modular, so hostile values cannot overflow.
int32_t offset(int32_t w, int k) { return int32_t(int64_t(w) - k); }
int32_t flag(int32_t w) { return w == 1 ? 0 : 1; }

bool motorInRange(int32_t motor) { return motor >= 1 && motor <= kMotors; }

// Decodes a per-motor record into table[motor-1]; a motor that has no place in the store
// rejects the record with the kind's check error (filled in by the session).
template <typename Record, std::size_t N, typename Fill>
DecodeResult intoMotor(std::array<Record, N> &table, const ValueList &v, Fill fill)
{
    if (!motorInRange(v[0]))
        return DecodeResult::reject();
    fill(table[std::size_t(v[0] - 1)]);
    return {};
}

DecodeResult decodeBeschattung(RecordContext &ctx, const ValueList &v)
{
    return intoMotor(ctx.store.Beschattung, v, [&](BeschattungRecord &r) {
        r.EinAus = flag(v[1]);
        r.Temperatur = offset(v[2], 90);
        r.Von = offset(v[3], 5);
        r.Bis = offset(v[4], 5);
        r.Helligkeit = offset(v[5], 100);
        r.Dauer = offset(v[6], 1);
    });
}

DecodeResult decodeDaemmerung(std::array<DaemmerungRecord, kMotors> &table, const ValueList &v, int hourOffset)
{
    return intoMotor(table, v, [&](DaemmerungRecord &r) {
        r.EinAus = flag(v[1]);
        r.Von = offset(v[2], hourOffset);
        r.Helligkeit = offset(v[3], 1);
        r.Dauer = offset(v[4], 1);
    });
}

DecodeResult decodeDaemmerungMorgen(RecordContext &ctx, const ValueList &v)
{
    return decodeDaemmerung(ctx.store.DaemmerungMorgen, v, 3);
}

DecodeResult decodeDaemmerungAbend(RecordContext &ctx, const ValueList &v)
{
    return decodeDaemmerung(ctx.store.DaemmerungAbend, v, 14);
}

DecodeResult decodeWind(RecordContext &ctx, const ValueList &v)
{
    return intoMotor(ctx.store.Wind, v, [&](WindRecord &r) {
        r.EinAus = flag(v[1]);
        r.Geschwindigkeit = v[2] / 5 - 1; // km/h in steps of 5, starting at 5
    });
}

DecodeResult decodeRegen(RecordContext &ctx, const ValueList &v)
{
    return intoMotor(ctx.store.Regen, v, [&](RegenRecord &r) {
        r.EinAus = flag(v[1]);
        r.Richtung = flag(v[2]);
    });
}

DecodeResult decodeReversierung(RecordContext &ctx, const ValueList &v)
{
    return intoMotor(ctx.store.Reversierung, v, [&](ReversierungRecord &r) {
        r.EinAus = flag(v[1]);
        r.Bei_Auf = v[2];
        r.Bei_Ab = v[3];
    });
}

DecodeResult decodeTastAutomatik(RecordContext &ctx, const ValueList &v)
{
    const bool funk = ctx.flags.TastFunk;
    return intoMotor(ctx.store.TastAutomatik, v, [&](TastAutomatikRecord &r) {
        r.EinAus = flag(v[1]);
        int32_t code = offset(v[2], 1);
        // The radio variant carries its durations 48 higher.
        if (funk && code >= 48)
            code -= 48;
        r.Dauer = code;
    });
}

DecodeResult decodeProportional(RecordContext &ctx, const ValueList &v)
{
    return intoMotor(ctx.store.ProportionaleTemperatursteuerung, v, [&](ProportionaleTemperaturRecord &r) {
        r.EinAus = flag(v[1]);
        r.Von = v[2];
        r.Bis = v[3];
        r.SollTemperatur = offset(v[4], 101);
        r.Richtung = flag(v[5]);
        r.Regelbereich = offset(v[6], 1);
        r.MaxStellzeit = offset(v[7], 1);
        r.Schritte = offset(v[8], 2);
    });
}

DecodeResult decodeInnenTemperatur(RecordContext &ctx, const ValueList &v)
{
    return intoMotor(ctx.store.InnenTemperatursteuerung, v, [&](InnenTemperaturRecord &r) {
        r.EinAus = flag(v[1]);
        r.Gr_Kl = flag(v[2]);
        r.Schwelle1 = offset(v[3], 91);
        r.Richtung = flag(v[4]);
        r.Schwelle2 = offset(v[5], 91);
        r.Dauer = offset(v[6], 1);
        r.Von = v[7];
        r.Bis = v[8];
    });
}

DecodeResult decodeHeizung(RecordContext &ctx, const ValueList &v)
{
    return intoMotor(ctx.store.HeizungsSteuerung, v, [&](HeizungsRecord &r) {
        r.EinAus = flag(v[1]);
        r.TagNacht = flag(v[2]);
        r.Betriebsart = v[3] == 0 ? 1 : 0; // 0 on the wire is cooling
        r.TagTemperatur = v[4];
        r.NachtTemperatur = v[5];
    });
}

DecodeResult decodeFeuchtigkeit(RecordContext &ctx, const ValueList &v)
{
    return intoMotor(ctx.store.FeuchtigkeitsSteuerung, v, [&](FeuchtigkeitsRecord &r) {
        r.EinAus = flag(v[1]);
        r.Gr_Kl = flag(v[2]);
        r.Schwelle1 = offset(v[3], 1);
        r.Schwelle2 = offset(v[4], 1);
        r.Dauer = offset(v[5], 1);
        r.Von = v[6];
        r.Bis = v[7];
    });
}

DecodeResult decodeAussenTemperatur(RecordContext &ctx, const ValueList &v)
{
    return intoMotor(ctx.store.AussenTemperatursteuerung, v, [&](AussenTemperaturRecord &r) {
        r.EinAus = flag(v[1]);
        r.Schwelle1 = offset(v[2], 91);
        // Three-valued: 1 up, 0 down, anything else (2) deactivated and kept.
        r.Richtung = v[3] == 1 ? 0 : v[3] == 0 ? 1 : v[3];
        r.Schwelle2 = offset(v[4], 91);
        r.Dauer = offset(v[5], 1);
    });
}

DecodeResult decodeAlarmPattern(RecordContext &ctx, const ValueList &v)
{
    const auto up = uint32_t(v[0]);
    const auto down = uint32_t(v[1]);
    for (int m = 0; m < kMotors; ++m) {
        const uint32_t bit = 1u << m;
        int32_t pattern = 1;
        if (up & bit)
            pattern = 0;
        if (down & bit)
            pattern = 2;
        ctx.store.AlarmPattern[std::size_t(m)] = pattern;
    }
    return {};
}

DecodeResult decodeGruppen(RecordContext &ctx, const ValueList &v)
{
    for (int g = 0; g < kGroups; ++g) {
        const auto members = uint32_t(v[std::size_t(g)]);
        for (int b = 0; b < kBanks; ++b)
            ctx.store.GruppenZentralsteuerung[b][g] = int32_t((members >> (8 * b)) & 0xFF);
    }
    return {};
}

DecodeResult decodeZufallsZeitspanne(RecordContext &ctx, const ValueList &v)
{
    ctx.store.Parameter.ZufallsZeitspanne = offset(v[0], 2);
    return {};
}

DecodeResult decodeBeschattungsHysterese(RecordContext &ctx, const ValueList &v)
{
    int32_t w = v[0];
    ctx.store.SoftGZS = w >= 128;
    if (ctx.store.SoftGZS)
        w -= 128;
    ctx.store.Parameter.BeschattungsHysterese = offset(w, 2);
    return {};
}

DecodeResult decodeOffsetAT(RecordContext &ctx, const ValueList &v)
{
    ctx.store.Parameter.Offset_AT = offset(v[0], 95);
    return {};
}

DecodeResult decodeOffsetIT(RecordContext &ctx, const ValueList &v)
{
    ctx.store.Parameter.Offset_IT = offset(v[0], 95);
    return {};
}

DecodeResult decodeHeizungsHysterese(RecordContext &ctx, const ValueList &v)
{
    ctx.store.Parameter.HeizungsHysterese = offset(v[0], 1);
    return {};
}

// Weekdays an "sfs" entry is written to; empty for a group the controller does not have.
struct DayRange {
    int first = 0;
    int last = -1;
};

DayRange daysOfGroup(int32_t group, int32_t weekday)
{
    switch (group) {
    case 1:
        if (weekday >= 1 && weekday <= kWeekdays)
            return {weekday, weekday};
        return {};
    case 2: return {6, 7};
    case 5: return {1, 5};
    case 7: return {1, 7};
    default: return {};
    }
}


DecodeResult decodeTimeSignalEnd(RecordContext &, const QString &)
{
    return DecodeResult::announce(RecordSignal::TimeSignalEnded);
}

using F = FollowUp;
using P = PayloadKind;
using E = CheckErrorForm;

// clang-format off
const RecordKind kRecordKinds[] = {
    {"smo", "", false, P::Text, 0, "", E::Fixed, nullptr, decodeModel, std::nullopt},
    {"sfi", "", false, P::Text, 0, "", E::Fixed, nullptr, decodeFirmware, std::nullopt},
    {"sdt", "", false, P::Text, 0, "", E::Fixed, nullptr, decodeDate, std::nullopt},
    {"sti", "", false, P::Text, 0, "", E::Fixed, nullptr, decodeTime, std::nullopt},
    {"smn", "Motor-Namen", false, P::Text, 0, "", E::Fixed, nullptr, decodeMotorName, F::MotorNamen},
    {"sbp", "Beschattungsparameter", true, P::Values, 7, "Fehler Beschatt.", E::Fixed, decodeBeschattung, nullptr, F::Beschattung},
    {"sdm", "Dämmerungssteuerung Morgen", true, P::Values, 5, "Fehler DämmMorgen", E::Fixed, decodeDaemmerungMorgen, nullptr, F::DaemmerungMorgen},
    {"sda", "Dämmerungssteuerung Abend", true, P::Values, 5, "Fehler DämmAbend", E::Fixed, decodeDaemmerungAbend, nullptr, F::DaemmerungAbend},
    {"swp", "Einfahren bei Wind", true, P::Values, 3, "Fehler Wind", E::Fixed, decodeWind, nullptr, F::Wind},
    {"srp", "Einfahren bei Regen", true, P::Values, 3, "Fehler Regen", E::Fixed, decodeRegen, nullptr, F::Regen},
    {"sjp", "Reversier-Automatik", true, P::Values, 4, "Fehler Reversier", E::Fixed, decodeReversierung, nullptr, F::Reversierung},
    {"sta", "Tast-Automatik", true, P::Values, 3, "Fehler Tast-Automatik", E::Fixed, decodeTastAutomatik, nullptr, F::TastAutomatik},
    {"spp", "Proportionale Temp.-Steuerung", true, P::Values, 9, "Fehler Prop.T.-Strg", E::Fixed, decodeProportional, nullptr, F::ProportionaleTemperatur},
    {"sip", "Innentemperatur-Steuerung", true, P::Values, 9, "Fehler InnenTemp.-Strg", E::Fixed, decodeInnenTemperatur, nullptr, F::InnenTemperatur},
    {"shp", "Heizungs-Steuerung", true, P::Values, 6, "Fehler Heizungs-Steuerung", E::Fixed, decodeHeizung, nullptr, F::Heizung},
    {"sfp", "Luftfeuchtigkeits-Steuerung", true, P::Values, 8, "Fehler Feuchte-Strg", E::Fixed, decodeFeuchtigkeit, nullptr, F::Feuchtigkeit},
    {"sap", "Außentemperatur-Steuerung", true, P::Values, 6, "Fehler InnenTemp.-Strg", E::Fixed, decodeAussenTemperatur, nullptr, F::AussenTemperatur},
    {"sas", "Alarm Setup", true, P::Masks, 0, "", E::Fixed, decodeAlarmPattern, nullptr, F::AlarmPattern},
    {"sgz", "Gruppen-Zentralsteuerung", true, P::Masks, 0, "", E::Fixed, decodeGruppen, nullptr, F::Gruppen},
    {"sla", "Logbuch Daten", false, P::Values, 0, "", E::Fixed, nullptr, nullptr, std::nullopt},
    {"sld", "Logbuch Daten", false, P::Values, 9, "LoBuFe ", E::FirstValueLess, nullptr, nullptr, std::nullopt},
    {"slf", "Save Logbuch to Disk", false, P::Values, 9, "LoBuFe ", E::FirstValueLess, nullptr, nullptr, std::nullopt},
    {"skd", "", false, P::Values, 0, "", E::Fixed, decodeSensors, nullptr, F::LiveValues},
    {"szz", "", false, P::Values, 0, "", E::Fixed, decodeZufallsZeitspanne, nullptr, F::Parameters},
    {"sbh", "", false, P::Values, 0, "", E::Fixed, decodeBeschattungsHysterese, nullptr, F::Parameters},
    {"soa", "", false, P::Values, 0, "", E::Fixed, decodeOffsetAT, nullptr, F::Parameters},
    {"soi", "", false, P::Values, 0, "", E::Fixed, decodeOffsetIT, nullptr, F::Parameters},
    {"shh", "", false, P::Values, 0, "", E::Fixed, decodeHeizungsHysterese, nullptr, F::Parameters},
    {"ssp", "", false, P::Text, 0, "", E::Fixed, nullptr, nullptr, std::nullopt},
    {"sds", "", false, P::Values, 0, "", E::Fixed, nullptr, nullptr, std::nullopt},
    {"sts", "", false, P::Text, 0, "", E::Fixed, nullptr, decodeTimeSignalEnd, std::nullopt},
    {"sfs", "Schaltzeiten ", true, P::Values, 9, "Fehler Schalt ", E::FirstValue, decodeSchaltzeit, nullptr, std::nullopt},
    // The send-all exchange paces itself on it (frameHandled).
    {"stc", "", false, P::Text, 0, "", E::Fixed, nullptr, nullptr, std::nullopt},
};
// clang-format on

} // namespace

DecodeResult decodeSchaltzeit(RecordContext &ctx, const ValueList &v)
{
    const int32_t weekday = v[0];
    if (weekday == 0) {
        ctx.store.Schaltzeit.fill(SchaltzeitEntry{});
        return DecodeResult::announce(RecordSignal::ScheduleStart);
    }
    if (weekday == 255)
        return DecodeResult::announce(RecordSignal::ScheduleEnd);
    if (weekday < 1 || weekday > 254)
        return {};

    const int32_t motor = v[1] + 1;
    const int32_t number = v[2];
    const DayRange days = daysOfGroup(v[7], weekday);
    if (!motorInRange(motor) || number < 1 || number > kEntries || days.first > days.last)
        return DecodeResult::reject();

    const int32_t hour = v[4];
    const int32_t zeit = hour == 24 ? 0 : int32_t(int64_t(hour) * 60 + v[5] + 1);
    for (int d = days.first; d <= days.last; ++d) {
        SchaltzeitEntry &e = ctx.store.entry(d, motor, number);
        e.Richtung = flag(v[3]);
        e.Zeit = zeit;
        e.Dauer = v[6];
        e.Gruppe = v[7];
        e.Funktion = v[8];
    }
    return {};
}

const RecordKind *findRecordKind(QByteArrayView tag)
{
    for (const RecordKind &kind : kRecordKinds) {
        if (QByteArrayView(kind.tag.data(), qsizetype(kind.tag.size())) == tag)
            return &kind;
    }
    return nullptr;
}

QString weekdayAbbreviation(int weekday)
{
    static const char *const kDays[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    if (weekday < 1 || weekday > kWeekdays)
        return {};
    return QString::fromLatin1(kDays[weekday - 1]);
}

QString recordCaption(const RecordKind &kind, const ValueList &values)
{
    QString caption = QString::fromUtf8(kind.caption.data(), qsizetype(kind.caption.size()));
    if (kind.tag == "sfs")
        caption += weekdayAbbreviation(values[0]);
    return caption;
}

QString checkErrorText(const RecordKind &kind, const ValueList &values)
{
    QString text = QString::fromUtf8(kind.checkError.data(), qsizetype(kind.checkError.size()));
    switch (kind.checkErrorForm) {
    case CheckErrorForm::Fixed: break;
    case CheckErrorForm::FirstValue: text += QString::number(values[0]); break;
    case CheckErrorForm::FirstValueLess: text += QString::number(int64_t(values[0]) - 1); break;
    }
    return text;
}

} // namespace vandorelle
