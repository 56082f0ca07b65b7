#include "test_exchange_rig.h"

#include <gtest/gtest.h>

using namespace vandorelle;
using namespace vandorelle::test;

namespace {


#define CONNECT_OR_FAIL(rig, options) ASSERT_TRUE((rig).connect(options)) << (rig).why().toStdString()

// Sends `sent` to the emulator, starts from the start values again and reads everything back.
void sendThenRead(ExchangeRig &rig, const ConfigStore &sent)
{
    rig.store = sent;
    ASSERT_TRUE(rig.sendAll()) << "send-all did not finish";
    ASSERT_TRUE(rig.lastCompleted) << rig.lastMessage.toStdString();
    EXPECT_TRUE(rig.status.panel(StatusModel::Error).isEmpty())
        << "the controller refused a batch: " << rig.status.panel(StatusModel::Error).toStdString();

    rig.store = ConfigStore{};
    ASSERT_TRUE(rig.readAll()) << "read-all did not finish";
}

} // namespace

TEST(ExchangeEndToEnd, SendThenReadGivesBackTheStoreForEachFamily)
{
    struct Case {
        QString model;
        uint32_t seed;
    };
    const Case cases[] = {
        {kFullModel, 1}, {kConservatoryModel, 2}, {kShadingRadioModel, 3}, {kPlainModel, 4}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.model.toStdString());
        ExchangeRig rig;
        CONNECT_OR_FAIL(rig, (QStringList{"--baud", "0", "--model", c.model}));
        const ConfigStore sent = distinctiveStore(c.seed);
        sendThenRead(rig, sent);
        ASSERT_TRUE(rig.lastCompleted) << rig.lastMessage.toStdString();
        const ConfigStore expected = expectedAfterRead(ConfigStore{}, sent, rig.session.flags);
        EXPECT_EQ(storeDifference(expected, rig.store).toStdString(), "");
        EXPECT_FALSE(rig.session.readAllRunning);
        EXPECT_FALSE(rig.session.sendInProgress);
    }
}

TEST(ExchangeEndToEnd, ReadAllOfTheUntouchedControllerGivesTheStartValues)
{
    ExchangeRig rig;
    CONNECT_OR_FAIL(rig, (QStringList{"--baud", "0"}));
    rig.store = distinctiveStore(9);
    ASSERT_TRUE(rig.readAll());
    ASSERT_TRUE(rig.lastCompleted);
    ConfigStore expected;
    expected.clearAllPending();
    EXPECT_EQ(storeDifference(expected, rig.store).toStdString(), "");
}

TEST(ExchangeEndToEnd, RoundTripSurvivesAHostileLine)
{
    const QStringList faults[] = {{"--split-bytes"}, {"--merge-frames"}, {"--garbage"}};
    for (const QStringList &fault : faults) {
        SCOPED_TRACE(fault.join(' ').toStdString());
        ExchangeRig rig;
        CONNECT_OR_FAIL(rig, (QStringList{"--baud", "0"} + fault));
        const ConfigStore sent = distinctiveStore(11);
        sendThenRead(rig, sent);
        ASSERT_TRUE(rig.lastCompleted) << rig.lastMessage.toStdString();
        const ConfigStore expected = expectedAfterRead(ConfigStore{}, sent, rig.session.flags);
        EXPECT_EQ(storeDifference(expected, rig.store).toStdString(), "");
    }
}

TEST(ExchangeEndToEnd, RecordsThatFailTheirCheckAreReadAgainUntilTheStoreIsWhole)
{
    ExchangeRig rig;
    CONNECT_OR_FAIL(rig, (QStringList{"--baud", "0", "--bad-check", "13"}));
    const ConfigStore sent = distinctiveStore(21);
    sendThenRead(rig, sent);

    // Records were spoilt on the way, and asked for again until each had come sound.
    ASSERT_FALSE(rig.errorTexts.isEmpty());
    EXPECT_TRUE(rig.errorTexts.contains(QStringLiteral("Fehler Beschatt.")));
    EXPECT_TRUE(rig.lastCompleted) << rig.lastMessage.toStdString();
    EXPECT_GE(rig.readExchange.retryRounds(), 1);
    const ConfigStore expected = expectedAfterRead(ConfigStore{}, sent, rig.session.flags);
    EXPECT_EQ(storeDifference(expected, rig.store).toStdString(), "");
    EXPECT_TRUE(rig.store.nonePending());
}

TEST(ExchangeEndToEnd, SilentControllerEndsTheReadWithEverythingPending)
{
    ExchangeRig rig;
    // Model and date, then a few answers of the read, then nothing.
    CONNECT_OR_FAIL(rig, (QStringList{"--baud", "0", "--silence-after", "40"}));
    rig.readExchange.setTimeoutInterval(400);
    rig.store.clearAllPending();
    ASSERT_TRUE(rig.readAll(5000));
    EXPECT_FALSE(rig.lastCompleted);
    EXPECT_EQ(rig.lastMessage, ReadAllExchange::timeoutMessage());
    EXPECT_EQ(rig.status.panel(StatusModel::Error), QStringLiteral("Zeitüberschreitung"));
    EXPECT_TRUE(rig.store.allPending());
    EXPECT_FALSE(rig.session.readAllRunning);
}

TEST(ExchangeEndToEnd, MissingEndMarkerEndsTheReadToo)
{
    ExchangeRig rig;
    CONNECT_OR_FAIL(rig, (QStringList{"--baud", "0", "--no-end-marker"}));
    rig.readExchange.setTimeoutInterval(400);
    ASSERT_TRUE(rig.readAll(5000));
    EXPECT_FALSE(rig.lastCompleted);
    EXPECT_TRUE(rig.store.allPending());
}

TEST(ExchangeEndToEnd, UnacknowledgedSendEndsWithEverythingPending)
{
    ExchangeRig rig;
    // Model, date and the acknowledgement of the wipe; then silence.
    CONNECT_OR_FAIL(rig, (QStringList{"--baud", "0", "--silence-after", "3"}));
    rig.sendExchange.setTimeoutInterval(400);
    rig.store.clearAllPending();
    ASSERT_TRUE(rig.sendAll(5000));
    EXPECT_FALSE(rig.lastCompleted);
    EXPECT_EQ(rig.lastMessage, SendAllExchange::timeoutMessage());
    EXPECT_EQ(rig.status.panel(StatusModel::Error), QStringLiteral("Zeitüberschreitung"));
    EXPECT_GE(rig.sendExchange.weekdayCounter(), 1);
    EXPECT_TRUE(rig.store.allPending());
    EXPECT_FALSE(rig.session.sendInProgress);
}

TEST(ExchangeEndToEnd, RefusedBatchIsNamedAndStaysPending)
{
    ExchangeRig rig;
    CONNECT_OR_FAIL(rig, (QStringList{"--baud", "0", "--bad-ack", "5"}));
    rig.store = distinctiveStore(31);
    ASSERT_TRUE(rig.sendAll());
    // The fifth acknowledgement answers the Thursday batch: state 0 was about to run Friday.
    ASSERT_FALSE(rig.errorTexts.isEmpty());
    EXPECT_EQ(rig.errorTexts.first(), QStringLiteral("Fehler 0"));
    EXPECT_FALSE(rig.lastCompleted);
    EXPECT_TRUE(rig.sendExchange.refusedBatches().contains(QStringLiteral("Schaltzeiten Donnerstag")));
    EXPECT_TRUE(rig.lastMessage.contains(QStringLiteral("Schaltzeiten Donnerstag")));
    for (const SchaltzeitEntry &e : rig.store.Schaltzeit)
        ASSERT_EQ(e.Senden, 1);
}

TEST(ExchangeEndToEnd, ALongBatchOnASlowLineIsNotTakenForSilence)
{
    // 240 entries of one weekday take 7.7 s on the line; at 50 ms a record the controller
    // holds the line off and acknowledges some 12 s after the batch was queued.
    ExchangeRig rig;
    CONNECT_OR_FAIL(rig, (QStringList{"--baud", "9600", "--process-ms", "50"}));
    rig.store = withFullMonday(ConfigStore{});
    rig.store.clearAllPending();
    ASSERT_TRUE(rig.sendAll(120000));
    EXPECT_TRUE(rig.lastCompleted) << rig.lastMessage.toStdString();
}

TEST(ExchangeEndToEnd, SendIsRefusedWhileTheClockIsNotSet)
{
    ExchangeRig rig;
    CONNECT_OR_FAIL(rig, (QStringList{"--baud", "0", "--no-clock"}));
    ASSERT_EQ(rig.status.panel(StatusModel::Date), QStringLiteral("01.01.00"));
    EXPECT_EQ(rig.sendExchange.start(), SendAllExchange::StartResult::ClockNotSet);
    EXPECT_EQ(rig.counting.bytes_, 8); // "smo\r" and "sdt\r" only
}
