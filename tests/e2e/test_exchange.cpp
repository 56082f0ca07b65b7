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

TEST(ExchangeEndToEnd, RecordsWithWrongCheckKeepTheirOldValueAndShowTheirError)
{
    ExchangeRig rig;
    CONNECT_OR_FAIL(rig, (QStringList{"--baud", "0", "--bad-check", "13"}));
    const ConfigStore sent = distinctiveStore(21);
    sendThenRead(rig, sent);
    ASSERT_TRUE(rig.lastCompleted) << "the end marker was hit; choose another interval";

    const ConfigStore before;
    const ConfigStore good = expectedAfterRead(before, sent, rig.session.flags);
    ConfigStore old = before;
    old.clearAllPending();
    int kept = 0;
    auto judge = [&](const auto &got, const auto &fromController, const auto &previous, const char *name) {
        for (int m = 0; m < kMotors; ++m) {
            auto g = got[m];
            g.Senden = 0;
            if (g == fromController[m])
                continue;
            auto p = previous[m];
            p.Senden = 0;
            EXPECT_TRUE(g == p) << name << " motor " << m + 1 << " is neither sent nor old";
            ++kept;
        }
    };
    judge(rig.store.Beschattung, good.Beschattung, old.Beschattung, "Beschattung");
    judge(rig.store.DaemmerungMorgen, good.DaemmerungMorgen, old.DaemmerungMorgen, "DaemmerungMorgen");
    judge(rig.store.DaemmerungAbend, good.DaemmerungAbend, old.DaemmerungAbend, "DaemmerungAbend");
    judge(rig.store.Wind, good.Wind, old.Wind, "Wind");
    judge(rig.store.Regen, good.Regen, old.Regen, "Regen");
    judge(rig.store.Reversierung, good.Reversierung, old.Reversierung, "Reversierung");
    judge(rig.store.TastAutomatik, good.TastAutomatik, old.TastAutomatik, "TastAutomatik");
    judge(rig.store.ProportionaleTemperatursteuerung, good.ProportionaleTemperatursteuerung,
          old.ProportionaleTemperatursteuerung, "ProportionaleTemperatursteuerung");
    judge(rig.store.InnenTemperatursteuerung, good.InnenTemperatursteuerung, old.InnenTemperatursteuerung,
          "InnenTemperatursteuerung");
    judge(rig.store.HeizungsSteuerung, good.HeizungsSteuerung, old.HeizungsSteuerung, "HeizungsSteuerung");
    judge(rig.store.FeuchtigkeitsSteuerung, good.FeuchtigkeitsSteuerung, old.FeuchtigkeitsSteuerung,
          "FeuchtigkeitsSteuerung");
    judge(rig.store.AussenTemperatursteuerung, good.AussenTemperatursteuerung, old.AussenTemperatursteuerung,
          "AussenTemperatursteuerung");
    EXPECT_GT(kept, 10);

    // A schedule entry whose frame was bad is missing; nothing else is.
    int missing = 0;
    for (int i = 0; i < kScheduleSize; ++i) {
        const SchaltzeitEntry &g = rig.store.Schaltzeit[i];
        if (g == good.Schaltzeit[i])
            continue;
        EXPECT_FALSE(g.inUse()) << "schedule entry " << i;
        ++missing;
    }
    EXPECT_GT(missing, 0);

    ASSERT_FALSE(rig.errorTexts.isEmpty());
    for (const QString &text : rig.errorTexts)
        EXPECT_TRUE(text.startsWith(QStringLiteral("Fehler "))) << text.toStdString();
    EXPECT_TRUE(rig.errorTexts.contains(QStringLiteral("Fehler Beschatt.")));
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

TEST(ExchangeEndToEnd, RefusedAcknowledgementsAreShownAndTheSendCompletes)
{
    ExchangeRig rig;
    CONNECT_OR_FAIL(rig, (QStringList{"--baud", "0", "--bad-ack", "5"}));
    const ConfigStore sent = distinctiveStore(31);
    rig.store = sent;
    ASSERT_TRUE(rig.sendAll());
    EXPECT_TRUE(rig.lastCompleted);
    // The fifth acknowledgement answers the Thursday batch: state 0 was about to run Friday.
    ASSERT_FALSE(rig.errorTexts.isEmpty());
    EXPECT_EQ(rig.errorTexts.first(), QStringLiteral("Fehler 0"));
    rig.store = ConfigStore{};
    ASSERT_TRUE(rig.readAll());
    const ConfigStore expected = expectedAfterRead(ConfigStore{}, sent, rig.session.flags);
    EXPECT_EQ(storeDifference(expected, rig.store).toStdString(), "");
}

TEST(ExchangeEndToEnd, SendIsRefusedWhileTheClockIsNotSet)
{
    ExchangeRig rig;
    CONNECT_OR_FAIL(rig, (QStringList{"--baud", "0", "--no-clock"}));
    ASSERT_EQ(rig.status.panel(StatusModel::Date), QStringLiteral("01.01.00"));
    EXPECT_EQ(rig.sendExchange.start(), SendAllExchange::StartResult::ClockNotSet);
    EXPECT_EQ(rig.counting.bytes_, 8); // "smo\r" and "sdt\r" only
}
