#include "cli_runner.h"

#include "support/emulator.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace vandorelle::test;

namespace {

// Lines of the monitor until one satisfies `wanted`; empty when none came within the bound.
QString lineUntil(CliProcess &monitor, const std::function<bool(const QString &)> &wanted, int boundMs = 15000)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < boundMs) {
        const QString line = monitor.readLine(int(boundMs - t.elapsed()));
        if (line.isEmpty())
            continue;
        if (wanted(line))
            return line;
    }
    return {};
}

} // namespace

TEST(CliPorts, ListsTheNumberedPortsAsTheWindowDoesThenTheDevices)
{
    const CliRun run = runCli({"ports"}, {QString(), {"VANDORELLE_COM3=/tmp/vandorelle-line"}});
    ASSERT_EQ(run.exitCode, 0) << run.describe();
    const QStringList lines = run.outLines();
    ASSERT_GE(lines.size(), 8) << run.describe();
    EXPECT_EQ(lines[0], "/dev/ttyS0\t-\tCOM 1");
    EXPECT_EQ(lines[2], "/tmp/vandorelle-line\t-\tCOM 3");
    EXPECT_EQ(lines[7], "/dev/ttyS7\t-\tCOM 8");
    // Whatever devices this machine has: path, by-id name or "-", description, each a --port name.
    for (qsizetype i = 8; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].split(u'\t').size(), 3) << lines[i].toStdString();
}

TEST(CliPorts, JsonListsTheSamePortsWithNullsForWhatIsMissing)
{
    const CliRun text = runCli({"ports"}, {QString(), {"VANDORELLE_COM3=/tmp/vandorelle-line"}});
    const CliRun run = runCli({"ports", "--json"}, {QString(), {"VANDORELLE_COM3=/tmp/vandorelle-line"}});
    ASSERT_EQ(run.exitCode, 0) << run.describe();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.describe();
    const QJsonArray ports = document.array();
    ASSERT_EQ(ports.size(), text.outLines().size());
    const QJsonObject com3 = ports[2].toObject();
    EXPECT_EQ(com3["path"].toString(), "/tmp/vandorelle-line");
    EXPECT_EQ(com3["label"].toString(), "COM 3");
    EXPECT_EQ(com3["com"].toInt(), 3);
    EXPECT_TRUE(com3["byId"].isNull());
    for (qsizetype i = 8; i < ports.size(); ++i) {
        const QJsonObject device = ports[i].toObject();
        EXPECT_TRUE(device["com"].isNull());
        EXPECT_EQ(device["path"].toString(), text.outLines()[i].section(u'\t', 0, 0));
    }
}

TEST(CliPorts, MonitorSaysWhenTheControllerIsLostAndBackAndKeepsGoing)
{
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyAdapter");
    const QStringList simOptions{"--baud", "0", "--link", link};
    Emulator emulator;
    ASSERT_TRUE(emulator.start(simOptions)) << emulator.lastError().toStdString();

    CliProcess monitor({"--port", link, "--timeout", "5", "monitor"});
    const auto sensorLine = [](const QString &l) { return l.contains("brightness"); };
    ASSERT_FALSE(lineUntil(monitor, sensorLine).isEmpty());

    // Pulled: one line, and the monitor waits however long the device stays away.
    emulator.stop();
    const QString lost = lineUntil(monitor, [](const QString &l) { return !l.contains("brightness"); });
    EXPECT_TRUE(lost.contains(QStringLiteral("controller lost: %1 disappeared").arg(link))) << lost.toStdString();
    EXPECT_TRUE(monitor.running());

    // Plugged in again: back within two seconds, then the values go on.
    ASSERT_TRUE(emulator.start(simOptions)) << emulator.lastError().toStdString();
    QElapsedTimer sinceReturn;
    sinceReturn.start();
    const QString back = lineUntil(monitor, [](const QString &) { return true; });
    EXPECT_LT(sinceReturn.elapsed(), 2000);
    EXPECT_TRUE(back.contains(QStringLiteral("controller back on %1").arg(link))) << back.toStdString();
    EXPECT_FALSE(lineUntil(monitor, sensorLine).isEmpty());

    const CliRun run = monitor.interruptAndWait();
    EXPECT_EQ(run.exitCode, 0) << run.describe();
}
