#include "cli_runner.h"

#include "config/config_file.h"
#include "config/store.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vandorelle;
using namespace vandorelle::test;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Errors are one line beginning with the program's name, and nothing reaches stdout.
void expectOneErrorLine(const CliRun &run)
{
    ASSERT_EQ(run.errLines().size(), 1) << run.describe();
    EXPECT_TRUE(run.errLines().first().startsWith(QLatin1String("vandorelle-cli: "))) << run.describe();
    EXPECT_TRUE(run.out.isEmpty()) << run.describe();
}

} // namespace

TEST(CliUsage, MistakesOnTheCommandLineExitOneWithOneLine)
{
    const QList<QStringList> cases = {
        {},
        {"frobnicate"},
        {"read"},
        {"read", "a.vsk", "b.vsk"},
        {"show", ""},
        {"--timeout", "0", "info"},
        {"--timeout", "-3", "info"},
        {"--timeout", "zehn", "info"},
        {"--port", "COM9", "info"},
        {"--port", "COM0", "info"},
        {"--port=", "info"},
        {"monitor", "--count", "0"},
        {"monitor", "--count", "drei"},
        {"read", "x.vsk", "--from-start"},
        {"info", "--count", "3"},
        {"--bogus", "info"},
        {"info", "--trace"},
        {"--quiet=yes", "info"},
        {"help", "frobnicate"},
        {"drive"},
        {"drive", "3"},
        {"drive", "33", "up"},
        {"drive", "0", "up"},
        {"drive", "3", "sideways"},
        {"drive", "", "up"},
        {"drive", "3", "up", "--hold", "-1"},
        {"drive", "3", "up", "--hold", "ewig"},
        {"info", "--hold", "1"},
        {"diff", "a.vsk"},
        {"diff", "a.vsk", "b.vsk", "c.vsk"},
        {"diff", "a.vsk", "b.vsk", "--controller"},
        {"read", "x.vsk", "--json"},
        {"monitor", "--csv"},
        {"show", "x.vsk", "--csv", "y.csv"},
        {"info", "--controller"},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliRun run = runCli(args);
        ASSERT_TRUE(run.finished) << run.describe();
        EXPECT_EQ(run.exitCode, 1) << run.describe();
        expectOneErrorLine(run);
    }
}

TEST(CliUsage, HelpForTheToolAndForEachCommand)
{
    const CliRun tool = runCli({"--help"});
    EXPECT_EQ(tool.exitCode, 0) << tool.describe();
    EXPECT_TRUE(tool.err.isEmpty());
    for (const char *command : {"info", "read FILE.vsk", "write FILE.vsk", "logbook FILE.vlg [--from-start]",
                                "logbook-clear", "monitor [--count N]", "show FILE.vsk", "--port PORT",
                                "drive MOTOR up|stop|down", "diff A.vsk B.vsk|--controller", "10 diff",
                                "--timeout SECONDS", "--trace FILE", "--quiet", "Exit codes"})
        EXPECT_TRUE(tool.out.contains(command)) << command;

    // "COMMAND --help" and "help COMMAND" name the command's own arguments; options may
    // stand before or after the command.
    const QList<std::pair<QStringList, const char *>> commands = {
        {{"read", "--help"}, "read FILE.vsk"},
        {{"--help", "write"}, "write FILE.vsk"},
        {{"help", "logbook"}, "--from-start"},
        {{"monitor", "-h"}, "--count N"},
        {{"show", "x.vsk", "--help"}, "Needs no port"},
    };
    for (const auto &[args, expected] : commands) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliRun run = runCli(args);
        EXPECT_EQ(run.exitCode, 0) << run.describe();
        EXPECT_TRUE(run.out.contains(expected)) << run.describe();
        EXPECT_FALSE(run.out.contains("Commands:")) << "the whole tool's help instead of the command's";
    }
}

TEST(CliPort, APortThatCannotBeOpenedExitsTwo)
{
    const CliRun path = runCli({"--port", "/nonexistent/tty", "info"});
    EXPECT_EQ(path.exitCode, 2) << path.describe();
    expectOneErrorLine(path);
    EXPECT_TRUE(path.err.contains("/nonexistent/tty")) << path.describe();

    // COM names map through the same variables as the window's port selector.
    const CliRun com = runCli({"--port", "com4", "read", "x.vsk"}, {{}, {"VANDORELLE_COM4=/nonexistent/com4"}});
    EXPECT_EQ(com.exitCode, 2) << com.describe();
    EXPECT_TRUE(com.err.contains("/nonexistent/com4")) << com.describe();

    // Without --port the settings file of the working directory names the port.
    QTemporaryDir dir;
    writeBytes(dir.filePath("Vandorelle.ini"), "6\r\n");
    const CliRun settings =
        runCli({"logbook-clear"}, {dir.path(), {"VANDORELLE_COM6=/nonexistent/com6"}});
    EXPECT_EQ(settings.exitCode, 2) << settings.describe();
    EXPECT_TRUE(settings.err.contains("COM6")) << settings.describe();
}

TEST(CliShow, PrintsTheMotorSortedScheduleAndTheFreeMemory)
{
    ConfigStore store;
    store.MotorNamen[0] = QStringLiteral("Küche");
    SchaltzeitEntry &monday = store.entry(1, 1, 1);
    monday.Zeit = 7 * 60 + 30 + 1;
    monday.Richtung = 0;
    SchaltzeitEntry &evening = store.entry(3, 2, 2);
    evening.Zeit = 21 * 60 + 1;
    evening.Richtung = 1;
    QTemporaryDir dir;
    const QString path = dir.filePath("haus.vsk");
    ASSERT_EQ(saveConfigFile(path, store), QString());

    const CliRun run = runCli({"show", path});
    ASSERT_EQ(run.exitCode, 0) << run.describe();
    const QStringList lines = run.outLines();
    ASSERT_EQ(lines.size(), 256) << run.describe();
    // 32 blocks of 7 weekdays, a separator after each block but the last.
    for (int i = 0; i < 255; ++i) {
        const bool separator = (i + 1) % 8 == 0;
        EXPECT_EQ(lines[i].startsWith(QLatin1String("----")), separator) << i << ": " << lines[i].toStdString();
    }
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Mo  Küche"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QLatin1String("07:30 ^"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[8 + 2].startsWith(QLatin1String("Mi  Motor 2"))) << lines[10].toStdString();
    EXPECT_TRUE(lines[8 + 2].contains(QLatin1String("21:00 v"))) << lines[10].toStdString();
    EXPECT_TRUE(lines[254].startsWith(QLatin1String("So  Motor 32")));
    EXPECT_EQ(lines[255], QStringLiteral("Freier Schaltzeiten-Speicher: 99%"));
    EXPECT_TRUE(run.err.isEmpty()) << run.describe();

    // 240 single-day entries fill the controller's memory: the window's warning follows.
    ConfigStore full;
    for (int i = 0; i < 240; ++i)
        full.Schaltzeit[std::size_t(i)].Zeit = 60 + i;
    ASSERT_EQ(saveConfigFile(path, full), QString());
    const QStringList fullLines = runCli({"show", path}).outLines();
    ASSERT_EQ(fullLines.size(), 257);
    EXPECT_EQ(fullLines[255], QStringLiteral("Freier Schaltzeiten-Speicher: 0%"));
    EXPECT_TRUE(fullLines[256].contains(QLatin1String("Schaltzeiten-Speicher nicht ausreichend")));
}

TEST(CliFiles, ABadConfigurationFileExitsSixWithItsLineAndNothingIsSent)
{
    QTemporaryDir dir;
    const QString garbage = dir.filePath("garbage.vsk");
    writeBytes(garbage, "[Beschattung_Motor01]\r\nEinAus=Ein\r\nTemperatur=zw\xF6lf\r\nVon=5\r\n");
    // A saved file cut inside its eleventh line, and one that holds only the motor names.
    const QByteArray whole = writeConfigFile(ConfigStore{});
    const QString truncated = dir.filePath("truncated.vsk");
    writeBytes(truncated, whole.left(whole.indexOf("Motor10=") + 3));
    const QString namesOnly = dir.filePath("names.vsk");
    writeBytes(namesOnly, whole.left(whole.indexOf("[Schaltzeit_")));
    QByteArray late = whole;
    late.replace("[Schaltzeit_Mo_Motor01_Nr1]\r\nRichtung=Auf\r\nStunde=--", "[Schaltzeit_Mo_Motor01_Nr1]\r\nRichtung=Auf\r\nStunde=99");
    const QString outOfRange = dir.filePath("late.vsk");
    writeBytes(outOfRange, late);
    const QString binary = dir.filePath("binary.vsk");
    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise += char((i * 73 + 11) % 256);
    writeBytes(binary, noise);

    struct Case {
        QStringList args;
        const char *expected;
    };
    // write loads the file before it opens the port: the missing port is never reached.
    const Case cases[] = {
        {{"show", garbage}, "garbage.vsk:3: "},
        {{"--port", "/nonexistent/tty", "write", garbage}, "garbage.vsk:3: "},
        {{"--port", "/nonexistent/tty", "write", truncated}, "truncated.vsk:1: Die Datei endet unvollständig im Abschnitt [Motor-Namen_]"},
        {{"--port", "/nonexistent/tty", "write", namesOnly}, "names.vsk:35: Die Datei ist unvollständig: Abschnitt [Schaltzeit_Mo_Motor01_Nr1] fehlt"},
        {{"--port", "/nonexistent/tty", "write", outOfRange}, "late.vsk:37: Wert '99' außerhalb des gültigen Bereichs (Zeile 37)"},
        {{"show", binary}, "binary.vsk"},
        {{"show", dir.filePath("missing.vsk")}, "missing.vsk"},
        {{"show", dir.path()}, "not a file"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.exitCode, 6) << run.describe();
        expectOneErrorLine(run);
        EXPECT_TRUE(run.err.contains(c.expected)) << run.describe();
    }
    EXPECT_TRUE(runCli({"show", garbage}).err.contains("zwölf")) << "the file's text, decoded";
}
