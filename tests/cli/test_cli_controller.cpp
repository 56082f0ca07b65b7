#include "cli_runner.h"

#include "config/config_file.h"
#include "config/store.h"
#include "support/emulator.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vandorelle;
using namespace vandorelle::test;

namespace {

const QString kFullModel = QStringLiteral("VC-7000 WGS-9STG 32M");
const QString kPlainModel = QStringLiteral("VC-7000 R---4--- 8M");

// The emulated controller at full speed, with the options of the case.
class CliController : public ::testing::Test {
protected:
    void startEmulator(QStringList options = {})
    {
        options << "--baud" << "0" << "--seed" << "7";
        ASSERT_TRUE(emulator.start(options)) << emulator.lastError().toStdString();
    }
    CliRun cli(QStringList args, CliSetup setup = {})
    {
        args.prepend(emulator.devicePath());
        args.prepend("--port");
        if (setup.workDir.isEmpty())
            setup.workDir = dir.path();
        return runCli(args, setup);
    }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    Emulator emulator;
    QTemporaryDir dir;
};

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString field(const CliRun &run, const QString &label)
{
    for (const QString &line : run.outLines()) {
        if (line.startsWith(label + u':'))
            return line.mid(label.size() + 1).trimmed();
    }
    return QStringLiteral("<missing>");
}

// A configuration unlike the start values in names, schedule, automation and parameters,
// with values the controller keeps as they are (names of 12 characters at most).
ConfigStore changedConfiguration(const QString &basePath)
{
    ConfigStore store;
    EXPECT_TRUE(loadConfigFile(basePath, store).ok);
    store.MotorNamen[0] = QStringLiteral("Küche");
    store.MotorNamen[31] = QStringLiteral("Wintergarten");
    for (int weekday = 1; weekday <= 7; ++weekday) {
        SchaltzeitEntry &e = store.entry(weekday, 1 + weekday, weekday);
        e = SchaltzeitEntry{.Richtung = weekday % 2, .Zeit = weekday * 100 + 1, .Dauer = 20 + weekday,
                            .Gruppe = 1, .Funktion = weekday % 3, .Senden = 1};
    }
    store.Beschattung[2].EinAus = 0;
    store.Beschattung[2].Helligkeit = 12;
    store.Wind[5].Geschwindigkeit = 17;
    store.HeizungsSteuerung[9].TagTemperatur = 200;
    store.AlarmPattern[4] = 2;
    store.GruppenZentralsteuerung[1][2] = 0xA5;
    store.Parameter.ZufallsZeitspanne = 100;
    store.SoftGZS = true;
    return store;
}

} // namespace

TEST_F(CliController, InfoPrintsModelFirmwareFamilyAndSensors)
{
    startEmulator({"--model", kFullModel, "--firmware", "7.090"});
    const CliRun full = cli({"info"});
    ASSERT_EQ(full.exitCode, 0) << full.describe();
    EXPECT_EQ(field(full, "Model"), kFullModel);
    EXPECT_EQ(field(full, "Firmware"), QStringLiteral("V7.090"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d$")).match(field(full, "Date")).hasMatch())
        << full.describe();
    EXPECT_EQ(field(full, "ShadingFamily"), QStringLiteral("yes"));
    EXPECT_EQ(field(full, "ConservatoryFamily"), QStringLiteral("yes"));
    EXPECT_TRUE(field(full, "BankModel").startsWith(QLatin1String("yes")));
    EXPECT_TRUE(field(full, "Brightness").contains(QLatin1String("mean"))) << full.describe();
    EXPECT_TRUE(field(full, "Rain").contains(QLatin1String("Regen"))) << full.describe();
    EXPECT_TRUE(full.err.isEmpty()) << "no progress when stderr is not a terminal";

    emulator.stop();
    startEmulator({"--model", kPlainModel});
    const CliRun plain = cli({"info"});
    ASSERT_EQ(plain.exitCode, 0) << plain.describe();
    EXPECT_EQ(field(plain, "ShadingFamily"), QStringLiteral("no"));
    EXPECT_TRUE(field(plain, "BankModel").startsWith(QLatin1String("no (8 motors)"))) << plain.describe();
    EXPECT_TRUE(field(plain, "EightEntries").startsWith(QLatin1String("no (4 "))) << plain.describe();
}

TEST_F(CliController, TheSettingsFileAndComNamesChooseThePort)
{
    startEmulator();
    QTemporaryDir work;
    QFile ini(work.filePath("Vandorelle.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("3\r\n");
    ini.close();
    const QString com3 = QStringLiteral("VANDORELLE_COM3=") + emulator.devicePath();

    const CliRun fromSettings = runCli({"info"}, {work.path(), {com3}});
    EXPECT_EQ(fromSettings.exitCode, 0) << fromSettings.describe();
    const CliRun byName = runCli({"--port", "COM3", "info"}, {dir.path(), {com3}});
    EXPECT_EQ(byName.exitCode, 0) << byName.describe();
}

TEST_F(CliController, ReadThenWriteThenReadGivesIdenticalFiles)
{
    startEmulator({"--model", kFullModel});
    const CliRun first = cli({"read", path("first.vsk")});
    ASSERT_EQ(first.exitCode, 0) << first.describe();
    EXPECT_TRUE(first.err.isEmpty()) << first.describe();
    const QByteArray original = contents(path("first.vsk"));
    ASSERT_TRUE(original.startsWith("[Motor-Namen_]\r\n")) << original.left(100).toStdString();

    const CliRun restore = cli({"write", path("first.vsk")});
    ASSERT_EQ(restore.exitCode, 0) << restore.describe();
    const CliRun second = cli({"read", path("second.vsk")});
    ASSERT_EQ(second.exitCode, 0) << second.describe();
    EXPECT_EQ(contents(path("second.vsk")), original);

    // The same with a configuration that differs everywhere from what the controller held.
    ASSERT_EQ(saveConfigFile(path("changed.vsk"), changedConfiguration(path("first.vsk"))), QString());
    const CliRun send = cli({"write", path("changed.vsk")});
    ASSERT_EQ(send.exitCode, 0) << send.describe();
    const CliRun back = cli({"--quiet", "read", path("back.vsk")});
    ASSERT_EQ(back.exitCode, 0) << back.describe();
    EXPECT_EQ(contents(path("back.vsk")), contents(path("changed.vsk")));
    EXPECT_NE(contents(path("back.vsk")), original);
}

TEST_F(CliController, WriteIsRefusedBeforeTheClockIsSetAndOnOldFirmware)
{
    ConfigStore store;
    ASSERT_EQ(saveConfigFile(path("any.vsk"), store), QString());

    startEmulator({"--no-clock"});
    const CliRun noClock = cli({"write", path("any.vsk")});
    EXPECT_EQ(noClock.exitCode, 5) << noClock.describe();
    EXPECT_TRUE(noClock.err.contains("01.01.00")) << noClock.describe();
    EXPECT_EQ(cli({"read", path("read.vsk")}).exitCode, 0) << "only a send needs the clock";

    emulator.stop();
    startEmulator({"--firmware", "6.990"});
    for (const QStringList &args : {QStringList{"write", path("any.vsk")}, QStringList{"read", path("old.vsk")},
                                    QStringList{"logbook", path("old.vlg")}, QStringList{"logbook-clear"}}) {
        SCOPED_TRACE(args.first().toStdString());
        const CliRun run = cli(args);
        EXPECT_EQ(run.exitCode, 5) << run.describe();
        EXPECT_TRUE(run.err.contains("V6.990")) << run.describe();
    }
    EXPECT_FALSE(QFile::exists(path("old.vsk")));
    EXPECT_FALSE(QFile::exists(path("old.vlg")));
    // Diagnosis still works: info shows the old firmware.
    const CliRun info = cli({"info"});
    EXPECT_EQ(info.exitCode, 0) << info.describe();
    EXPECT_EQ(field(info, "Firmware"), QStringLiteral("V6.990"));
}

TEST_F(CliController, ASilentControllerEndsTheExchangeWithExitFour)
{
    // The first poll's five answers get through, then the line goes quiet mid-exchange.
    startEmulator({"--silence-after", "20"});
    QFile keep(path("backup.vsk"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("the previous backup");
    keep.close();
    const CliRun read = cli({"--timeout", "2", "read", path("backup.vsk")});
    EXPECT_EQ(read.exitCode, 4) << read.describe();
    EXPECT_EQ(contents(path("backup.vsk")), QByteArray("the previous backup"));
    // Loosely: the 2-second silence ended it, not the default 10 seconds.
    EXPECT_LT(read.elapsedMs, 10000) << read.describe();

    emulator.stop();
    startEmulator({"--silence-after", "15"});
    ConfigStore store;
    ASSERT_EQ(saveConfigFile(path("send.vsk"), store), QString());
    const CliRun write = cli({"--timeout", "2", "write", path("send.vsk")});
    EXPECT_EQ(write.exitCode, 4) << write.describe();
    EXPECT_LT(write.elapsedMs, 10000) << write.describe();

    emulator.stop();
    startEmulator({"--silence-after", "20"});
    const CliRun logbook = cli({"--timeout", "2", "logbook", path("part.vlg")});
    EXPECT_EQ(logbook.exitCode, 4) << logbook.describe();
    EXPECT_TRUE(contents(path("part.vlg")).startsWith("Nr;Motor/Raum;")) << "what arrived is kept";
}

TEST_F(CliController, NoAnswerAtAllExitsThree)
{
    startEmulator({"--silence-after", "0"});
    ConfigStore store;
    ASSERT_EQ(saveConfigFile(path("mine.vsk"), store), QString());
    for (const QStringList &args : {QStringList{"info"}, QStringList{"read", path("none.vsk")},
                                    QStringList{"monitor", "--count", "2"}, QStringList{"drive", "1", "up"},
                                    QStringList{"diff", path("mine.vsk"), "--controller"}}) {
        SCOPED_TRACE(args.first().toStdString());
        const CliRun run = cli(QStringList{"--timeout", "1"} + args);
        EXPECT_EQ(run.exitCode, 3) << run.describe();
        EXPECT_EQ(run.errLines().size(), 1) << run.describe();
    }
    EXPECT_FALSE(QFile::exists(path("none.vsk")));
}

TEST_F(CliController, SpoiledRecordsAreAskedForAgainAndRefusedBatchesAreNamed)
{
    startEmulator();
    ASSERT_EQ(cli({"read", path("clean.vsk")}).exitCode, 0);
    emulator.stop();

    // Every seventh record spoilt: asked for again until the backup is the clean one.
    startEmulator({"--bad-check", "7"});
    const CliRun retried = cli({"read", path("retried.vsk")});
    ASSERT_EQ(retried.exitCode, 0) << retried.describe();
    EXPECT_EQ(contents(path("retried.vsk")), contents(path("clean.vsk")));
    emulator.stop();

    // Records spoilt every time: after two more rounds the read gives up, names what is missing
    // and writes nothing.
    startEmulator({"--bad-record", "sbp,5", "--bad-record", "sfs"});
    const CliRun spoilt = cli({"read", path("spoilt.vsk")});
    EXPECT_EQ(spoilt.exitCode, 4) << spoilt.describe();
    EXPECT_TRUE(spoilt.err.contains("missing: Beschattung Motor 5, Schaltzeiten;")) << spoilt.describe();
    EXPECT_FALSE(QFile::exists(path("spoilt.vsk")));
    emulator.stop();

    startEmulator({"--bad-ack", "5"});
    const CliRun write = cli({"write", path("clean.vsk")});
    EXPECT_EQ(write.exitCode, 4) << write.describe();
    EXPECT_TRUE(write.err.contains("Schaltzeiten Donnerstag")) << write.describe();
}

TEST_F(CliController, LogbookExportAndClear)
{
    startEmulator({"--logbook-entries", "150"});
    const CliRun exported = cli({"logbook", path("log.vlg"), "--from-start"});
    ASSERT_EQ(exported.exitCode, 0) << exported.describe();
    const QByteArray log = contents(path("log.vlg"));
    const QList<QByteArray> lines = log.split('\n');
    // Header, 150 entries, the end marker's line, and nothing after the last CR LF.
    ASSERT_EQ(lines.size(), 153) << log.left(300).toStdString();
    EXPECT_EQ(lines.first(), QByteArray("Nr;Motor/Raum;Datum;Uhrzeit;Richtung;Ausgel\xF6st durch\r"));
    EXPECT_TRUE(lines[1].startsWith("150;")) << lines[1].toStdString();
    EXPECT_TRUE(lines[150].startsWith("1;")) << lines[150].toStdString();
    EXPECT_TRUE(lines.last().isEmpty());

    const CliRun cleared = cli({"logbook-clear"});
    ASSERT_EQ(cleared.exitCode, 0) << cleared.describe();
    const CliRun empty = cli({"logbook", path("empty.vlg")});
    ASSERT_EQ(empty.exitCode, 0) << empty.describe();
    const QList<QByteArray> after = contents(path("empty.vlg")).split('\n');
    ASSERT_EQ(after.size(), 3);
    EXPECT_TRUE(after[1].contains("Keine Logbucheintr\xE4ge gespeichert")) << after[1].toStdString();

    // A file that cannot be created is found before the controller is asked.
    const CliRun noFolder = cli({"logbook", path("missing/log.vlg")});
    EXPECT_EQ(noFolder.exitCode, 6) << noFolder.describe();
}

TEST_F(CliController, MonitorPrintsALinePerAnswerUntilCountOrInterrupt)
{
    startEmulator();
    const CliRun counted = cli({"monitor", "--count", "3"});
    ASSERT_EQ(counted.exitCode, 0) << counted.describe();
    const QStringList lines = counted.outLines();
    ASSERT_EQ(lines.size(), 3) << counted.describe();
    const QRegularExpression shape(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d  brightness \\d+ .*wind \\d+ km/h"));
    for (const QString &line : lines)
        EXPECT_TRUE(shape.match(line).hasMatch()) << line.toStdString();

    CliProcess endless({"--port", emulator.devicePath(), "monitor"});
    EXPECT_FALSE(endless.readLine().isEmpty());
    const CliRun interrupted = endless.interruptAndWait();
    EXPECT_TRUE(interrupted.finished);
    EXPECT_EQ(interrupted.exitCode, 0) << interrupted.describe();
}

TEST_F(CliController, TraceLogsBothDirectionsAndAppends)
{
    startEmulator({"--model", kFullModel});
    const QString trace = path("line.log");
    ASSERT_EQ(cli({"--trace", trace, "info"}).exitCode, 0);
    const QStringList first = QString::fromUtf8(contents(trace)).split(u'\n', Qt::SkipEmptyParts);

    const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} (TX|RX|--) "));
    for (const QString &line : first)
        EXPECT_TRUE(stamp.match(line).hasMatch()) << line.toStdString();
    auto has = [&](const QStringList &lines, const QString &text) {
        return std::any_of(lines.begin(), lines.end(), [&](const QString &l) { return l.contains(text); });
    };
    EXPECT_TRUE(has(first, QStringLiteral(" TX sfi\\x0D"))) << first.join(u'\n').toStdString();
    EXPECT_TRUE(has(first, QStringLiteral(" TX smo\\x0D")));
    EXPECT_TRUE(has(first, QStringLiteral(" RX ")));
    EXPECT_TRUE(has(first, QStringLiteral("start_smo") + kFullModel + QStringLiteral("ende_")));

    ASSERT_EQ(cli({"--trace", trace, "info"}).exitCode, 0);
    const QStringList both = QString::fromUtf8(contents(trace)).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_GT(both.size(), first.size());
    EXPECT_EQ(both.mid(0, first.size()), first) << "a second run appends";

    const CliRun unwritable = cli({"--trace", path("missing/line.log"), "info"});
    EXPECT_EQ(unwritable.exitCode, 6) << unwritable.describe();
}
