#include "support/emulator.h"

#include "config/config_file.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vandorelle::test;

namespace {

// Each value as its own write, the way the tool sends a record.
void sendRecord(RawLine &line, const QByteArray &tag, std::initializer_list<long long> values)
{
    ASSERT_TRUE(line.write(tag));
    for (long long v : values) ASSERT_TRUE(line.write(QByteArray::number(v) + '\r'));
}

class SimProcessTest : public ::testing::Test {
protected:
    Emulator emulator;
    RawLine line;

    void start(QStringList options)
    {
        options << "--seed" << "9";
        ASSERT_TRUE(emulator.start(options)) << emulator.lastError().toStdString();
        ASSERT_TRUE(line.open(emulator.devicePath())) << emulator.devicePath().toStdString();
    }
};

} // namespace

TEST_F(SimProcessTest, AnswersTheModelRequestAndStopsCleanly)
{
    start({"--model", "ABCDEFGHW---4S-- custom"});
    ASSERT_TRUE(line.write("smo\r"));
    const auto frames = line.readFrames(1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], (RawFrame{"smo", "ABCDEFGHW---4S-- custom"}));
    emulator.stop();
    EXPECT_EQ(emulator.exitCode(), 0);
}

TEST_F(SimProcessTest, WholeReadBurstWithValidChecks)
{
    start({"--baud", "0"});
    ASSERT_TRUE(line.write("sbpsdmsdaswpsrpsjpsoasassgzsppsipshpsfpsapsspsoishhstasmnszzsbhsfs"));
    const auto frames = line.readUntil("sfs" /* start marker */);
    auto rest = line.readUntil("sfs");
    ASSERT_FALSE(rest.empty());
    const QList<QByteArray> unchecked{"smn", "soa", "sas", "sgz", "ssp", "soi", "shh", "szz", "sbh"};
    int perMotor = 0, names = 0;
    for (const auto &f : frames) {
        if (f.tag == "smn") ++names;
        if (unchecked.contains(f.tag)) continue;
        EXPECT_TRUE(sumCheckHolds(f.payload)) << f.tag.constData() << ' ' << f.payload.constData();
        perMotor += f.tag != "sfs";
    }
    EXPECT_EQ(perMotor, 12 * 32);
    EXPECT_EQ(names, 32);
    EXPECT_EQ(frames.front(), (RawFrame{"sbp", "1,0,122,10,20,244,10,407,"}));
    EXPECT_EQ(rest.back(), (RawFrame{"sfs", "255,0,0,0,0,0,0,0,0,255,"}));
    EXPECT_EQ(line.skippedBytes(), 0);
}

TEST_F(SimProcessTest, SendHandshakeAcknowledgesAndKeepsWhatWasSent)
{
    start({"--baud", "0"});
    sendRecord(line, " rfs", {0, 1, 1, 0, 24, 0, 40, 1, 0, 67});
    auto acks = line.readFrames(1);
    ASSERT_EQ(acks.size(), 1u);
    EXPECT_EQ(acks[0], (RawFrame{"stc", "0,"}));

    sendRecord(line, " rfs", {1, 3, 1, 1, 7, 30, 39, 5, 0, 87});
    sendRecord(line, " rfs", {255, 0, 0, 0, 0, 0, 0, 0, 0, 255});
    acks = line.readFrames(1);
    ASSERT_EQ(acks.size(), 1u);
    EXPECT_EQ(acks[0], (RawFrame{"stc", "0,"}));

    sendRecord(line, " rta ", {32, 1, 31, 64});
    acks = line.readFrames(1);
    ASSERT_EQ(acks.size(), 1u);
    EXPECT_EQ(acks[0].payload, "0,");

    ASSERT_TRUE(line.write("sfs"));
    const auto schedule = line.readFrames(3);
    ASSERT_EQ(schedule.size(), 3u);
    EXPECT_EQ(schedule[1].payload, "1,2,1,1,7,30,39,5,0,86,");
    ASSERT_TRUE(line.write("sta"));
    const auto pushButton = line.readFrames(32);
    ASSERT_EQ(pushButton.size(), 32u);
    EXPECT_EQ(pushButton[31].payload, "32,1,31,64,");
}

TEST_F(SimProcessTest, PortCanBeClosedAndReopened)
{
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyVANDORELLE");
    start({"--link", link});
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), emulator.devicePath());

    ASSERT_TRUE(line.write("sfi\r"));
    ASSERT_EQ(line.readFrames(1).size(), 1u);
    line.close();
    ASSERT_TRUE(line.open(link));
    ASSERT_TRUE(line.write("sdt\r"));
    const auto frames = line.readFrames(1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].tag, "sdt");

    emulator.stop();
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST_F(SimProcessTest, TransportFaultsKeepTheFramesReadable)
{
    for (const QStringList &fault : {QStringList{"--split-bytes"}, QStringList{"--merge-frames"},
                                     QStringList{"--garbage"}}) {
        SCOPED_TRACE(fault.join(' ').toStdString());
        start(fault + QStringList{"--baud", "0"});
        ASSERT_TRUE(line.write("sfi\rsdt\rsti\rskd\rsmo\rsjp"));
        const auto frames = line.readFrames(5 + 32);
        ASSERT_EQ(frames.size(), 37u);
        EXPECT_EQ(frames[0].payload, "7.090");
        for (size_t i = 5; i < frames.size(); ++i) EXPECT_TRUE(sumCheckHolds(frames[i].payload));
        EXPECT_EQ(line.skippedBytes() > 0, fault.first() == "--garbage");
        emulator.stop();
        EXPECT_EQ(emulator.exitCode(), 0);
    }
}

TEST_F(SimProcessTest, FallsSilentAfterTheGivenNumberOfFrames)
{
    start({"--baud", "0", "--silence-after", "3"});
    ASSERT_TRUE(line.write("sfi\rsdt\rsti\rskd\rsmo\r"));
    EXPECT_EQ(line.readFrames(5, 1500).size(), 3u);
}

TEST_F(SimProcessTest, StartsFromAConfigurationFile)
{
    QTemporaryDir dir;
    vandorelle::ConfigStore saved;
    saved.MotorNamen[4] = QStringLiteral("Terrasse");
    saved.Beschattung[4].Temperatur = 40;
    saved.entry(3, 2, 1) = {1, vandorelle::timeCode(19, 45), 39, 1, 0, 1};
    const QString path = dir.filePath("haus.vsk");
    ASSERT_TRUE(vandorelle::saveConfigFile(path, saved).isEmpty());

    start({"--baud", "0", "--state", path});
    ASSERT_TRUE(line.write("smnsbpsfs"));
    const auto frames = line.readFrames(32 + 32 + 3);
    ASSERT_EQ(frames.size(), 67u);
    EXPECT_EQ(frames[4].payload, "05,Terrasse");
    EXPECT_EQ(frames[32 + 4].payload, "5,0,130,10,20,244,10,419,");
    EXPECT_EQ(frames[65].payload, "3,1,1,0,19,45,39,1,0,109,");
}

// 1920 characters at 960 a second take two seconds before the request behind them is
// answered; a loaded machine only makes that longer.
TEST_F(SimProcessTest, InputIsPacedLikeTheLine)
{
    start({});
    constexpr int kNoise = 1920;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(line.write(QByteArray(kNoise, '0') + "sfi\r"));
    const auto frames = line.readFrames(1, 20000);
    const double ratio = clock.elapsed() / (kNoise * 1000.0 / 960);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].tag, "sfi");
    EXPECT_GT(ratio, 0.9);
    EXPECT_LT(ratio, 4.0); // one character per pacing tick would be 4.8
}

// Records of ten characters arrive five times faster than a controller taking 50 ms for
// each gets through them: it holds the line off and lets it go again, and every record
// is taken whole.
TEST_F(SimProcessTest, SlowControllerHoldsTheLineOffAndLosesNothing)
{
    start({"--process-ms", "50", "--rx-buffer", "64"});
    constexpr int kRecords = 40;
    QByteArray records;
    for (int i = 0; i < kRecords; ++i) {
        const QByteArray value = QByteArray::number(10 + i) + '\r';
        records += " rzz" + value + value;
    }
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(line.write(records));
    const auto acks = line.readFrames(kRecords, 30000);
    const qint64 elapsed = clock.elapsed();
    ASSERT_EQ(acks.size(), size_t(kRecords));
    for (const RawFrame &ack : acks) EXPECT_EQ(ack, (RawFrame{"stc", "0,"}));
    EXPECT_GE(elapsed, kRecords * 50 * 9 / 10);

    const QByteArray flow = line.flowControl();
    ASSERT_GE(flow.size(), 2);
    EXPECT_EQ(flow.size() % 2, 0);
    for (qsizetype i = 0; i < flow.size(); ++i) EXPECT_EQ(flow[i], i % 2 == 0 ? '\x13' : '\x11') << i;

    ASSERT_TRUE(line.write("szz"));
    const auto value = line.readFrames(1);
    ASSERT_EQ(value.size(), 1u);
    EXPECT_EQ(value[0].payload, QByteArray::number(10 + kRecords - 1) + ',');
}

// The tool's XOFF stops the emulator's output until its XON; neither reaches the parser,
// even inside a request.
TEST_F(SimProcessTest, HoldsItsOutputWhileTheToolSaysXoff)
{
    start({"--baud", "0"});
    ASSERT_TRUE(line.write("s\x13" "fi\r"));
    EXPECT_TRUE(line.readFrames(1, 500).empty());
    ASSERT_TRUE(line.write("sd\x11" "t\r"));
    const auto frames = line.readFrames(2);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].tag, "sfi");
    EXPECT_EQ(frames[1].tag, "sdt");
}

TEST(SimProcessOptions, RefusesBadOptions)
{
    Emulator emulator;
    EXPECT_FALSE(emulator.start({"--baud", "fast"}));
    EXPECT_EQ(emulator.lastError(), "the emulator ended before it was ready (exit code 2)");
    EXPECT_FALSE(emulator.start({"--split-bytes", "--merge-frames"}));
    EXPECT_FALSE(emulator.start({"--state", "/nonexistent/file.vsk"}));
    EXPECT_FALSE(emulator.start({"--process-ms", "1001"}));
    EXPECT_FALSE(emulator.start({"--rx-buffer", "0"}));
}
