#include "config/store_samples.h"
#include "protocol/pc_records.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vandorelle;

namespace {

// The values of a record, its tag left out, as the controller's comma form.
QString valuesOf(const PcRecord &record)
{
    QString out;
    for (qsizetype i = 1; i < record.size(); ++i) {
        EXPECT_TRUE(record[i].endsWith(QLatin1Char('\r'))) << record[i].toStdString();
        out += record[i].chopped(1) + QLatin1Char(',');
    }
    return out;
}

PcRecord pieces(std::initializer_list<const char *> texts)
{
    PcRecord r;
    for (const char *t : texts)
        r << QString::fromLatin1(t);
    return r;
}

} // namespace

TEST(PcRecords, MotorRecordsOfStartValuesCarryTheControllersExampleValues)
{
    // The PC writes the same values and check as the controller's frames of the start values.
    const ConfigStore store;
    struct Case {
        MotorTable table;
        const char *tag;
        const char *values;
    };
    const Case cases[] = {
        {MotorTable::Beschattung, " rbp", "1,0,122,10,20,244,10,407,"},
        {MotorTable::DaemmerungMorgen, " rdm", "1,0,8,110,40,159,"},
        {MotorTable::DaemmerungAbend, " rda", "1,0,19,110,40,170,"},
        {MotorTable::Wind, " rwp", "1,0,30,31,"},
        {MotorTable::Regen, " rrp", "1,0,1,2,"},
        {MotorTable::Reversierung, " rjp", "1,0,4,6,11,"},
        {MotorTable::TastAutomatik, " rta ", "1,0,22,23,"},
        {MotorTable::ProportionaleTemperatursteuerung, " rpp", "1,0,10,22,123,1,3,40,6,206,"},
        {MotorTable::InnenTemperatursteuerung, " rip", "1,0,1,122,1,120,40,8,21,314,"},
        {MotorTable::HeizungsSteuerung, " rhp", "1,0,1,1,170,140,313,"},
        {MotorTable::FeuchtigkeitsSteuerung, " rfp", "1,0,1,76,66,40,8,21,213,"},
        {MotorTable::AussenTemperatursteuerung, " rap", "1,0,102,0,105,40,248,"},
    };
    for (const Case &c : cases) {
        const PcRecord r = pc::motorRecord(c.table, store, 1, false);
        EXPECT_EQ(r.first(), QString::fromLatin1(c.tag));
        EXPECT_EQ(valuesOf(r), QString::fromLatin1(c.values)) << c.tag;
    }
    EXPECT_EQ(pc::motorRecord(MotorTable::Beschattung, store, 1, false),
              pieces({" rbp", "1\r", "0\r", "122\r", "10\r", "20\r", "244\r", "10\r", "407\r"}));
    // The motor number counts into the check.
    EXPECT_EQ(valuesOf(pc::motorRecord(MotorTable::Wind, store, 32, false)), QStringLiteral("32,0,30,62,"));
}

TEST(PcRecords, FlagsAndThreeWayDirection)
{
    ConfigStore store;
    store.Regen[0].EinAus = 0;   // on -> 1
    store.Regen[0].Richtung = 1; // down -> 0
    EXPECT_EQ(valuesOf(pc::motorRecord(MotorTable::Regen, store, 1, false)), QStringLiteral("1,1,0,2,"));
    store.Regen[0].Richtung = 7; // anything but code 1 is the first choice on the wire
    EXPECT_EQ(valuesOf(pc::motorRecord(MotorTable::Regen, store, 1, false)), QStringLiteral("1,1,1,3,"));

    store.AussenTemperatursteuerung[0].Richtung = 0; // up
    EXPECT_EQ(valuesOf(pc::motorRecord(MotorTable::AussenTemperatursteuerung, store, 1, false)),
              QStringLiteral("1,0,102,1,105,40,249,"));
    store.AussenTemperatursteuerung[0].Richtung = 2; // deactivated: 2 on the wire, 2 more in the check
    EXPECT_EQ(pc::motorRecord(MotorTable::AussenTemperatursteuerung, store, 1, false),
              pieces({" rap", "1\r", "0\r", "102\r", "2\r", "105\r", "40\r", "250\r"}));
}

TEST(PcRecords, PushButtonDurationWithAndWithoutRadioVariant)
{
    const ConfigStore store; // code 21
    EXPECT_EQ(pc::motorRecord(MotorTable::TastAutomatik, store, 1, false),
              pieces({" rta ", "1\r", "0\r", "22\r", "23\r"}));
    EXPECT_EQ(pc::motorRecord(MotorTable::TastAutomatik, store, 1, true),
              pieces({" rta ", "1\r", "0\r", "70\r", "71\r"}));
}

TEST(PcRecords, MotorNamesArePaddedAndCutToTwelveCharacters)
{
    ConfigStore store;
    EXPECT_EQ(pc::motorName(store, 1), pieces({" rmn", "1\r", "Motor 1     \r", "Motor 1     \r"}));
    store.MotorNamen[31] = QStringLiteral("Wohnzimmer links");
    EXPECT_EQ(pc::motorName(store, 32), pieces({" rmn", "32\r", "Wohnzimmer l\r", "Wohnzimmer l\r"}));
    store.MotorNamen[2] = QString();
    EXPECT_EQ(pc::motorName(store, 3)[2], QStringLiteral("            \r"));
    // Length counts characters, not encoded bytes.
    store.MotorNamen[3] = QStringLiteral("Küche Süd-Ost Fenster");
    EXPECT_EQ(pc::motorName(store, 4)[2], QStringLiteral("Küche Süd-Os\r"));
}

TEST(PcRecords, GlobalParametersRepeatTheirValueAsCheck)
{
    ConfigStore store;
    EXPECT_EQ(pc::outsideOffset(store), pieces({" roa", "100\r", "100\r"}));
    EXPECT_EQ(pc::insideOffset(store), pieces({" roi", "100\r", "100\r"}));
    EXPECT_EQ(pc::heatingHysteresis(store), pieces({" rhh", "3\r", "3\r"}));
    EXPECT_EQ(pc::shadingHysteresis(store), pieces({" rbh", "10\r", "10\r"}));
    store.SoftGZS = true;
    EXPECT_EQ(pc::shadingHysteresis(store), pieces({" rbh", "138\r", "138\r"}));
    EXPECT_EQ(pc::randomSpan(28), pieces({" rzz", "30\r", "30\r"}));
}

TEST(PcRecords, MasksAreUnsignedWithConstantCheck)
{
    ConfigStore store;
    store.AlarmPattern[0] = 0; // motor 1 up
    store.AlarmPattern[1] = 2; // motor 2 down
    EXPECT_EQ(pc::alarmPattern(store), pieces({" ras", "1\r", "2\r", "22\r"}));
    store.AlarmPattern[31] = 0;
    EXPECT_EQ(pc::alarmPattern(store)[1], QStringLiteral("2147483649\r"));

    EXPECT_EQ(pc::groupControl(store), pieces({" rgz", "0\r", "0\r", "0\r", "0\r", "22\r"}));
    store.GruppenZentralsteuerung[3][0] = 0x80; // motor 32 in group 1
    store.GruppenZentralsteuerung[0][0] = 0x01; // motor 1 in group 1
    store.GruppenZentralsteuerung[1][3] = 0x02; // motor 10 in group 4
    store.GruppenZentralsteuerung[2][1] = 0xFF; // motors 17..24 in group 2
    EXPECT_EQ(pc::groupControl(store),
              pieces({" rgz", "2147483649\r", "16711680\r", "0\r", "512\r", "22\r"}));
    store.GruppenZentralsteuerung[0][2] = 0x1FF; // not a bank mask: no spill into bank 2
    EXPECT_EQ(pc::groupControl(store)[3], QStringLiteral("255\r"));
}

TEST(PcRecords, ScheduleEntryAndItsReducedCheck)
{
    SchaltzeitEntry e{.Richtung = 0, .Zeit = timeCode(7, 30), .Dauer = 39, .Gruppe = 5, .Funktion = 0};
    EXPECT_EQ(pc::scheduleEntry(e, 1, 3, 1),
              pieces({" rfs", "1\r", "3\r", "1\r", "1\r", "7\r", "30\r", "39\r", "5\r", "0\r", "87\r"}));

    SchaltzeitEntry late{.Richtung = 1, .Zeit = timeCode(23, 59), .Dauer = 126, .Gruppe = 1, .Funktion = 2};
    EXPECT_EQ(valuesOf(pc::scheduleEntry(late, 7, 32, 8)), QStringLiteral("7,32,8,0,23,59,126,1,2,2,"));

    SchaltzeitEntry midnight{.Richtung = 0, .Zeit = timeCode(0, 0), .Dauer = 0, .Gruppe = 1, .Funktion = 0};
    EXPECT_EQ(valuesOf(pc::scheduleEntry(midnight, 1, 1, 1)), QStringLiteral("1,1,1,1,0,0,0,1,0,5,"));

    EXPECT_EQ(pc::reducedScheduleCheck(255), 255);
    EXPECT_EQ(pc::reducedScheduleCheck(256), 0);
    EXPECT_EQ(pc::reducedScheduleCheck(511), 255);
    EXPECT_EQ(pc::reducedScheduleCheck(600), 88);
    EXPECT_EQ(pc::reducedScheduleCheck(800), 288); // taken off twice only
}

TEST(PcRecords, ScheduleMarkers)
{
    EXPECT_EQ(pc::scheduleInitialise(),
              pieces({" rfs", "0\r", "1\r", "1\r", "0\r", "24\r", "0\r", "40\r", "1\r", "0\r", "67\r"}));
    EXPECT_EQ(pc::scheduleDayEnd(),
              pieces({" rfs", "255\r", "0\r", "0\r", "0\r", "0\r", "0\r", "0\r", "0\r", "0\r", "255\r"}));
    EXPECT_EQ(pc::scheduleEnd(),
              pieces({" rfs", "8\r", "0\r", "0\r", "0\r", "0\r", "0\r", "0\r", "0\r", "0\r", "8\r"}));
}

// The controller reads every value and check as a signed 32-bit decimal, the two masks as
// unsigned ones: no record may leave those ranges, whatever the codes within their fields'.
TEST(PcRecords, EveryRecordWithEveryFieldAtAnEndOfItsRangeFitsTheWire)
{
    for (const bool last : {false, true}) {
        SCOPED_TRACE(last ? "last" : "first");
        const ConfigStore s = vandorelle::testing::storeAtRangeEnds(last);
        QList<PcRecord> summed;
        for (int t = 0; t < kMotorTableCount; ++t) {
            for (const int motor : {1, 32}) {
                for (const bool radio : {false, true})
                    summed << pc::motorRecord(MotorTable(t), s, motor, radio);
            }
        }
        QList<PcRecord> others{pc::outsideOffset(s), pc::insideOffset(s), pc::heatingHysteresis(s),
                               pc::shadingHysteresis(s), pc::randomSpan(s.Parameter.ZufallsZeitspanne),
                               pc::scheduleInitialise(), pc::scheduleDayEnd(), pc::scheduleEnd()};
        for (int day = 1; day <= kWeekdays; ++day)
            others << pc::scheduleEntry(s.entry(day, 32, 8), day, 32, 8);
        others << pc::motorName(s, 32).mid(0, 2); // its number; the name is text

        auto number = [](const QString &piece) {
            bool ok = false;
            const qint64 v = piece.chopped(1).toLongLong(&ok);
            EXPECT_TRUE(ok && piece.endsWith(QLatin1Char('\r'))) << piece.toStdString();
            return v;
        };
        auto fitsSigned = [](qint64 v) {
            return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
        };
        for (const PcRecord &r : summed + others) {
            qint64 sum = 0;
            for (qsizetype i = 1; i < r.size(); ++i) {
                EXPECT_TRUE(fitsSigned(number(r[i]))) << r.join(' ').toStdString();
                if (i + 1 < r.size())
                    sum += number(r[i]);
            }
            if (summed.contains(r)) {
                EXPECT_EQ(number(r.last()), sum) << r.join(' ').toStdString();
            }
        }
        for (const PcRecord &r : {pc::alarmPattern(s), pc::groupControl(s)}) {
            for (qsizetype i = 1; i < r.size(); ++i)
                EXPECT_TRUE(number(r[i]) >= 0 && number(r[i]) <= std::numeric_limits<uint32_t>::max());
        }
    }
}
