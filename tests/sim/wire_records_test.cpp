#include "sim/global_records.h"
#include "sim/motor_records.h"
#include "sim/wire_decode.h"
#include "sim/wire_encode.h"

#include <gtest/gtest.h>

#include <random>

using namespace vandorelle;
using namespace vandorelle::sim;

namespace {

QByteArray motorOnePayload(const char *readTag, const ConfigStore &store, bool tastFunk = false)
{
    return valueList(motorRecordValues(*layoutForReadTag(readTag), store, 1, tastFunk));
}

Values values(std::initializer_list<int64_t> list) { return Values(list); }

} // namespace

TEST(SimWireEncode, StartValuesGiveTheKnownFrames)
{
    const ConfigStore store;
    const std::pair<const char *, const char *> expected[] = {
        {"sbp", "1,0,122,10,20,244,10,407,"},
        {"sdm", "1,0,8,110,40,159,"},
        {"sda", "1,0,19,110,40,170,"},
        {"swp", "1,0,30,31,"},
        {"srp", "1,0,1,2,"},
        {"sjp", "1,0,4,6,11,"},
        {"sta", "1,0,22,23,"},
        {"spp", "1,0,10,22,123,1,3,40,6,206,"},
        {"sip", "1,0,1,122,1,120,40,8,21,314,"},
        {"shp", "1,0,1,1,170,140,313,"},
        {"sfp", "1,0,1,76,66,40,8,21,213,"},
        {"sap", "1,0,102,0,105,40,248,"},
    };
    for (const auto &[tag, payload] : expected) EXPECT_EQ(motorOnePayload(tag, store), payload) << tag;
    EXPECT_EQ(motorOnePayload("sta", store, true), "1,0,70,71,");
    EXPECT_EQ(frame("swp", "1,0,30,31,"), "start_swp1,0,30,31,ende_");
    // The motor number and the check value move with the motor.
    EXPECT_EQ(valueList(motorRecordValues(*layoutForReadTag("swp"), store, 32, false)), "32,0,30,62,");
}

TEST(SimWireEncode, GlobalNamesAlarmAndGroups)
{
    ConfigStore store;
    const std::pair<const char *, int64_t> globals[] = {
        {"szz", 30}, {"sbh", 10}, {"soa", 100}, {"soi", 100}, {"shh", 3}};
    for (const auto &[tag, wire] : globals) EXPECT_EQ(globalLayoutForReadTag(tag)->encode(store), wire) << tag;
    store.SoftGZS = true;
    store.Parameter.BeschattungsHysterese = 6;
    EXPECT_EQ(globalLayoutForReadTag("sbh")->encode(store), 136);

    EXPECT_EQ(namePayload(store, 1), "01,Motor 1");
    store.MotorNamen[10] = QStringLiteral("Küche €");
    EXPECT_EQ(namePayload(store, 11), "11,K\xfc" "che \x80");

    EXPECT_EQ(valueList(alarmValues(store)), "0,0,");
    store.AlarmPattern[0] = 0;
    store.AlarmPattern[1] = 2;
    EXPECT_EQ(valueList(alarmValues(store)), "1,2,");
    store.AlarmPattern[31] = 0; // bit 31 goes out negative, the only form the tool reads
    EXPECT_EQ(valueList(alarmValues(store)), "-2147483647,2,");

    store.GruppenZentralsteuerung[3][0] = 0x80; // motor 32 in group 1
    store.GruppenZentralsteuerung[1][1] = 0x01; // motor 9 in group 2
    EXPECT_EQ(valueList(groupValues(store)), "-2147483648,256,0,0,");
}

TEST(SimWireEncode, ScheduleSendsGroupEntriesOnceFromTheirFirstDay)
{
    ConfigStore store;
    EXPECT_TRUE(scheduleEntries(store).empty());

    SchaltzeitEntry weekdays{0, timeCode(7, 30), 39, 5, 0, 1};
    for (int day = 1; day <= 5; ++day) store.entry(day, 3, 1) = weekdays;
    SchaltzeitEntry weekend{1, timeCode(21, 5), 12, 2, 2, 1};
    store.entry(6, 1, 2) = weekend;
    store.entry(7, 1, 2) = weekend;
    SchaltzeitEntry single{1, timeCode(23, 59), 126, 1, 2, 1};
    store.entry(7, 32, 8) = single;

    const auto records = scheduleEntries(store);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(valueList(records[0]), "1,2,1,1,7,30,39,5,0,86,");
    EXPECT_EQ(valueList(records[1]), "6,0,2,0,21,5,12,2,2,50,");
    EXPECT_EQ(valueList(records[2]), "7,31,8,0,23,59,126,1,2,257,"); // no modulo towards the PC
    EXPECT_EQ(valueList(scheduleStartMarker()), "0,0,0,0,0,0,0,0,0,0,");
    EXPECT_EQ(valueList(scheduleEndMarker()), "255,0,0,0,0,0,0,0,0,255,");
}

TEST(SimWireDecode, ToolRecordsGiveBackTheirValues)
{
    ConfigStore store;
    store.Beschattung[0] = BeschattungRecord{0, 1, 2, 3, 4, 5, 0};
    EXPECT_EQ(applyMotorRecord(*layoutForWriteTag("rbp"), values({1, 0, 122, 10, 20, 244, 10, 407}), store, false),
              ApplyResult::Applied);
    EXPECT_EQ(store.Beschattung[0], (BeschattungRecord{1, 32, 5, 15, 144, 9, 0}));

    EXPECT_EQ(applyMotorRecord(*layoutForWriteTag("rta"), values({1, 0, 22, 23}), store, false), ApplyResult::Applied);
    EXPECT_EQ(store.TastAutomatik[0].Dauer, 21);
    EXPECT_EQ(applyMotorRecord(*layoutForWriteTag("rta"), values({2, 0, 70, 72}), store, true), ApplyResult::Applied);
    EXPECT_EQ(store.TastAutomatik[1].Dauer, 21);
    EXPECT_EQ(applyMotorRecord(*layoutForWriteTag("rta"), values({3, 0, 30, 33}), store, true), ApplyResult::Applied);
    EXPECT_EQ(store.TastAutomatik[2].Dauer, 29); // below 48 nothing is taken off

    EXPECT_EQ(applyMotorRecord(*layoutForWriteTag("rap"), values({1, 0, 102, 2, 105, 40, 250}), store, false),
              ApplyResult::Applied);
    EXPECT_EQ(store.AussenTemperatursteuerung[0].Richtung, 2);
    EXPECT_EQ(applyMotorRecord(*layoutForWriteTag("rwp"), values({4, 0, 35, 39}), store, false), ApplyResult::Applied);
    EXPECT_EQ(store.Wind[3].Geschwindigkeit, 6);

    ASSERT_EQ(applyGlobalRecord(*globalLayoutForWriteTag("rbh"), values({138, 138}), store), ApplyResult::Applied);
    EXPECT_TRUE(store.SoftGZS);
    EXPECT_EQ(store.Parameter.BeschattungsHysterese, 8);
    ASSERT_EQ(applyGlobalRecord(*globalLayoutForWriteTag("rbh"), values({12, 12}), store), ApplyResult::Applied);
    EXPECT_FALSE(store.SoftGZS);
    EXPECT_EQ(applyGlobalRecord(*globalLayoutForWriteTag("roa"), values({97, 97}), store), ApplyResult::Applied);
    EXPECT_EQ(store.Parameter.Offset_AT, 2);
}

TEST(SimWireDecode, ScheduleRecordsSpreadOverTheirWeekdays)
{
    ConfigStore store;
    ASSERT_EQ(applyScheduleEntry(values({1, 3, 1, 1, 7, 30, 39, 5, 0, 87}), store), ApplyResult::Applied);
    for (int day = 1; day <= 5; ++day) {
        const auto &e = store.entry(day, 3, 1);
        EXPECT_EQ(e.Zeit, timeCode(7, 30)) << day;
        EXPECT_EQ(e.Richtung, 0);
        EXPECT_EQ(e.Gruppe, 5);
    }
    EXPECT_FALSE(store.entry(6, 3, 1).inUse());

    // Group 7 sent with any weekday covers the whole week.
    ASSERT_EQ(applyScheduleEntry(values({3, 1, 2, 0, 18, 0, 39, 7, 1, 71}), store), ApplyResult::Applied);
    for (int day = 1; day <= 7; ++day) EXPECT_EQ(store.entry(day, 1, 2).Funktion, 1) << day;

    // The check value loses 256 once the sum passes 255.
    EXPECT_EQ(applyScheduleEntry(values({7, 32, 8, 0, 23, 59, 126, 1, 2, 2}), store), ApplyResult::Applied);
    EXPECT_EQ(store.entry(7, 32, 8).Zeit, 1440);
    EXPECT_EQ(store.entry(7, 32, 8).Richtung, 1);
    EXPECT_EQ(applyScheduleEntry(values({7, 32, 7, 0, 23, 59, 126, 1, 2, 257}), store), ApplyResult::BadCheck);
    EXPECT_FALSE(store.entry(7, 32, 7).inUse());

    // Nothing is stored for a group without weekdays or a motor that does not exist.
    EXPECT_EQ(applyScheduleEntry(values({1, 4, 1, 1, 7, 0, 39, 3, 0, 56}), store), ApplyResult::BadValue);
    EXPECT_EQ(applyScheduleEntry(values({1, 33, 1, 1, 7, 0, 39, 1, 0, 83}), store), ApplyResult::BadValue);
    EXPECT_FALSE(store.entry(1, 4, 1).inUse());

    wipeSchedule(store);
    for (const auto &e : store.Schaltzeit) EXPECT_FALSE(e.inUse());
}

TEST(SimWireDecode, NamesMasksAndChecks)
{
    ConfigStore store;
    EXPECT_EQ(applyNameRecord({"1", "Wohnzimmer  ", "Wohnzimmer  "}, store), ApplyResult::Applied);
    EXPECT_EQ(store.MotorNamen[0], QStringLiteral("Wohnzimmer"));
    EXPECT_EQ(applyNameRecord({"2", "K\xfc" "che       ", "K\xfc" "che       "}, store), ApplyResult::Applied);
    EXPECT_EQ(store.MotorNamen[1], QStringLiteral("Küche"));
    EXPECT_EQ(applyNameRecord({"3", "Bad         ", "Bad        x"}, store), ApplyResult::BadCheck);
    EXPECT_EQ(applyNameRecord({"33", "Bad         ", "Bad         "}, store), ApplyResult::BadValue);
    EXPECT_EQ(store.MotorNamen[2], QStringLiteral("Motor 3"));

    ASSERT_EQ(applyAlarmRecord(values({1, 2, 22}), store), ApplyResult::Applied);
    EXPECT_EQ(store.AlarmPattern[0], 0);
    EXPECT_EQ(store.AlarmPattern[1], 2);
    EXPECT_EQ(store.AlarmPattern[2], 1);
    ASSERT_EQ(applyAlarmRecord(values({1, 1, 22}), store), ApplyResult::Applied);
    EXPECT_EQ(store.AlarmPattern[0], 2); // down wins
    EXPECT_EQ(applyAlarmRecord(values({0, 0, 23}), store), ApplyResult::BadCheck);
    EXPECT_EQ(store.AlarmPattern[0], 2);

    // The PC writes masks unsigned; motor 32 lifts a value past 2^31.
    ASSERT_EQ(applyGroupRecord(values({2147483648LL, 4294967295LL, 0, 1, 22}), store), ApplyResult::Applied);
    EXPECT_EQ(store.GruppenZentralsteuerung[3][0], 0x80);
    EXPECT_EQ(store.GruppenZentralsteuerung[0][0], 0);
    for (int b = 0; b < kBanks; ++b) EXPECT_EQ(store.GruppenZentralsteuerung[b][1], 0xFF);
    EXPECT_EQ(store.GruppenZentralsteuerung[0][3], 1);
    EXPECT_EQ(applyGroupRecord(values({4294967296LL, 0, 0, 0, 22}), store), ApplyResult::BadValue);

    EXPECT_EQ(parseNumber(" 42 "), 42);
    EXPECT_EQ(parseNumber("-5"), -5);
    EXPECT_EQ(parseNumber("4294967295"), 4294967295LL);
    EXPECT_FALSE(parseNumber("4x"));
    EXPECT_FALSE(parseNumber(""));
}

// Whatever the controller reports for a code, a PC record with that report must store
// the same code again: catches any field whose two directions disagree.
TEST(SimWireRoundTrip, EveryPerMotorFieldSurvivesBothDirections)
{
    std::mt19937 rng(11);
    for (bool tastFunk : {false, true}) {
        for (const auto &layout : motorRecordLayouts()) {
            for (int round = 0; round < 50; ++round) {
                ConfigStore original;
                const int motor = std::uniform_int_distribution<int>(1, kMotors)(rng);
                for (const FieldRule &rule : layout.fields) {
                    int hi = 150;
                    if (rule.rule == WireRule::Flag || rule.rule == WireRule::HeatingMode) hi = 1;
                    if (rule.rule == WireRule::OutsideDirection) hi = 2;
                    rule.field(original, motor - 1) = std::uniform_int_distribution<int>(0, hi)(rng);
                }
                ConfigStore copy;
                const Values wire = motorRecordValues(layout, original, motor, tastFunk);
                ASSERT_EQ(applyMotorRecord(layout, wire, copy, tastFunk), ApplyResult::Applied) << layout.readTag;
                for (const FieldRule &rule : layout.fields)
                    EXPECT_EQ(rule.field(copy, motor - 1), rule.field(original, motor - 1))
                        << layout.readTag << ' ' << rule.name;
            }
        }
    }
}
