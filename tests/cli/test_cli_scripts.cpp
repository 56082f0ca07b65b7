#include "cli_runner.h"

#include "config/config_file.h"
#include "config/store.h"
#include "support/emulator.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace vandorelle;
using namespace vandorelle::test;

namespace {

// The keys the manual page gives for the sensor values.
const QStringList kSensorKeys{"brightness", "brightnessMean", "insideTemperature", "insideMin", "insideMax",
                              "outsideTemperature", "outsideMin", "outsideMax", "wind", "windMax",
                              "windFigure", "humidity", "rain", "alarm"};

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The writes of a trace with their time stamps, as logged ("\x0D" for CR).
struct Write {
    QDateTime when;
    QString bytes;
};

std::vector<Write> writesOf(const QString &tracePath)
{
    static const QRegularExpression tx(QStringLiteral("^(\\S+ \\S+) TX (.*)$"));
    std::vector<Write> writes;
    for (const QString &line : QString::fromUtf8(contents(tracePath)).split(u'\n')) {
        const QRegularExpressionMatch m = tx.match(line);
        if (m.hasMatch())
            writes.push_back({QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")),
                              m.captured(2)});
    }
    return writes;
}

QStringList lastWrites(const std::vector<Write> &writes, int count)
{
    QStringList bytes;
    for (auto it = writes.end() - std::min<std::ptrdiff_t>(count, std::ssize(writes)); it != writes.end(); ++it)
        bytes << it->bytes;
    return bytes;
}

bool wroteManualControl(const QString &tracePath)
{
    const auto writes = writesOf(tracePath);
    return std::any_of(writes.begin(), writes.end(), [](const Write &w) { return w.bytes.startsWith(" rh"); });
}

QStringList keysOf(const QJsonObject &o)
{
    QStringList keys = o.keys();
    keys.sort();
    return keys;
}

QStringList sorted(QStringList l)
{
    l.sort();
    return l;
}

// One setting of every kind changed from the start values, each to a value a controller keeps.
ConfigStore changedConfiguration()
{
    ConfigStore s;
    s.MotorNamen[1] = QStringLiteral("Küche");
    s.entry(1, 2, 1) = {.Richtung = 0, .Zeit = 7 * 60 + 31, .Dauer = 39, .Gruppe = 1, .Funktion = 0};
    s.Beschattung[0].Helligkeit = 155;
    s.DaemmerungMorgen[0].Von = 6;
    s.DaemmerungAbend[0].Helligkeit = 119;
    s.Wind[0].Geschwindigkeit = 7;
    s.Regen[0].Richtung = 1;
    s.Reversierung[0].Bei_Ab = 10;
    s.TastAutomatik[0].EinAus = 0;
    s.ProportionaleTemperatursteuerung[0].Schritte = 6;
    s.InnenTemperatursteuerung[0].Schwelle2 = 25;
    s.HeizungsSteuerung[0].Betriebsart = 1;
    s.FeuchtigkeitsSteuerung[0].Von = 9;
    s.AussenTemperatursteuerung[0].Dauer = 59;
    s.AlarmPattern[0] = 0;
    s.GruppenZentralsteuerung[0][0] = 2;
    s.Parameter.Offset_AT = 7;
    s.SoftGZS = true;
    return s;
}

class CliScripts : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(saveConfigFile(path("base.vsk"), ConfigStore{}), QString());
        ASSERT_EQ(saveConfigFile(path("changed.vsk"), changedConfiguration()), QString());
    }
    void startEmulator(QStringList options = {})
    {
        options << "--baud" << "0" << "--seed" << "11";
        ASSERT_TRUE(emulator.start(options)) << emulator.lastError().toStdString();
    }
    CliRun cli(QStringList args)
    {
        args.prepend(emulator.devicePath());
        args.prepend("--port");
        return runCli(args, {dir.path(), {}});
    }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    Emulator emulator;
};

} // namespace

TEST_F(CliScripts, DriveSendsTheManualControlWritesInOrderByNumberAndByName)
{
    ConfigStore named;
    named.MotorNamen[0] = QStringLiteral("Küche");
    named.MotorNamen[1] = QStringLiteral("Bad oben");
    named.MotorNamen[2] = QStringLiteral("Bad unten");
    ASSERT_EQ(saveConfigFile(path("named.vsk"), named), QString());
    startEmulator({"--state", path("named.vsk")});

    const CliRun byNumber = cli({"--trace", path("number.log"), "drive", "3", "down"});
    ASSERT_EQ(byNumber.exitCode, 0) << byNumber.describe();
    EXPECT_TRUE(byNumber.out.isEmpty()) << byNumber.describe();
    EXPECT_EQ(lastWrites(writesOf(path("number.log")), 4),
              QStringList({" rhi\\x0D", " rhb3\\x0D", "down\\x0D123\\x0D + sti\\x0D", " rhe\\x0D"}));

    // Upper and lower case alike; manual control is left only after the hold.
    const CliRun byName = cli({"--trace", path("name.log"), "drive", "KÜCHE", "up", "--hold", "1.5"});
    ASSERT_EQ(byName.exitCode, 0) << byName.describe();
    const auto writes = writesOf(path("name.log"));
    ASSERT_EQ(lastWrites(writes, 5),
              QStringList({"smn", " rhi\\x0D", " rhb1\\x0D", "up\\x0D123\\x0D + sti\\x0D", " rhe\\x0D"}));
    EXPECT_GE(writes[writes.size() - 2].when.msecsTo(writes.back().when), 1500);

    // Ctrl-C ends a hold early, and manual control is still left.
    CliProcess held({"--port", emulator.devicePath(), "--trace", path("held.log"), "drive", "2", "down", "--hold",
                     "600"});
    const QDeadlineTimer bound(30000);
    while (!contents(path("held.log")).contains("down\\x0D123") && !bound.hasExpired())
        QThread::msleep(20);
    const CliRun interrupted = held.interruptAndWait();
    EXPECT_EQ(interrupted.exitCode, 130) << interrupted.describe();
    EXPECT_EQ(lastWrites(writesOf(path("held.log")), 2),
              QStringList({"down\\x0D123\\x0D + sti\\x0D", " rhe\\x0D"}));

    // The beginning of a name will do when only one name begins so.
    const CliRun byPrefix = cli({"--trace", path("prefix.log"), "drive", "bad o", "stop"});
    ASSERT_EQ(byPrefix.exitCode, 0) << byPrefix.describe();
    EXPECT_EQ(lastWrites(writesOf(path("prefix.log")), 3).first(), QStringLiteral(" rhb2\\x0D"));

    // Several fit, or none: exit 1 with the candidates, and manual control is never entered.
    const CliRun ambiguous = cli({"--trace", path("ambiguous.log"), "drive", "bad", "up"});
    EXPECT_EQ(ambiguous.exitCode, 1) << ambiguous.describe();
    EXPECT_TRUE(ambiguous.err.contains("2 \"Bad oben\", 3 \"Bad unten\"")) << ambiguous.describe();
    EXPECT_FALSE(ambiguous.err.contains("Küche")) << ambiguous.describe();
    EXPECT_FALSE(wroteManualControl(path("ambiguous.log")));
    const CliRun unknown = cli({"--trace", path("unknown.log"), "drive", "Garage", "up"});
    EXPECT_EQ(unknown.exitCode, 1) << unknown.describe();
    EXPECT_TRUE(unknown.err.contains("1 \"Küche\", 2 \"Bad oben\"")) << unknown.describe();
    EXPECT_EQ(unknown.errLines().size(), 1) << unknown.describe();
    EXPECT_FALSE(wroteManualControl(path("unknown.log")));

    // A controller of eight motors has no motor 9.
    emulator.stop();
    startEmulator({"--model", "VC-7000 R---4--- 8M"});
    const CliRun beyond = cli({"--trace", path("beyond.log"), "drive", "9", "up"});
    EXPECT_EQ(beyond.exitCode, 1) << beyond.describe();
    EXPECT_TRUE(beyond.err.contains("motors 1 to 8")) << beyond.describe();
    EXPECT_FALSE(wroteManualControl(path("beyond.log")));
}

TEST_F(CliScripts, JsonOutputParsesAndCarriesTheDocumentedKeys)
{
    startEmulator({"--no-sensor", "inside", "--no-sensor", "humidity"});
    auto parsed = [](const QByteArray &text) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << text.toStdString();
        return doc;
    };

    const CliRun info = cli({"info", "--json"});
    ASSERT_EQ(info.exitCode, 0) << info.describe();
    const QJsonObject o = parsed(info.out).object();
    EXPECT_EQ(keysOf(o), sorted({"model", "modelKnown", "firmware", "firmwareNumber", "date", "time", "family",
                                 "motors", "switchingTimesPerDay", "sensors"}));
    EXPECT_EQ(o["firmwareNumber"].toInt(), 7090);
    EXPECT_EQ(o["motors"].toInt(), 32);
    EXPECT_EQ(keysOf(o["family"].toObject()), sorted({"shadingFamily", "conservatoryFamily", "pushButton",
                                                      "radioPushButton", "groupControl", "bankModel",
                                                      "eightSwitchingTimes"}));
    EXPECT_TRUE(o["family"]["shadingFamily"].isBool());
    const QJsonObject sensors = o["sensors"].toObject();
    EXPECT_EQ(keysOf(sensors), sorted(kSensorKeys));
    for (const char *absent : {"insideTemperature", "insideMin", "insideMax", "humidity"})
        EXPECT_TRUE(sensors[absent].isNull()) << absent;
    EXPECT_TRUE(sensors["outsideTemperature"].isDouble());
    EXPECT_TRUE(sensors["rain"].isBool());

    const CliRun monitor = cli({"monitor", "--count", "2", "--json"});
    ASSERT_EQ(monitor.exitCode, 0) << monitor.describe();
    ASSERT_EQ(monitor.outLines().size(), 2) << monitor.describe();
    for (const QString &line : monitor.outLines()) {
        const QJsonObject answer = parsed(line.toUtf8()).object();
        EXPECT_EQ(keysOf(answer), sorted(kSensorKeys + QStringList{"time"}));
        EXPECT_TRUE(QDateTime::fromString(answer["time"].toString(), Qt::ISODate).isValid());
        EXPECT_TRUE(answer["humidity"].isNull());
    }

    const CliRun show = runCli({"show", path("changed.vsk"), "--json"});
    ASSERT_EQ(show.exitCode, 0) << show.describe();
    const QJsonObject schedule = parsed(show.out).object();
    EXPECT_EQ(keysOf(schedule), sorted({"motors", "freeMemoryPercent", "memoryExhausted"}));
    const QJsonArray motors = schedule["motors"].toArray();
    ASSERT_EQ(motors.size(), 32);
    EXPECT_EQ(keysOf(motors[1].toObject()), sorted({"motor", "name", "switchingTimes"}));
    EXPECT_EQ(motors[1]["name"].toString(), QStringLiteral("Küche"));
    const QJsonObject time = motors[1]["switchingTimes"][0].toObject();
    EXPECT_EQ(keysOf(time), sorted({"weekday", "entry", "time", "direction", "runTimeSeconds", "group", "function"}));
    EXPECT_EQ(time["time"].toString(), QStringLiteral("07:30"));
    EXPECT_EQ(time["runTimeSeconds"].toInt(), 39);
    EXPECT_EQ(schedule["freeMemoryPercent"].toInt(), 99);

    const CliRun diff = runCli({"diff", path("base.vsk"), path("changed.vsk"), "--json"});
    EXPECT_EQ(diff.exitCode, 10) << diff.describe();
    const QJsonArray changes = parsed(diff.out).array();
    ASSERT_FALSE(changes.isEmpty());
    EXPECT_EQ(keysOf(changes[0].toObject()), sorted({"kind", "group", "motor", "name", "old", "new"}));
    const QJsonObject shading = changes[2].toObject();
    EXPECT_EQ(keysOf(shading), sorted({"kind", "group", "motor", "name", "caption", "old", "new"}));
    EXPECT_EQ(shading["kind"].toString(), QStringLiteral("automation"));
    EXPECT_EQ(shading["caption"].toString(), QStringLiteral("Grenz-Lux-Wert"));
}

TEST_F(CliScripts, MonitorAppendsALinePerAnswerToTheCsvFile)
{
    startEmulator({"--no-sensor", "outside"});
    const QString csv = path("sensors.csv");
    ASSERT_EQ(cli({"monitor", "--count", "2", "--csv", csv}).exitCode, 0);
    const CliRun again = cli({"monitor", "--count", "1", "--csv", csv, "--json"});
    ASSERT_EQ(again.exitCode, 0) << again.describe();
    EXPECT_EQ(again.outLines().size(), 1) << "stdout carries the lines as ever";

    const QStringList lines = QString::fromUtf8(contents(csv)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << "one header, then a line per answer of both runs";
    EXPECT_EQ(lines[0], QStringLiteral("time;") + kSensorKeys.join(u';'));
    const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\S*;\\d+;\\d+;"
                                                  "-?\\d+(,\\d+)?;-?\\d+;-?\\d+;;;;\\d+;\\d+;\\d+;\\d+;[01];[01]$"));
    for (int i = 1; i < 4; ++i)
        EXPECT_TRUE(shape.match(lines[i]).hasMatch()) << lines[i].toStdString();

    const CliRun folder = cli({"monitor", "--count", "1", "--csv", dir.path()});
    EXPECT_EQ(folder.exitCode, 6) << folder.describe();
}

TEST_F(CliScripts, DiffListsExactlyTheChangedSettingsInTheWindowsOrder)
{
    const CliRun diff = runCli({"diff", path("base.vsk"), path("changed.vsk")});
    EXPECT_EQ(diff.exitCode, 10) << diff.describe();
    EXPECT_TRUE(diff.err.isEmpty()) << diff.describe();
    const QString empty = QString(8, u' ') + QStringLiteral("|  ");
    const QStringList expected{
        QStringLiteral("Motor- bzw. Raumname, Motor 2: \"Motor 2\" -> \"Küche\""),
        QStringLiteral("Schaltzeiten, Küche, Mo:"),
        QStringLiteral("    Mo  Motor 2") + QString(9, u' ') + empty.repeated(8),
        QStringLiteral(" -> Mo  Küche") + QString(11, u' ') + QStringLiteral("07:30 ^ |  ") + empty.repeated(7),
        QStringLiteral("Beschattungsautomatik, Motor 1: Grenz-Lux-Wert 244 -> 255"),
        QStringLiteral("Dämmerungsautomatik Morgen, Motor 1: Dämmerungsautomatik ist morgens aktiviert ab "
                       "08:00 -> 09:00"),
        QStringLiteral("Dämmerungsautomatik Abend, Motor 1: Grenz-Lux-Wert 110 -> 120"),
        QStringLiteral("Einfahren bei Wind, Motor 1: Bei Wingeschwindigkeit größer 30 km/h -> 40 km/h"),
        QStringLiteral("Einfahren bei Regen, Motor 1: Bei Regen fährt der Antrieb in Richtung ↑ -> ↓"),
        QStringLiteral("Luftfeuchtigkeits-Steuerung, Motor 1: aktiviert von - bis 08:00 - 21:00 -> 09:00 - 21:00"),
        QStringLiteral("Proportionale Temperatursteuerung, Motor 1: Anzahl Schritte 6 -> 8"),
        QStringLiteral("Innen-Temperatursteuerung, Motor 1: Temperatur-Schwelle 2 20° -> 16°"),
        QStringLiteral("Außen-Temperatursteuerung, Motor 1: Stellzeit 40s -> 60s"),
        QStringLiteral("Heizungs-Steuerung, Motor 1: Betriebsart Heizbetrieb -> Kühlbetrieb"),
        QStringLiteral("Tast-Automatik, Motor 1: EIN / AUS AUS -> EIN"),
        QStringLiteral("Reversier-Automatik, Motor 1: Rücklauf nach einer Abwärtsbewegung 0,6 s -> 1,0 s"),
        QStringLiteral("Alarm-Setup, Motor 1: ○ -> ↑"),
        QStringLiteral("Gruppen-Zentralsteuerung, Soft-GZS, Küche: Gruppe 1 [ ] -> [x]"),
        QStringLiteral("Gruppen-Zentralsteuerung, Soft-GZS: Soft-GZS aktiv [ ] -> [x]"),
        QStringLiteral("Sensor-Typen: Offset Außentemperatur 0 °C -> + 2 °C"),
    };
    EXPECT_EQ(diff.outLines(), expected) << diff.describe();

    const CliRun same = runCli({"diff", path("changed.vsk"), path("changed.vsk")});
    EXPECT_EQ(same.exitCode, 0) << same.describe();
    EXPECT_TRUE(same.out.isEmpty() && same.err.isEmpty()) << same.describe();
    const CliRun missing = runCli({"diff", path("base.vsk"), path("missing.vsk")});
    EXPECT_EQ(missing.exitCode, 6) << missing.describe();
    EXPECT_TRUE(missing.out.isEmpty()) << missing.describe();
}

TEST_F(CliScripts, DiffWithTheControllerReadsItAndWritesNothing)
{
    startEmulator();
    ASSERT_EQ(cli({"write", path("changed.vsk")}).exitCode, 0);

    const CliRun same = cli({"--trace", path("same.log"), "diff", path("changed.vsk"), "--controller"});
    EXPECT_EQ(same.exitCode, 0) << same.describe();
    EXPECT_TRUE(same.out.isEmpty()) << same.describe();
    // Requests only: every record the PC writes begins with " r".
    const auto writes = writesOf(path("same.log"));
    EXPECT_FALSE(writes.empty());
    EXPECT_TRUE(std::none_of(writes.begin(), writes.end(), [](const Write &w) { return w.bytes.startsWith(" r"); }));

    // The controller's configuration is the newer one: the same lines as between the files.
    const CliRun older = cli({"diff", path("base.vsk"), "--controller"});
    EXPECT_EQ(older.exitCode, 10) << older.describe();
    EXPECT_EQ(older.out, runCli({"diff", path("base.vsk"), path("changed.vsk")}).out);
}
