#include "test_receive_helpers.h"

#include <gtest/gtest.h>

#include <functional>

namespace vandorelle::test {
namespace {

// Every per-motor example carries the start values; decoding it into a scrambled store must
// give the start record back, with its Senden flag left alone.
struct MotorExample {
    const char *tag;
    QByteArray payload;
    QString caption;
    QString checkError;
    FollowUp followUp;
    std::function<void(ConfigStore &)> scramble;
    std::function<bool(const ConfigStore &)> isStartRecord;
};

template <typename Record> void scrambleRecord(Record &r)
{
    Record fresh{};
    r = fresh;
    r.EinAus = 0;
    r.Senden = 0;
}

template <typename Record> bool startRecord(const Record &r)
{
    Record expected{};
    expected.Senden = 0;
    return r == expected;
}

std::vector<MotorExample> motorExamples()
{
#define EX(tag, payload, caption, error, fu, table)                                                         \
    MotorExample{tag, payload, QStringLiteral(caption), QStringLiteral(error), FollowUp::fu,                 \
                 [](ConfigStore &s) { scrambleRecord(s.table[0]); s.table[0].Senden = 0; },                 \
                 [](const ConfigStore &s) { return startRecord(s.table[0]); }}
    return {
        EX("sbp", "1,0,122,10,20,244,10,407,", "Beschattungsparameter", "Fehler Beschatt.", Beschattung, Beschattung),
        EX("sdm", "1,0,8,110,40,159,", "Dämmerungssteuerung Morgen", "Fehler DämmMorgen", DaemmerungMorgen, DaemmerungMorgen),
        EX("sda", "1,0,19,110,40,170,", "Dämmerungssteuerung Abend", "Fehler DämmAbend", DaemmerungAbend, DaemmerungAbend),
        EX("swp", "1,0,30,31,", "Einfahren bei Wind", "Fehler Wind", Wind, Wind),
        EX("srp", "1,0,1,2,", "Einfahren bei Regen", "Fehler Regen", Regen, Regen),
        EX("sjp", "1,0,4,6,11,", "Reversier-Automatik", "Fehler Reversier", Reversierung, Reversierung),
        EX("sta", "1,0,22,23,", "Tast-Automatik", "Fehler Tast-Automatik", TastAutomatik, TastAutomatik),
        EX("spp", "1,0,10,22,123,1,3,40,6,206,", "Proportionale Temp.-Steuerung", "Fehler Prop.T.-Strg",
           ProportionaleTemperatur, ProportionaleTemperatursteuerung),
        EX("sip", "1,0,1,122,1,120,40,8,21,314,", "Innentemperatur-Steuerung", "Fehler InnenTemp.-Strg",
           InnenTemperatur, InnenTemperatursteuerung),
        EX("shp", "1,0,1,1,170,140,313,", "Heizungs-Steuerung", "Fehler Heizungs-Steuerung", Heizung, HeizungsSteuerung),
        EX("sfp", "1,0,1,76,66,40,8,21,213,", "Luftfeuchtigkeits-Steuerung", "Fehler Feuchte-Strg", Feuchtigkeit,
           FeuchtigkeitsSteuerung),
        EX("sap", "1,0,102,0,105,40,248,", "Außentemperatur-Steuerung", "Fehler InnenTemp.-Strg", AussenTemperatur,
           AussenTemperatursteuerung),
    };
#undef EX
}

// The same payload with its check value one higher.
QByteArray withBadCheck(const QByteArray &payload)
{
    QList<QByteArray> parts = payload.split(',');
    parts.removeLast(); // the empty piece after the last comma
    parts.last() = QByteArray::number(parts.last().toInt() + 1);
    return parts.join(',') + ',';
}

// The same record for motor 33, with a matching check value.
QByteArray asMotor33(const QByteArray &payload)
{
    QList<QByteArray> parts = payload.split(',');
    parts.removeLast();
    parts.first() = "33";
    parts.last() = QByteArray::number(parts.last().toInt() + 32);
    return parts.join(',') + ',';
}

TEST(ReceiveRecords, PerMotorRecordsDecodeTheirExamplesAndReportTheirCaptions)
{
    for (const MotorExample &ex : motorExamples()) {
        SCOPED_TRACE(ex.tag);
        ReceiveFixture f;
        ex.scramble(f.store);
        f.feed(ex.tag, ex.payload);
        EXPECT_TRUE(ex.isStartRecord(f.store));
        EXPECT_EQ(f.panel(StatusModel::Activity), ex.caption);
        ASSERT_EQ(f.progressLines.size(), 1);
        EXPECT_EQ(f.progressLines[0], QStringLiteral("    Lese Daten von Steuerung ... ") + ex.caption);
        EXPECT_EQ(f.followUps, QList<FollowUp>{ex.followUp});
        EXPECT_EQ(f.panel(StatusModel::Error), "");
    }
}

TEST(ReceiveRecords, FailedCheckOrUnknownMotorLeavesTheStoreAndStillRedraws)
{
    for (const MotorExample &ex : motorExamples()) {
        SCOPED_TRACE(ex.tag);
        for (const QByteArray &payload : {withBadCheck(ex.payload), asMotor33(ex.payload)}) {
            ReceiveFixture f;
            const ConfigStore before = f.store;
            f.feed(ex.tag, payload);
            EXPECT_TRUE(f.store == before) << payload.constData();
            EXPECT_EQ(f.panel(StatusModel::Error), ex.checkError) << payload.constData();
            EXPECT_EQ(f.followUps, QList<FollowUp>{ex.followUp});
        }
    }
}

TEST(ReceiveRecords, WireEncodingEdgeCases)
{
    ReceiveFixture f;
    f.feed("swp", "2,0,33,35,");
    EXPECT_EQ(f.store.Wind[1].Geschwindigkeit, 5);

    f.session.flags.TastFunk = true;
    f.feed("sta", "1,0,30,31,");
    EXPECT_EQ(f.store.TastAutomatik[0].Dauer, 29); // below 48: not reduced
    f.feed("sta", "2,0,70,72,");
    EXPECT_EQ(f.store.TastAutomatik[1].Dauer, 21);
    f.session.flags.TastFunk = false;
    f.feed("sta", "3,0,70,73,");
    EXPECT_EQ(f.store.TastAutomatik[2].Dauer, 69);

    f.feed("sap", "4,0,102,2,105,40,253,");
    EXPECT_EQ(f.store.AussenTemperatursteuerung[3].Richtung, 2);
    f.feed("shp", "5,1,0,0,170,140,316,");
    EXPECT_EQ(f.store.HeizungsSteuerung[4].EinAus, 0);
    EXPECT_EQ(f.store.HeizungsSteuerung[4].TagNacht, 1);
    EXPECT_EQ(f.store.HeizungsSteuerung[4].Betriebsart, 1); // 0 on the wire is cooling
}

TEST(ReceiveRecords, GlobalParameters)
{
    ReceiveFixture f;
    f.feed("sbh", "136,");
    EXPECT_TRUE(f.store.SoftGZS);
    EXPECT_EQ(f.store.Parameter.BeschattungsHysterese, 6);
    f.feed("sbh", "8,");
    EXPECT_FALSE(f.store.SoftGZS);
    EXPECT_EQ(f.store.Parameter.BeschattungsHysterese, 6);
    f.feed("szz", "30,");
    f.feed("soa", "100,");
    f.feed("soi", "97,");
    f.feed("shh", "3,");
    EXPECT_EQ(f.store.Parameter.ZufallsZeitspanne, 28);
    EXPECT_EQ(f.store.Parameter.Offset_AT, 5);
    EXPECT_EQ(f.store.Parameter.Offset_IT, 2);
    EXPECT_EQ(f.store.Parameter.HeizungsHysterese, 2);
    EXPECT_EQ(f.followUps.count(FollowUp::Parameters), 6);
}

TEST(ReceiveRecords, AlarmAndGroupMasksAcceptSignedAndUnsignedForms)
{
    ReceiveFixture f;
    f.feed("sas", "1,1,");
    EXPECT_EQ(f.store.AlarmPattern[0], 2); // down wins over up
    for (int m = 1; m < kMotors; ++m)
        EXPECT_EQ(f.store.AlarmPattern[m], 1);
    EXPECT_EQ(f.panel(StatusModel::Activity), "Alarm Setup");

    for (const QByteArray &motor32 : {QByteArray("-2147483648"), QByteArray("2147483648")}) {
        f.feed("sas", motor32 + ",2,");
        EXPECT_EQ(f.store.AlarmPattern[31], 0);
        EXPECT_EQ(f.store.AlarmPattern[1], 2);
        EXPECT_EQ(f.store.AlarmPattern[0], 1);
    }

    for (const QByteArray &all : {QByteArray("-1"), QByteArray("4294967295")}) {
        ReceiveFixture g;
        g.feed("sgz", all + ",67305985,0,128,");
        for (int bank = 0; bank < kBanks; ++bank) {
            EXPECT_EQ(g.store.GruppenZentralsteuerung[bank][0], 255);
            EXPECT_EQ(g.store.GruppenZentralsteuerung[bank][1], bank + 1); // 0x04030201
            EXPECT_EQ(g.store.GruppenZentralsteuerung[bank][2], 0);
        }
        EXPECT_EQ(g.store.GruppenZentralsteuerung[0][3], 128);
        EXPECT_EQ(g.followUps, QList<FollowUp>{FollowUp::Gruppen});
    }

    f.feed("sgz", "4294967296,0,0,0,");
    EXPECT_EQ(f.panel(StatusModel::Error), "Fehler Wert sgz");
}

TEST(ReceiveRecords, SwitchingTimes)
{
    ReceiveFixture f;
    int starts = 0, ends = 0;
    QObject::connect(&f.session, &Session::scheduleStartMarker, [&] { ++starts; });
    QObject::connect(&f.session, &Session::scheduleEndMarker, [&] { ++ends; });
    f.store.entry(2, 1, 1).Zeit = 100;
    f.store.entry(2, 1, 1).Senden = 0;

    f.feed("sfs", "0,0,0,0,0,0,0,0,0,0,");
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(f.store.entry(2, 1, 1), SchaltzeitEntry{});
    EXPECT_EQ(f.panel(StatusModel::Activity), "Schaltzeiten ");

    for (auto &e : f.store.Schaltzeit)
        e.Senden = 0;
    f.feed("sfs", "1,2,1,1,7,30,39,5,0,86,");
    for (int day = 1; day <= 7; ++day) {
        const SchaltzeitEntry &e = f.store.entry(day, 3, 1);
        EXPECT_EQ(e.Zeit, day <= 5 ? 451 : 0) << day;
        if (day <= 5) {
            EXPECT_EQ(e.Gruppe, 5);
            EXPECT_EQ(e.Richtung, 0);
            EXPECT_EQ(e.Dauer, 39);
        }
        EXPECT_EQ(e.Senden, 0); // a received entry is not pending
    }
    EXPECT_EQ(f.panel(StatusModel::Activity), "Schaltzeiten Mo");

    // Hour 24: the entry is written but not in use.
    f.feed("sfs", "2,0,2,0,24,0,10,1,1,40,");
    EXPECT_EQ(f.store.entry(2, 1, 2).Zeit, 0);
    EXPECT_EQ(f.store.entry(2, 1, 2).Richtung, 1);
    EXPECT_EQ(f.store.entry(2, 1, 2).Funktion, 1);

    // Group 7 from Wednesday still covers the whole week.
    f.feed("sfs", "3,4,8,1,6,0,39,7,2,70,");
    for (int day = 1; day <= 7; ++day)
        EXPECT_EQ(f.store.entry(day, 5, 8).Zeit, 361) << day;
    EXPECT_EQ(f.progressLines.last(), "    Lese Daten von Steuerung ... Schaltzeiten Mi");

    const ConfigStore before = f.store;
    f.feed("sfs", "4,0,1,1,6,0,39,3,0,54,"); // no weekday group 3
    EXPECT_EQ(f.panel(StatusModel::Error), "Fehler Schalt 4");
    f.feed("sfs", "6,32,1,1,6,0,39,1,0,86,"); // motor 33
    f.feed("sfs", "6,0,9,1,6,0,39,1,0,62,");  // entry 9
    f.feed("sfs", "9,0,1,1,6,0,39,1,0,57,");  // weekday 9 alone
    f.feed("sfs", "5,0,1,1,6,0,39,1,0,99,");  // wrong check
    EXPECT_EQ(f.panel(StatusModel::Error), "Fehler Schalt 5");
    EXPECT_TRUE(f.store == before);

    f.feed("sfs", "255,0,0,0,0,0,0,0,0,255,");
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(f.store == before);
}

TEST(ReceiveRecords, StatusTextsAndFirmware)
{
    ReceiveFixture f;
    f.feed("smo", "QRX-RS-W0009STG");
    f.feed("sdt", "07.12.26");
    f.feed("sti", "06:30");
    EXPECT_EQ(f.panel(StatusModel::Model), "QRX-RS-W0009STG");
    EXPECT_EQ(f.panel(StatusModel::Date), "07.12.26");
    EXPECT_EQ(f.panel(StatusModel::Time), "06:30");

    f.feed("sfi", "6.99");
    EXPECT_EQ(f.panel(StatusModel::Firmware), "V6.99");
    EXPECT_FALSE(f.session.firmwareKnown); // garbled: not taken for an old firmware
    EXPECT_EQ(f.panel(StatusModel::Error), "Fehler Wert sfi");
    f.feed("sfi", "7.090");
    EXPECT_TRUE(f.session.firmwareKnown);
    EXPECT_EQ(f.session.firmwareNumber, 7090);
    EXPECT_EQ(f.panel(StatusModel::Firmware), "V7.090");
}

TEST(ReceiveRecords, MotorNames)
{
    ReceiveFixture f;
    f.feed("smn", "07,Wohnzimmer links");
    EXPECT_EQ(f.store.MotorNamen[6], "Wohnzimmer l");
    EXPECT_EQ(f.panel(StatusModel::Activity), "Motor-Namen");
    f.feed(QByteArray("start_smn08,K\xfc") + "che\r  ende_");
    EXPECT_EQ(f.store.MotorNamen[7], QStringLiteral("Küche   "));

    const ConfigStore before = f.store;
    for (const char *bad : {"33,Keller", "00,Keller", "Keller", "x1,Keller"})
        f.feed("smn", bad);
    EXPECT_TRUE(f.store == before);
    EXPECT_EQ(f.panel(StatusModel::Error), "Fehler Wert smn");
}

TEST(ReceiveRecords, SensorValues)
{
    ReceiveFixture f;
    const QByteArray skd = "250,21,5,18,24,-3,5,-7,2,12,74,1,0,4,180,55,";
    f.feed("skd", skd);
    const LiveValues &live = f.session.live;
    EXPECT_EQ(f.panel(StatusModel::Sun), ""); // only with a sun or conservatory family
    EXPECT_EQ(f.panel(StatusModel::InsideTemp), "IT: 21,5°");
    EXPECT_EQ(f.panel(StatusModel::OutsideTemp), "AT: -3,5°");
    EXPECT_EQ(live.insideMin, "18°");
    EXPECT_EQ(live.outsideMax, "2°");
    EXPECT_EQ(live.aktWind, "12 km/h");
    EXPECT_EQ(live.windSpeed, 12);
    EXPECT_EQ(live.maxWind, "74 km/h");
    EXPECT_EQ(live.alarmStatus, "Alarm ausgelöst");
    EXPECT_EQ(live.regenStatus, " Kein Regen");
    EXPECT_EQ(live.luxCurrent, "250");
    EXPECT_EQ(live.luxMean, "180");
    EXPECT_EQ(live.relFeuchte, "55 %");
    EXPECT_EQ(f.followUps, QList<FollowUp>{FollowUp::LiveValues});

    f.session.flags.ShadingFamily = true;
    f.feed("skd", "300,999,0,0,0,999,0,0,0,0,0,0,1,9,0,0,");
    EXPECT_EQ(f.panel(StatusModel::Sun), "Sonne: 300");
    EXPECT_EQ(f.panel(StatusModel::WindPanel), "Wind: 9");
    EXPECT_EQ(f.panel(StatusModel::InsideTemp), "IT: 21,5°"); // no sensor: the last reading stays
    EXPECT_EQ(f.panel(StatusModel::OutsideTemp), "AT: -3,5°");
    EXPECT_EQ(live.insideActual, "    -");
    EXPECT_EQ(live.outsideMin, "  -");
    EXPECT_EQ(live.alarmStatus, "   Kein Alarm");
    EXPECT_EQ(live.regenStatus, " Es regnet");
    EXPECT_EQ(live.relFeuchte, " - ");
}

TEST(ReceiveRecords, LogbookTimeSignalAndUnknownTags)
{
    ReceiveFixture f;
    f.feed("sld", "3,2,1,7,12,0,6,30,1,63,");
    EXPECT_EQ(f.panel(StatusModel::Activity), "Logbuch Daten");
    EXPECT_EQ(f.panel(StatusModel::Error), "LoBuFe 2");
    f.feed("slf", "9999,0,0,0,0,0,0,0,0,9999,");
    EXPECT_EQ(f.panel(StatusModel::Activity), "Save Logbuch to Disk");
    EXPECT_EQ(f.handled.size(), 2);
    EXPECT_EQ(f.handled[0].second, "3,2,1,7,12,0,6,30,1,63,"); // listeners get the whole payload

    int ended = 0;
    QObject::connect(&f.session, &Session::timeSignalEnded, [&] { ++ended; });
    f.feed("sts", "");
    EXPECT_EQ(ended, 1);

    const ConfigStore before = f.store;
    f.feed("sbp", "1,0,1x2,10,20,244,10,407,");
    EXPECT_EQ(f.panel(StatusModel::Error), "Fehler Wert sbp");
    f.feed("qqq", "1,2,3,");
    EXPECT_EQ(f.panel(StatusModel::LastFrame), "qqq  1,2,3,");
    EXPECT_TRUE(f.store == before);
    EXPECT_EQ(f.handled.size(), 5);
}

} // namespace
} // namespace vandorelle::test
