#include "bridge_fixture.h"

#include <csignal>

namespace vandorelle::test {
namespace {

using Commands = BridgeFixture;

const char *const kWords[] = {"OPEN", "CLOSE", "STOP"};
const char *const kWire[] = {"up", "down", "off"};

// The manual-control records the emulator received, as its trace names them.
QStringList manualRecords(const QString &trace)
{
    QStringList out;
    for (const QString &line : trace.split(u'\n')) {
        const qsizetype at = line.indexOf(QStringLiteral("<- manual "));
        if (at >= 0)
            out << line.mid(at + 10);
    }
    return out;
}

QString motorRecord(int motor, const char *wire) { return QStringLiteral("rhb %1,%2,123, + sti").arg(motor).arg(wire); }

// Manual control is entered before every run of commands and left after it.
bool wellFormedSessions(const QStringList &records)
{
    bool entered = false;
    for (const QString &r : records) {
        if (r.startsWith(QStringLiteral("rhi"))) {
            if (entered)
                return false;
            entered = true;
        } else if (r.startsWith(QStringLiteral("rhe"))) {
            if (!entered)
                return false;
            entered = false;
        } else if (!entered) {
            return false;
        }
    }
    return true;
}

TEST_F(Commands, ExactlyTheManualControlBytesThenLeftAfterTheTimeout)
{
    // A retained command waiting at the broker would be carried out on every connection.
    watcher().publish(topics.of("motor/1/set"), "CLOSE", true);
    startAll({}, {"--verbose", "--manual-timeout", "3"});
    ASSERT_TRUE(watcher().waitForMessage(topics.of("error"), "retained", kBoundMs)) << bridge.log().toStdString();
    watcher().publish(topics.of("motor/1/set"), QByteArray(), true);

    watcher().publish(topics.of("motor/3/set"), "CLOSE");
    ASSERT_TRUE(waitForTrace(motorRecord(3, "down"))) << bridge.log().toStdString();
    watcher().publish(topics.of("motor/3/set"), "STOP");
    ASSERT_TRUE(waitForTrace(motorRecord(3, "off")));
    watcher().publish(topics.of("motor/3/set"), "open"); // case does not matter
    ASSERT_TRUE(waitForTrace(motorRecord(3, "up")));
    ASSERT_TRUE(bridge.waitForLog("left manual control (3 s without a command)", kBoundMs));
    ASSERT_TRUE(eventually([&] { return manualRecords(trace()).endsWith("rhe "); }, kBoundMs));

    const QStringList records = manualRecords(trace());
    EXPECT_TRUE(wellFormedSessions(records)) << records.join(" | ").toStdString();
    EXPECT_EQ(records.first(), "rhi ");
    EXPECT_EQ(records.filter("rhb"), QStringList({motorRecord(3, "down"), motorRecord(3, "off"), motorRecord(3, "up")}));

    // Byte for byte, in this order, as the bridge wrote them.
    const QString log = bridge.log();
    qsizetype at = 0;
    for (const char *write : {R"(" rhi\r")", R"(" rhb3\r")", R"("down\r123\r + sti\r")", R"(" rhb3\r")",
                              R"("off\r123\r + sti\r")", R"(" rhb3\r")", R"("up\r123\r + sti\r")", R"(" rhe\r")"}) {
        at = log.indexOf(QStringLiteral("to the controller: ") + QLatin1String(write), at);
        ASSERT_GE(at, 0) << write << "\n" << log.toStdString();
        ++at;
    }

    // Refused, with the reason at the broker; nothing reaches the line.
    watcher().publish(topics.of("motor/33/set"), "CLOSE");
    ASSERT_TRUE(watcher().waitForMessage(topics.of("error"), "motor/33/set", kBoundMs));
    watcher().publish(topics.of("motor/3/set"), "DOWN");
    ASSERT_TRUE(watcher().waitForMessage(topics.of("error"), "none of OPEN, CLOSE, STOP", kBoundMs));
    watcher().publish(topics.of("bridge/set"), "SLEEP");
    ASSERT_TRUE(watcher().waitForMessage(topics.of("error"), "neither PAUSE nor RESUME", kBoundMs));
    EXPECT_EQ(manualRecords(trace()).filter("rhb").size(), 3);

    // The wind maximum is reset with "swl".
    watcher().publish(topics.of("wind_max/reset"), "PRESS");
    EXPECT_TRUE(waitForTrace("<- swl"));
}

TEST_F(Commands, ABurstOfAThousandNeverHoldsUpThePollNorGrowsMemory)
{
    startAll();
    const long before = bridge.residentKiB();
    const qsizetype burstStart = watcher().messages().size();
    const qsizetype traceStart = trace().size();

    for (int i = 0; i < 1000; ++i)
        watcher().publish(topics.of(QStringLiteral("motor/%1/set").arg(i % 32 + 1)), kWords[i % 3]);

    // The last command of each motor is carried out, whatever came before it.
    auto lastOf = [&](int motor) {
        const QStringList records = manualRecords(trace().mid(traceStart));
        const QString prefix = QStringLiteral("rhb %1,").arg(motor);
        for (auto it = records.crbegin(); it != records.crend(); ++it)
            if (it->startsWith(prefix))
                return *it;
        return QString();
    };
    auto expectedLast = [](int motor) {
        const int last = (motor - 1) + 32 * ((999 - (motor - 1)) / 32); // the last i of this motor
        return motorRecord(motor, kWire[last % 3]);
    };
    ASSERT_TRUE(eventually([&] {
        for (int m = 1; m <= 32; ++m)
            if (lastOf(m) != expectedLast(m))
                return false;
        return true;
    }, 2 * kBoundMs)) << bridge.log().toStdString();

    // The poll went on throughout: the controller never looked silent, and is polled still.
    const int polled = int(trace().mid(traceStart).count(QStringLiteral("<- skd")));
    ASSERT_TRUE(eventually([&] { return trace().mid(traceStart).count(QStringLiteral("<- skd")) >= polled + 2; },
                           kBoundMs));
    const QList<Message> since = watcher().messages().mid(burstStart);
    EXPECT_FALSE(std::any_of(since.begin(), since.end(), [&](const Message &m) {
        return m.topic == topics.of("status") && m.payload == "offline";
    }));
    EXPECT_FALSE(bridge.log().contains("does not answer")) << bridge.log().toStdString();
    EXPECT_FALSE(bridge.log().contains("dropped"));
    // Waiting commands of a motor are replaced, not piled up.
    const QStringList sent = manualRecords(trace().mid(traceStart)).filter("rhb");
    EXPECT_LT(sent.size(), 1000);
    EXPECT_GE(sent.size(), 32);
    EXPECT_TRUE(wellFormedSessions(manualRecords(trace())));

    [[maybe_unused]] const long after = bridge.residentKiB();
    ASSERT_GT(before, 0);
#ifndef __SANITIZE_ADDRESS__ // its quarantine holds on to freed memory by design
    EXPECT_LT(after - before, 8 * 1024) << before << " KiB before, " << after << " KiB after";
#endif
}

} // namespace
} // namespace vandorelle::test
