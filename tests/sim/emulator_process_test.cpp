#include "support/emulator.h"

#include "config/config_file.h"

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

TEST(SimProcessOptions, RefusesBadOptions)
{
    Emulator emulator;
    EXPECT_FALSE(emulator.start({"--baud", "fast"}));
    EXPECT_FALSE(emulator.start({"--split-bytes", "--merge-frames"}));
    EXPECT_FALSE(emulator.start({"--state", "/nonexistent/file.vsk"}));
}
