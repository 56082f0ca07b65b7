#include "bridge_fixture.h"

#include <QElapsedTimer>
#include <QProcess>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vandorelle::test {
namespace {

using Resilience = BridgeFixture;
using Security = BridgeFixture;
using PortSharing = BridgeFixture;

int runCliInfo(const QString &port, QByteArray &output)
{
    QProcess cli;
    cli.setProcessChannelMode(QProcess::MergedChannels);
    cli.start(QStringLiteral(VANDORELLE_BINARY_DIR "/vandorelle-cli"), {"--port", port, "info"});
    if (!cli.waitForFinished(60000)) {
        cli.kill();
        cli.waitForFinished();
        return -1;
    }
    output = cli.readAll();
    return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

TEST_F(Resilience, BrokerRestartAndControllerLossAndReturn)
{
    startAll();
    const QString cover = topics.discovery("cover", "motor_1");
    ASSERT_TRUE(watcher().waitForMessage(cover, "motor_1", kBoundMs));

    // A broker that crashes and comes back has forgotten everything retained: it is all there
    // again within 5 s of its return.
    broker.kill();
    ASSERT_TRUE(broker.restart()) << broker.error().toStdString();
    QElapsedTimer sinceBack;
    sinceBack.start();
    Subscriber fresh(broker.port(), {"vandorelle/#", "homeassistant/#"});
    ASSERT_TRUE(fresh.waitForPayload(topics.of("status"), "online", kBoundMs)) << bridge.log().toStdString();
    ASSERT_TRUE(fresh.waitForMessage(cover, "motor_1", kBoundMs));
    ASSERT_TRUE(fresh.waitForMessage(topics.of("state"), "sensors", kBoundMs));
    EXPECT_LT(sinceBack.elapsed(), 5000);
    EXPECT_TRUE(bridge.log().contains("lost the broker"));

    // The controller goes away: offline within 3 s, commands refused; back online when it returns.
    emulator.stop();
    QElapsedTimer sinceGone;
    sinceGone.start();
    ASSERT_TRUE(fresh.waitForPayload(topics.of("status"), "offline", kBoundMs));
    EXPECT_LT(sinceGone.elapsed(), 3000);
    fresh.publish(topics.of("motor/1/set"), "OPEN");
    ASSERT_TRUE(fresh.waitForMessage(topics.of("error"), "offline", kBoundMs));
    ASSERT_TRUE(startEmulator()) << emulator.lastError().toStdString();
    ASSERT_TRUE(fresh.waitForPayload(topics.of("status"), "online", kBoundMs)) << bridge.log().toStdString();
    EXPECT_TRUE(bridge.log().contains("is back"));
}

TEST_F(Resilience, SilentControllerIsOfflineWithinThreeSeconds)
{
    // The line stays, the controller stops answering after its 60th frame: past its names,
    // so that little of its own is still on the way when it falls silent.
    constexpr int kFrames = 60;
    startAll({"--silence-after", QString::number(kFrames)});
    QElapsedTimer sinceSilent;
    ASSERT_TRUE(eventually([&] { return trace().count(QStringLiteral("-> start_")) >= kFrames; }, kBoundMs));
    sinceSilent.start();
    ASSERT_TRUE(watcher().waitForPayload(topics.of("status"), "offline", kBoundMs));
    EXPECT_LT(sinceSilent.elapsed(), 3000);
    EXPECT_TRUE(bridge.log().contains("does not answer"));
}

TEST_F(Security, WrongPasswordAndCertificates)
{
    ASSERT_TRUE(startEmulator());
    BridgeProcess wrong;
    ASSERT_TRUE(wrong.start({"--port", link, "--broker", QStringLiteral("127.0.0.1:%1").arg(broker.port()), "--id",
                             "wrong", "--user", Broker::kUser, "--password-file", broker.passwordFile("falsch")}));
    EXPECT_EQ(wrong.waitForExit(kBoundMs), 3) << wrong.log().toStdString();
    const QString said = wrong.log();
    EXPECT_TRUE(said.contains("error: the broker at") && said.contains("refused the connection")
                && said.contains("user name or password") && said.contains("(user \"bridge\")"))
        << said.toStdString();

    const TestCertificates &tls = testCertificates();
    const QStringList overTls{"--broker", QStringLiteral("127.0.0.1:%1").arg(broker.tlsPort()), "--id", topics.id,
                              "--user", Broker::kUser, "--password-file", broker.passwordFile()};
    BridgeProcess otherCa;
    ASSERT_TRUE(otherCa.start(QStringList{"--port", link, "--ca-file", tls.otherCa} + overTls));
    EXPECT_EQ(otherCa.waitForExit(kBoundMs), 4) << otherCa.log().toStdString();
    EXPECT_TRUE(otherCa.log().contains("TLS connection to the broker")) << otherCa.log().toStdString();

    ASSERT_TRUE(bridge.start(QStringList{"--port", link, "--ca-file", tls.ca} + overTls));
    ASSERT_TRUE(watcher().waitForPayload(topics.of("status"), "online", kBoundMs)) << bridge.log().toStdString();
    EXPECT_TRUE(bridge.log().contains("(TLS)"));
}

TEST_F(Security, OldFirmwareEndsTheBridge)
{
    ASSERT_TRUE(startEmulator({"--firmware", "6.990"}));
    ASSERT_TRUE(bridge.start(bridgeArgs()));
    EXPECT_EQ(bridge.waitForExit(kBoundMs), 5) << bridge.log().toStdString();
    EXPECT_TRUE(bridge.log().contains("firmware V6.990, older than V7.000")) << bridge.log().toStdString();
    EXPECT_TRUE(watcher().waitForPayload(topics.of("status"), "offline", kBoundMs));
}

TEST_F(PortSharing, PauseReleasesThePortResumeTakesItBackAndTermLeavesCleanly)
{
    startAll();
    watcher().publish(topics.of("bridge/set"), "PAUSE");
    ASSERT_TRUE(watcher().waitForPayload(topics.of("bridge/state"), "paused", kBoundMs));
    ASSERT_TRUE(bridge.waitForLog("port released", kBoundMs));
    EXPECT_EQ(watcher().latest(topics.of("status")), QByteArray("offline"));
    QByteArray output;
    EXPECT_EQ(runCliInfo(link, output), 0) << output.toStdString();

    // Someone else holds the port: tried again every 5 s, said once.
    const int held = ::open(link.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    watcher().publish(topics.of("bridge/set"), "RESUME");
    ASSERT_TRUE(bridge.waitForLog("trying again every 5 s", kBoundMs)) << bridge.log().toStdString();
    ASSERT_TRUE(watcher().waitForPayload(topics.of("bridge/state"), "running", kBoundMs));
    EXPECT_EQ(watcher().latest(topics.of("status")), QByteArray("offline"));
    ::close(held);
    ASSERT_TRUE(watcher().waitForPayload(topics.of("status"), "online", kBoundMs)) << bridge.log().toStdString();
    EXPECT_EQ(bridge.log().count("trying again every 5 s"), 1);

    // The signals do the same.
    bridge.sendSignal(SIGUSR1);
    ASSERT_TRUE(watcher().waitForPayload(topics.of("bridge/state"), "paused", kBoundMs));
    bridge.sendSignal(SIGUSR2);
    ASSERT_TRUE(watcher().waitForPayload(topics.of("status"), "online", kBoundMs));

    // SIGTERM in manual control: left cleanly, offline said, exit 0.
    watcher().publish(topics.of("motor/2/set"), "CLOSE");
    ASSERT_TRUE(waitForTrace("rhb 2,down"));
    bridge.sendSignal(SIGTERM);
    EXPECT_EQ(bridge.waitForExit(kBoundMs), 0) << bridge.log().toStdString();
    EXPECT_TRUE(waitForTrace("<- manual rhe"));
    EXPECT_TRUE(watcher().waitForPayload(topics.of("status"), "offline", kBoundMs));
    EXPECT_TRUE(watcher().waitForPayload(topics.of("bridge/state"), "stopped", kBoundMs));
}

} // namespace
} // namespace vandorelle::test
