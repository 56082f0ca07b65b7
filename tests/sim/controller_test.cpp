#include "sim/controller.h"
#include "sim/global_records.h"
#include "sim/receive_buffer.h"
#include "sim/wire_encode.h"
#include "support/emulator.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace vandorelle;
using namespace vandorelle::sim;
using vandorelle::test::payloadValues;
using vandorelle::test::sumCheckHolds;

namespace {

struct Frame {
    QByteArray tag;
    QByteArray payload;
};

Frame splitFrame(const QByteArray &bytes)
{
    EXPECT_TRUE(bytes.startsWith("start_") && bytes.endsWith("ende_")) << bytes.constData();
    return {bytes.mid(6, 3), bytes.mid(9, bytes.size() - 14)};
}

// The controller with a wall clock the test turns by hand.
class SimControllerTest : public ::testing::Test {
protected:
    QDateTime wall{QDate(2026, 12, 7), QTime(12, 0, 30)};
    qint64 nowMs = 0;
    std::vector<Frame> frames;
    std::unique_ptr<EmulatedController> sim;

    void create(ControllerSettings settings = {})
    {
        settings.seed = 5;
        sim = std::make_unique<EmulatedController>(
            settings, [this](const QByteArray &f) { frames.push_back(splitFrame(f)); },
            [this] { return wall; }, nowMs);
    }
    void SetUp() override { create(); }

    std::vector<Frame> ask(const QByteArray &bytes)
    {
        frames.clear();
        sim->receive(bytes, nowMs);
        return frames;
    }
    // A PC record the way the tool writes it: the tag, then each value with "\r".
    std::vector<Frame> record(const QByteArray &tag, const Values &values)
    {
        frames.clear();
        sim->receive(tag, nowMs);
        for (int64_t v : values) sim->receive(QByteArray::number(qlonglong(v)) + '\r', nowMs);
        return frames;
    }
    void pass(qint64 ms)
    {
        nowMs += ms;
        wall = wall.addMSecs(ms);
        sim->tick(nowMs);
    }
};

// The schedule record as the PC writes it: motor 1-based, check reduced below 256.
Values pcSchedule(int day, int motor, int number, const SchaltzeitEntry &e)
{
    Values v{day, motor, number, e.Richtung == 0 ? 1 : 0, hourOf(e.Zeit), minuteOf(e.Zeit), e.Dauer, e.Gruppe,
             e.Funktion};
    int64_t sum = 0;
    for (int64_t x : v) sum += x;
    while (sum > 255) sum -= 256;
    v.push_back(sum);
    return v;
}

std::vector<QByteArray> tagsOf(const std::vector<Frame> &frames)
{
    std::vector<QByteArray> tags;
    for (const auto &f : frames) tags.push_back(f.tag);
    return tags;
}

} // namespace

TEST_F(SimControllerTest, PollAnswers)
{
    const auto answers = ask("sfi\rsdt\rsti\rskd\rsmo\r");
    ASSERT_EQ(answers.size(), 5u);
    EXPECT_EQ(answers[0].payload, "7.090");
    EXPECT_EQ(answers[1].payload, "07.12.26");
    EXPECT_EQ(answers[2].payload, "12:00");
    EXPECT_EQ(payloadValues(answers[3].payload).size(), 16u);
    EXPECT_EQ(answers[4].payload, kDefaultModel);
    // Every family and feature: conservatory, 32 motors, sun protection, push-button, groups.
    EXPECT_EQ(kDefaultModel.mid(8, 1), "W");
    EXPECT_EQ(kDefaultModel.mid(12, 4), "9STG");
}

TEST_F(SimControllerTest, ClockWithoutTimeSignalUntilOneIsReceived)
{
    ControllerSettings settings;
    settings.clockSet = false;
    create(settings);
    pass(61000);
    EXPECT_EQ(ask("sdt\r")[0].payload, "01.01.00");
    EXPECT_EQ(ask("sti\r")[0].payload, "00:01");

    EXPECT_TRUE(ask(" sdr").empty());
    EXPECT_EQ(ask(" sti sds").size(), 2u);
    pass(1000);
    EXPECT_TRUE(frames.empty() || frames.back().tag != "sts");
    frames.clear();
    pass(EmulatedController::kTimeSignalMs);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].tag, "sts");
    EXPECT_EQ(ask("sdt\r")[0].payload, "07.12.26");
}

TEST_F(SimControllerTest, ReadBurstAnswersEveryRequestWithValidChecks)
{
    sim->store().entry(2, 5, 3) = SchaltzeitEntry{1, timeCode(6, 15), 39, 1, 0, 1};
    const auto answers = ask("sbpsdmsdaswpsrpsjpsoasassgzsppsipshpsfpsapsspsoishhstasmnszzsbhsfs");
    // 12 per-motor requests x 32, 8 one-frame answers, 32 names, schedule start, one entry, end.
    ASSERT_EQ(answers.size(), 12u * 32 + 8 + 32 + 3);
    const QList<QByteArray> unchecked{"smn", "soa", "sas", "sgz", "ssp", "soi", "shh", "szz", "sbh"};
    int checked = 0;
    for (const auto &f : answers) {
        if (unchecked.contains(f.tag)) continue;
        EXPECT_TRUE(sumCheckHolds(f.payload)) << f.tag.constData() << ' ' << f.payload.constData();
        ++checked;
    }
    EXPECT_EQ(checked, 12 * 32 + 3);
    EXPECT_EQ(answers.back().payload, "255,0,0,0,0,0,0,0,0,255,");
    EXPECT_EQ(answers[answers.size() - 2].payload, "2,4,3,0,6,15,39,1,0,70,");
    EXPECT_EQ(answers[answers.size() - 3].payload, "0,0,0,0,0,0,0,0,0,0,");
}

TEST_F(SimControllerTest, AcknowledgesOnlyWhereABatchEnds)
{
    auto acks = [](const std::vector<Frame> &fs) {
        int n = 0;
        for (const auto &f : fs) n += f.tag == "stc" && f.payload == "0,";
        return n;
    };
    EXPECT_EQ(acks(record(" rfs", {0, 1, 1, 0, 24, 0, 40, 1, 0, 67})), 1);
    const SchaltzeitEntry entry{0, timeCode(7, 0), 39, 5, 0, 0};
    EXPECT_EQ(acks(record(" rfs", pcSchedule(1, 2, 1, entry))), 0);
    EXPECT_EQ(acks(record(" rfs", {255, 0, 0, 0, 0, 0, 0, 0, 0, 255})), 1);
    EXPECT_EQ(acks(record(" rfs", {8, 0, 0, 0, 0, 0, 0, 0, 0, 8})), 1);

    EXPECT_EQ(acks(record(" rmn", {31})) + acks(ask("Motor 31    \rMotor 31    \r")), 0);
    EXPECT_EQ(acks(record(" rmn", {32})) + acks(ask("Garage      \rGarage      \r")), 1);
    EXPECT_EQ(acks(record(" rjp", {5, 1, 10, 12, 28})), 0);
    EXPECT_EQ(acks(record(" rjp", {32, 0, 4, 6, 42})), 1);
    for (const char *tag : {" roa", " roi", " rhh", " rbh", " rzz"})
        EXPECT_EQ(acks(record(tag, {100, 100})), 1) << tag;
    EXPECT_EQ(acks(record(" ras", {1, 2, 22})), 1);
    EXPECT_EQ(acks(record(" rgz", {1, 2, 3, 4, 22})), 1);
    EXPECT_EQ(acks(ask(" rhi\r rhb3\rdown\r123\r + sti\r rhe\r")), 0); // manual control is no batch

    EXPECT_EQ(sim->store().entry(5, 2, 1).Zeit, timeCode(7, 0));
    EXPECT_EQ(sim->store().MotorNamen[31], QStringLiteral("Garage"));
    EXPECT_EQ(sim->store().Reversierung[4].Bei_Auf, 10);
}

TEST_F(SimControllerTest, RefusedBatchLeavesTheConfigurationAsItWas)
{
    auto ack = [](const std::vector<Frame> &fs) { return fs.empty() ? QByteArray() : fs.back().payload; };
    const auto shading = motorRecordLayouts().front();
    ConfigStore wanted;
    for (auto &b : wanted.Beschattung) b.Temperatur = 40;
    auto sendShading = [&](int spoiledMotor) {
        std::vector<Frame> answers;
        for (int m = 1; m <= kMotors; ++m) {
            Values v = motorRecordValues(shading, wanted, m, false);
            if (m == spoiledMotor) v.back() += 1;
            answers = record(" rbp", v);
        }
        return answers;
    };
    // One bad record refuses the batch: the good records before and after it are not kept.
    EXPECT_EQ(ack(sendShading(5)), "1,");
    EXPECT_EQ(sim->store().Beschattung[0].Temperatur, ConfigStore{}.Beschattung[0].Temperatur);
    EXPECT_EQ(sim->store().Beschattung[31].Temperatur, ConfigStore{}.Beschattung[31].Temperatur);
    EXPECT_EQ(ack(sendShading(0)), "0,");
    EXPECT_TRUE(sim->store().Beschattung == wanted.Beschattung);

    // A batch never finished is dropped when another kind begins.
    record(" rdm", {1, 1, 5, 3, 4, 14});
    EXPECT_EQ(ack(record(" rwp", {32, 0, 50, 82})), "0,");
    EXPECT_EQ(sim->store().DaemmerungMorgen[0].Von, ConfigStore{}.DaemmerungMorgen[0].Von);
    EXPECT_EQ(sim->store().Wind[31].Geschwindigkeit, 9);

    // Schedule: a refused wipe wipes nothing; a refused weekday stays as the wipe left it,
    // also on the days its group entries would have reached.
    const SchaltzeitEntry early{0, timeCode(6, 0), 39, 1, 0, 0};
    sim->store().entry(3, 1, 1) = early;
    EXPECT_EQ(ack(record(" rfs", {0, 1, 1, 0, 24, 0, 40, 1, 0, 68})), "1,");
    EXPECT_TRUE(sim->store().entry(3, 1, 1) == early);
    EXPECT_EQ(ack(record(" rfs", {0, 1, 1, 0, 24, 0, 40, 1, 0, 67})), "0,");
    EXPECT_FALSE(sim->store().entry(3, 1, 1).inUse());

    const SchaltzeitEntry weekdays{0, timeCode(7, 0), 39, 5, 0, 0};
    const SchaltzeitEntry noGroup{0, timeCode(8, 0), 39, 3, 0, 0};
    const SchaltzeitEntry tuesday{1, timeCode(9, 0), 39, 1, 0, 0};
    record(" rfs", pcSchedule(1, 2, 1, weekdays));
    record(" rfs", pcSchedule(1, 2, 2, noGroup));
    EXPECT_EQ(ack(record(" rfs", {255, 0, 0, 0, 0, 0, 0, 0, 0, 255})), "1,");
    record(" rfs", pcSchedule(2, 4, 1, tuesday));
    EXPECT_EQ(ack(record(" rfs", {255, 0, 0, 0, 0, 0, 0, 0, 0, 255})), "0,");
    for (int day = 1; day <= kWeekdays; ++day)
        EXPECT_FALSE(sim->store().entry(day, 2, 1).inUse()) << day;
    EXPECT_TRUE(sim->store().entry(2, 4, 1) == tuesday);

    // A refusal by fault discards a sound record as well; sent again, it is taken.
    ControllerSettings settings;
    settings.faults.badAckEvery = 2;
    create(settings);
    EXPECT_EQ(ack(record(" rzz", {30, 30})), "0,");
    EXPECT_EQ(ack(record(" rzz", {50, 50})), "1,");
    EXPECT_EQ(ask("szz")[0].payload, "30,");
    EXPECT_EQ(ack(record(" rzz", {50, 50})), "0,");
    EXPECT_EQ(ask("szz")[0].payload, "50,");
}

// Requests and records wait in a receive buffer of the device's size while the controller
// works on one after another; the buffer asks for XOFF and XON as it fills and drains.
TEST_F(SimControllerTest, SlowControllerFillsItsReceiveBufferAndHoldsTheLineOff)
{
    ControllerSettings settings;
    settings.receiveBufferSize = 16; // XOFF at 12, XON at 4
    settings.processMs = 10;
    create(settings);
    QByteArray flow;
    sim->setFlowSink([&](char c) { flow += c; });
    QStringList warnings;
    sim->setWarningLogger([&](const QString &w) { warnings << w; });

    // The first request is taken at once; the rest of 20 characters overflows by one.
    EXPECT_TRUE(ask(QByteArray("sfi\r").repeated(5)).empty());
    EXPECT_EQ(flow, QByteArray(1, kXoff));
    EXPECT_EQ(sim->receiveBuffer().lost(), 1);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("lost")) << warnings[0].toStdString();
    EXPECT_EQ(sim->receiveBuffer().roomBeforeHoldOff(), 0);

    auto answeredBy = [&](qint64 ms) {
        frames.clear();
        sim->advance(ms);
        return frames.size();
    };
    EXPECT_EQ(answeredBy(9), 0u);
    EXPECT_EQ(answeredBy(10), 1u);
    EXPECT_EQ(flow.size(), 1);
    // A late call catches up without drifting: the fourth is due 40 ms after the start.
    EXPECT_EQ(answeredBy(35), 2u);
    EXPECT_EQ(sim->busyUntil(), 40);
    EXPECT_EQ(flow, QByteArray(1, kXoff) + kXon);
    EXPECT_GT(sim->receiveBuffer().roomBeforeHoldOff(), 0);
    EXPECT_EQ(answeredBy(1000), 2u);
    EXPECT_FALSE(sim->busyUntil());
    EXPECT_TRUE(sim->receiveBuffer().isEmpty());
}

// The read-all of the default model with a schedule of six entries: 392 checked frames,
// so a repeated burst lines up with the first one on every seventh frame.
TEST_F(SimControllerTest, BadCheckHitsRepeatedRequestsButNeverTheSameRecordTwiceInARow)
{
    ControllerSettings settings;
    settings.faults.badCheckEvery = 7;
    create(settings);
    for (int motor = 1; motor <= 6; ++motor)
        sim->store().entry(motor, motor, 1) = SchaltzeitEntry{1, timeCode(6, motor), 39, 1, 0, 0};
    const QByteArray burst = "sbpsdmsdaswpsrpsjpsoasassgzsppsipshpsfpsapsspsoishhstasmnszzsbhsfs";
    const QList<QByteArray> checkedTags{"sbp", "sdm", "sda", "swp", "srp", "sjp", "spp", "sip",
                                        "shp", "sfp", "sap", "sta", "sfs"};

    struct Round {
        QSet<QByteArray> spoiled, whole;
        QByteArray failedTags;
        int checked = 0;
    };
    auto run = [&](const QByteArray &requests) {
        Round r;
        for (const Frame &f : ask(requests)) {
            if (!checkedTags.contains(f.tag)) continue;
            ++r.checked;
            const auto v = payloadValues(f.payload);
            QByteArray key = f.tag + ',' + QByteArray::number(v[0]);
            if (f.tag == "sfs") key += ',' + QByteArray::number(v[1]) + ',' + QByteArray::number(v[2]);
            if (sumCheckHolds(f.payload)) {
                r.whole.insert(key);
            } else {
                r.spoiled.insert(key);
                if (!r.failedTags.contains(f.tag)) r.failedTags += f.tag;
            }
        }
        return r;
    };

    const Round first = run(burst);
    ASSERT_EQ(first.checked, 392);
    EXPECT_EQ(first.spoiled.size(), 56);
    QSet<QByteArray> missing = first.spoiled;
    Round again = first;
    int rounds = 0;
    while (!missing.isEmpty() && rounds < 3) {
        const Round previous = again;
        again = run(previous.failedTags);
        ++rounds;
        // The counter runs on over the repeated answers ...
        EXPECT_GE(again.spoiled.size(), again.checked / 7 - 1) << "round " << rounds;
        // ... but a record spoiled last time now comes whole.
        for (const QByteArray &key : previous.spoiled)
            EXPECT_TRUE(again.whole.contains(key)) << key.constData() << " round " << rounds;
        missing -= again.whole;
    }
    EXPECT_TRUE(missing.isEmpty());
    EXPECT_EQ(rounds, 1);
}

TEST_F(SimControllerTest, WholeSendThenReadGivesBackWhatWasSent)
{
    ConfigStore sent;
    sent.entry(1, 3, 1) = {0, timeCode(7, 30), 39, 5, 0, 0};
    for (int d = 2; d <= 5; ++d) sent.entry(d, 3, 1) = sent.entry(1, 3, 1);
    sent.entry(6, 1, 2) = sent.entry(7, 1, 2) = {1, timeCode(21, 5), 12, 2, 2, 0};
    sent.entry(7, 32, 8) = {1, timeCode(23, 59), 126, 1, 2, 0};
    sent.MotorNamen[0] = QStringLiteral("Wohnzimmer");
    sent.Beschattung[31].Temperatur = 40;
    sent.Wind[31].Geschwindigkeit = 9;
    sent.AussenTemperatursteuerung[31].Richtung = 2;
    sent.HeizungsSteuerung[31].Betriebsart = 1;
    sent.AlarmPattern[31] = 2;
    sent.GruppenZentralsteuerung[3][2] = 0x81;
    sent.Parameter.ZufallsZeitspanne = 100;
    sent.SoftGZS = true;

    int acks = 0;
    auto count = [&](const std::vector<Frame> &fs) {
        for (const auto &f : fs) acks += f.tag == "stc" && f.payload == "0,";
    };
    count(record(" rfs", {0, 1, 1, 0, 24, 0, 40, 1, 0, 67}));
    for (int d = 1; d <= 7; ++d) {
        for (int m = 1; m <= kMotors; ++m)
            for (int n = 1; n <= kEntries; ++n) {
                const auto &e = sent.entry(d, m, n);
                const bool first = e.Gruppe == 1 || (e.Gruppe == 2 && d == 6) || ((e.Gruppe == 5 || e.Gruppe == 7) && d == 1);
                if (e.inUse() && first) count(record(" rfs", pcSchedule(d, m, n, e)));
            }
        count(record(" rfs", {255, 0, 0, 0, 0, 0, 0, 0, 0, 255}));
    }
    count(record(" rfs", {8, 0, 0, 0, 0, 0, 0, 0, 0, 8}));
    for (int m = 1; m <= kMotors; ++m) {
        const QByteArray name = sent.MotorNamen[m - 1].toLatin1().leftJustified(12, ' ', true) + '\r';
        count(record(" rmn", {m}) );
        count(ask(name + name));
    }
    const auto alarm = alarmValues(sent);
    count(record(" ras", {uint32_t(alarm[0]), uint32_t(alarm[1]), 22}));
    Values groups;
    for (int64_t g : groupValues(sent)) groups.push_back(uint32_t(g));
    groups.push_back(22);
    count(record(" rgz", groups));
    for (const auto &layout : motorRecordLayouts()) {
        const QByteArray tag = QByteArray(" ") + layout.writeTag + (QByteArray(layout.writeTag) == "rta" ? " " : "");
        count(record(tag, motorRecordValues(layout, sent, 32, false)));
    }
    for (const auto &global : globalRecordLayouts()) {
        const int64_t v = global.encode(sent);
        count(record(QByteArray(" ") + global.writeTag, {v, v}));
    }
    EXPECT_EQ(acks, 1 + 7 + 1 + 1 + 2 + 12 + 5);

    ConfigStore held = sim->store();
    held.clearAllPending();
    sent.clearAllPending();
    EXPECT_TRUE(held == sent);

    const auto answers = ask("sfs");
    ASSERT_EQ(answers.size(), 5u);
    EXPECT_EQ(answers[1].payload, "1,2,1,1,7,30,39,5,0,86,");
    EXPECT_EQ(answers[2].payload, "6,0,2,0,21,5,12,2,2,50,");
    EXPECT_EQ(answers[3].payload, "7,31,8,0,23,59,126,1,2,257,");
    EXPECT_EQ(ask("smn")[0].payload, "01,Wohnzimmer");
    EXPECT_EQ(ask("sap").back().payload, "32,0,102,2,105,40,281,");
}

TEST_F(SimControllerTest, LogbookPagesAndEndMarkers)
{
    EXPECT_EQ(ask("sla")[0].payload, "180,");
    const auto page1 = ask("sld");
    ASSERT_EQ(page1.size(), 101u);
    const auto page2 = ask("sld");
    ASSERT_EQ(page2.size(), 81u);
    EXPECT_EQ(ask("sld").size(), 1u);
    for (const auto *page : {&page1, &page2}) {
        for (size_t i = 0; i + 1 < page->size(); ++i) {
            const auto v = payloadValues((*page)[i].payload);
            ASSERT_EQ(v.size(), 10u);
            EXPECT_TRUE(sumCheckHolds((*page)[i].payload));
            EXPECT_EQ(v[0], (page == &page1 ? 1 : 101) + long(i));
            EXPECT_GE(v[1], 1);
            EXPECT_LE(v[1], 32);
            EXPECT_TRUE(v[3] >= 1 && v[3] <= 31 && v[4] >= 1 && v[4] <= 12) << (*page)[i].payload.constData();
            EXPECT_TRUE(v[5] >= 0 && v[5] <= 24 && v[6] < 24 && v[7] < 60);
        }
        EXPECT_EQ(page->back().payload, "9999,1,0,0,0,0,0,0,0,10000,");
    }
    // The oldest entry is the restart that began the log.
    EXPECT_EQ(payloadValues(page2[79].payload)[5], 9);

    ask("slr");
    EXPECT_EQ(payloadValues(ask("sld")[0].payload)[0], 1);
    EXPECT_EQ(ask("slf").size(), 181u);

    ask(" rhb7\rup\r123\r + sti\r");
    EXPECT_EQ(ask("sla")[0].payload, "181,");
    const auto newest = payloadValues(ask("slf")[0].payload);
    EXPECT_EQ(newest[1], 7);
    EXPECT_EQ(newest[2], 1);
    EXPECT_EQ(newest[5], 4);

    EXPECT_TRUE(ask("sll").empty());
    EXPECT_EQ(ask("sla")[0].payload, "0,");
    EXPECT_EQ(tagsOf(ask("slrsld")), std::vector<QByteArray>{"sld"});
}

TEST_F(SimControllerTest, SwitchingTimesAndWeatherWriteTheLogbook)
{
    // 07.12.2026 is a Monday; the clock stands at 12:00:30.
    sim->store().entry(1, 4, 1) = SchaltzeitEntry{1, timeCode(12, 1), 39, 1, 1, 0};
    const int before = sim->logbook().size();
    pass(40000);
    ASSERT_EQ(sim->logbook().size(), before + 1);
    const auto newest = payloadValues(ask("slf")[0].payload);
    EXPECT_EQ(newest[1], 4);
    EXPECT_EQ(newest[2], 0); // down
    EXPECT_EQ(newest[5], 0);
    EXPECT_EQ(newest[6], 12);
    EXPECT_EQ(newest[7], 1);
    EXPECT_EQ(newest[8], 1); // astro

    // A windy afternoon retracts the motors whose wind guard is on.
    sim->store().Wind[0].EinAus = 0;
    sim->store().Wind[0].Geschwindigkeit = 0; // 5 km/h
    for (int i = 0; i < 600; ++i) pass(1000);
    bool retracted = false;
    for (const auto &f : ask("slf"))
        if (payloadValues(f.payload)[5] == 3 && payloadValues(f.payload)[1] == 1) retracted = true;
    EXPECT_TRUE(retracted);
}

TEST_F(SimControllerTest, SensorsMoveWithTheDayAndMaximumWindResets)
{
    int noonLight = 0, nightLight = 255, maxSeen = 0;
    bool rained = false;
    for (int minute = 0; minute < 3 * 24 * 60; ++minute) {
        pass(60000);
        const auto v = payloadValues(ask("skd\r")[0].payload);
        ASSERT_EQ(v.size(), 16u);
        const int hour = wall.time().hour();
        if (hour == 13) noonLight = std::max<int>(noonLight, v[0]);
        if (hour == 2) nightLight = std::min<int>(nightLight, v[0]);
        EXPECT_GE(v[10], v[9]);   // maximum wind never below the current
        EXPECT_LE(v[3], v[1]);    // inside minimum
        EXPECT_GE(v[4], v[1]);    // inside maximum
        EXPECT_TRUE(v[15] > 0 && v[15] <= 100);
        rained = rained || v[12] != 0;
        maxSeen = std::max<int>(maxSeen, v[10]);
    }
    EXPECT_GT(noonLight, 0);
    EXPECT_EQ(nightLight, 0);
    EXPECT_TRUE(rained);
    ask("swl");
    const auto v = payloadValues(ask("skd\r")[0].payload);
    EXPECT_EQ(v[10], v[9]);
    EXPECT_LT(v[10], maxSeen);
}

TEST_F(SimControllerTest, ContentFaults)
{
    ControllerSettings settings;
    settings.faults.badCheckEvery = 3;
    settings.faults.noEndMarker = true;
    settings.faults.badAckEvery = 2;
    create(settings);

    const auto shading = ask("sbp");
    ASSERT_EQ(shading.size(), 32u);
    for (size_t i = 0; i < shading.size(); ++i)
        EXPECT_EQ(sumCheckHolds(shading[i].payload), (i + 1) % 3 != 0) << i;

    const auto schedule = ask("sfs");
    ASSERT_EQ(schedule.size(), 1u); // the start marker only
    EXPECT_EQ(payloadValues(ask("sld").back().payload)[0], 100);

    EXPECT_EQ(record(" rbh", {10, 10})[0].payload, "0,");
    EXPECT_EQ(record(" rzz", {30, 30})[0].payload, "1,");
    EXPECT_EQ(record(" roa", {100, 100})[0].payload, "0,");
}

TEST_F(SimControllerTest, RadioPushButtonModelShiftsDurations)
{
    ControllerSettings settings;
    settings.model = "VC-7000 WGS-9SFG";
    create(settings);
    EXPECT_TRUE(sim->tastFunk());
    EXPECT_EQ(ask("sta")[0].payload, "1,0,70,71,");
    record(" rta ", {32, 0, 75, 107});
    EXPECT_EQ(sim->store().TastAutomatik[31].Dauer, 26);
}
