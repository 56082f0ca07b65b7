#include "test_exchange_rig.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdio>

using namespace vandorelle;
using namespace vandorelle::test;

// How close the exchanges come to the line's own pace (960 characters a second at 9600
// baud), with the controller's memory full (240 switching times, all on Monday). Prints the
// figures; asserts only that both exchanges complete. Takes about a minute, so it runs only
// when VANDORELLE_LINE_RATE is set; VANDORELLE_PROCESS_MS gives the controller's time per
// record (default 0), VANDORELLE_BAD_CHECK spoils every Nth record the controller sends, so the
// read needs rounds of re-requests.
TEST(ExchangeLineRate, FullFamilyAt9600Baud)
{
    if (qEnvironmentVariableIsEmpty("VANDORELLE_LINE_RATE"))
        GTEST_SKIP() << "set VANDORELLE_LINE_RATE=1 to measure";

    ExchangeRig rig;
    const QString processMs = qEnvironmentVariable("VANDORELLE_PROCESS_MS", QStringLiteral("0"));
    QStringList options{"--baud", "9600", "--process-ms", processMs};
    if (const QString badCheck = qEnvironmentVariable("VANDORELLE_BAD_CHECK"); !badCheck.isEmpty())
        options << "--bad-check" << badCheck;
    ASSERT_TRUE(rig.connect(options)) << rig.why().toStdString();
    const ConfigStore sentStore = withFullMonday(distinctiveStore(5));
    rig.store = sentStore;
    std::printf("emulator: %s\n", qPrintable(options.join(u' ')));

    const qint64 sentBefore = rig.counting.bytes_;
    const qint64 sendReceivedBefore = rig.bytesReceived;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(rig.sendAll(120000));
    const double sendSeconds = clock.nsecsElapsed() / 1e9;
    ASSERT_TRUE(rig.lastCompleted);
    const qint64 sent = rig.counting.bytes_ - sentBefore;
    const qint64 sendReceived = rig.bytesReceived - sendReceivedBefore;
    const double sendLine = double(sent + sendReceived) / 960.0;

    rig.store = ConfigStore{};
    // When the characters came: the emulator's own pace against what the tool adds.
    qint64 firstNs = -1;
    qint64 lastNs = 0;
    QObject::connect(&rig.session, &Session::rxCountChanged, [&](int32_t) {
        if (!rig.readExchange.running())
            return;
        lastNs = clock.nsecsElapsed();
        if (firstNs < 0)
            firstNs = lastNs;
    });
    const qint64 readReceivedBefore = rig.bytesReceived;
    clock.restart();
    ASSERT_TRUE(rig.readAll(120000));
    const double readSeconds = clock.nsecsElapsed() / 1e9;
    ASSERT_TRUE(rig.lastCompleted);
    const qint64 readReceived = rig.bytesReceived - readReceivedBefore;
    const double readLine = double(readReceived) / 960.0;

    std::printf("send-all: %lld sent + %lld received characters, line needs %.2f s, took %.2f s, ratio %.3f\n",
                sent, sendReceived, sendLine, sendSeconds, sendSeconds / sendLine);
    std::printf("read-all: %lld received characters, line needs %.2f s, took %.2f s, ratio %.3f\n",
                readReceived, readLine, readSeconds, readSeconds / readLine);
    std::printf("read-all: first answer after %.3f s, characters arriving over %.2f s (%.0f a second), "
                "end handled %.3f s after the last character\n",
                firstNs / 1e9, (lastNs - firstNs) / 1e9, readReceived / ((lastNs - firstNs) / 1e9),
                readSeconds - lastNs / 1e9);
    std::printf("RxCount at the end of the read: %d\n", rig.session.RxCount);
    std::printf("read-all: %d rounds of re-requests; the store %s what was sent\n",
                rig.readExchange.retryRounds(),
                storeDifference(expectedAfterRead(ConfigStore{}, sentStore, rig.session.flags), rig.store).isEmpty()
                    ? "equals"
                    : "differs from");
    std::printf("longest receive event: %.2f ms\n", rig.longestReceiveNs / 1e6);
}
