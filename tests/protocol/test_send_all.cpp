#include "protocol/send_all.h"

#include "protocol/pc_records.h"

#include "support/fake_port.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace vandorelle;
using vandorelle::test::FakePort;

namespace {

const QByteArray kAck = "start_stc0,ende_";

DeviceFlags fullFamily()
{
    DeviceFlags f;
    f.ShadingFamily = f.ConservatoryFamily = f.TastPresent = f.GzsPresent = true;
    return f;
}

// The port's writes cut back into records: a record starts with a piece without "\r".
QList<QStringList> records(const FakePort &port)
{
    QList<QStringList> out;
    for (const QString &w : port.texts()) {
        if (!w.endsWith(QLatin1Char('\r')) || out.isEmpty())
            out.append(QStringList{});
        out.last() << w;
    }
    return out;
}

QStringList tagsOf(const QList<QStringList> &recs)
{
    QStringList tags;
    for (const QStringList &r : recs)
        tags << r.first();
    return tags;
}

// Motor numbers of the records with the tag.
QList<int> motorsOf(const QList<QStringList> &recs, const QString &tag)
{
    QList<int> motors;
    for (const QStringList &r : recs)
        if (r.first() == tag)
            motors << r.at(1).chopped(1).toInt();
    return motors;
}

bool waitUntil(const std::function<bool()> &done, int ms = 3000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class SendAllTest : public ::testing::Test {
protected:
    SendAllTest()
    {
        session.setPort(&port);
        session.noConnection = false;
        session.flags = fullFamily();
        status.setPanel(StatusModel::Date, QStringLiteral("07.12.26"));
        QObject::connect(&exchange, &SendAllExchange::started, [this](int max) { maximum = max; });
        QObject::connect(&exchange, &SendAllExchange::batchStarted,
                         [this](const QString &caption) { captions << caption; });
        QObject::connect(&exchange, &SendAllExchange::finished, [this](bool ok, const QString &msg) {
            ++finishes;
            completed = ok;
            message = msg;
        });
    }

    void ack(const QByteArray &payload = "0,")
    {
        const QByteArray f = "start_stc" + payload + "ende_";
        session.receive(f, int(f.size()));
    }

    // Acknowledges until the send ends (or a bound is reached); returns the acks given.
    int runToEnd()
    {
        int acks = 0;
        while (exchange.running() && acks < 100) {
            ack();
            ++acks;
        }
        return acks;
    }

    ConfigStore store;
    StatusModel status;
    Session session{store, status};
    FakePort port;
    SendAllExchange exchange{session};
    int maximum = -1;
    QStringList captions;
    int finishes = 0;
    bool completed = false;
    QString message;
};

} // namespace

TEST_F(SendAllTest, RefusedWithoutConnectionOrWithUnsetClock)
{
    session.noConnection = true;
    EXPECT_EQ(exchange.start(), SendAllExchange::StartResult::NoConnection);
    session.noConnection = false;
    status.setPanel(StatusModel::Date, QStringLiteral("01.01.00"));
    EXPECT_EQ(exchange.start(), SendAllExchange::StartResult::ClockNotSet);
    EXPECT_TRUE(port.writes.isEmpty());
    EXPECT_FALSE(session.sendInProgress);
    EXPECT_EQ(maximum, -1);
    EXPECT_TRUE(SendAllExchange::clockNotSetMessage().startsWith(QStringLiteral("Bitte warten Sie")));
}

TEST_F(SendAllTest, StartWipesTheControllersScheduleAndWaits)
{
    status.setPanel(StatusModel::Error, QStringLiteral("Fehler Wind"));
    session.RxCount = 55;
    ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
    // One write per piece.
    EXPECT_EQ(port.texts(), (QStringList{" rfs", "0\r", "1\r", "1\r", "0\r", "24\r", "0\r", "40\r", "1\r",
                                         "0\r", "67\r"}));
    EXPECT_EQ(session.TxCount, 24);
    EXPECT_EQ(session.RxCount, 0);
    EXPECT_EQ(maximum, 14472);
    EXPECT_TRUE(status.panel(StatusModel::Error).isEmpty());
    EXPECT_EQ(status.panel(StatusModel::Activity), QStringLiteral(" Bestehende Daten löschen "));
    EXPECT_TRUE(session.sendInProgress);
    EXPECT_EQ(exchange.state(), SendAllExchange::Schedule);
    EXPECT_EQ(exchange.weekdayCounter(), 0);
    EXPECT_EQ(exchange.start(), SendAllExchange::StartResult::Busy);

    DeviceFlags conservatory;
    conservatory.ConservatoryFamily = true;
    EXPECT_EQ(SendAllExchange::expectedCharacters(conservatory), 16006);
    EXPECT_EQ(SendAllExchange::expectedCharacters(DeviceFlags{}), 5280);
}

TEST_F(SendAllTest, BatchOrderCaptionsAndCountsOfTheFullFamily)
{
    ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
    port.clear();
    EXPECT_EQ(runToEnd(), 8 + 21);
    EXPECT_EQ(finishes, 1);
    EXPECT_TRUE(completed);

    // Weekday names are padded to ten characters; the eighth schedule batch has none.
    EXPECT_EQ(captions.mid(0, 9), (QStringList{"Schaltzeiten Montag    ", "Schaltzeiten Dienstag  ",
                                               "Schaltzeiten Mittwoch  ", "Schaltzeiten Donnerstag",
                                               "Schaltzeiten Freitag   ", "Schaltzeiten Samstag   ",
                                               "Schaltzeiten Sonntag   ", "Schaltzeiten ", "Motor-Namen"}));
    EXPECT_EQ(captions.size(), 28);

    QStringList tags = tagsOf(records(port));
    tags.removeDuplicates();
    EXPECT_EQ(tags, (QStringList{" rfs", " rmn", " rgz", " rjp", " rbp", " rdm", " rda", " rwp", " rrp", " roa",
                                 " ras", " rpp", " rip", " rhp", " rhh", " rfp", " rap", " roi", " rta ", " rbh",
                                 " rzz"}));
    // Everything was pending: all 32 motors of every function.
    const auto recs = records(port);
    EXPECT_EQ(motorsOf(recs, " rbp").size(), 32);
    EXPECT_EQ(motorsOf(recs, " rmn").size(), 32);
    // Empty schedule: seven weekday ends and the end of the schedule.
    EXPECT_EQ(recs.count(pc::scheduleDayEnd()), 7);
    EXPECT_EQ(recs.count(pc::scheduleEnd()), 1);

    // Per motor (sent or not): 22+19+30+23+23+18+15+37+28+18+20+28+12; single records
    // 8+12+11+8+8+10+10; the initialise record 24.
    EXPECT_EQ(session.TxCount, 24 + 32 * 293 + 67);
    EXPECT_FALSE(session.sendInProgress);
    EXPECT_EQ(exchange.state(), SendAllExchange::End);
    EXPECT_TRUE(status.panel(StatusModel::Activity).isEmpty());
    for (int t = 0; t < kMotorTableCount; ++t)
        for (int m = 0; m < kMotors; ++m)
            ASSERT_EQ(store.senden(MotorTable(t), m), 0);
    for (const auto &e : store.Schaltzeit)
        ASSERT_EQ(e.Senden, 0);
}

TEST_F(SendAllTest, BatchOrderOfSmallerFamilies)
{
    struct Case {
        DeviceFlags flags;
        QStringList tags;
    };
    DeviceFlags plain; // neither shading nor conservatory, no push-buttons, no group control
    DeviceFlags shadingTast;
    shadingTast.ShadingFamily = shadingTast.TastPresent = true;
    DeviceFlags shadingOnly;
    shadingOnly.ShadingFamily = true;
    DeviceFlags gzsOnly;
    gzsOnly.GzsPresent = true;
    const Case cases[] = {
        {plain, {" rfs", " rmn", " rjp", " rta ", " rbh", " rzz"}},
        {gzsOnly, {" rfs", " rmn", " rgz", " rjp", " rta ", " rbh", " rzz"}},
        {shadingTast,
         {" rfs", " rmn", " rjp", " rbp", " rdm", " rda", " rwp", " rrp", " roa", " ras", " rta ", " rbh", " rzz"}},
        {shadingOnly,
         {" rfs", " rmn", " rjp", " rbp", " rdm", " rda", " rwp", " rrp", " roa", " ras", " rbh", " rzz"}},
    };
    for (const Case &c : cases) {
        port.clear();
        session.flags = c.flags;
        ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
        runToEnd();
        ASSERT_FALSE(exchange.running());
        QStringList tags = tagsOf(records(port));
        tags.removeDuplicates();
        EXPECT_EQ(tags, c.tags);
    }
}

TEST_F(SendAllTest, ScheduleBatchesSendGroupEntriesOnceFromTheirFirstDay)
{
    auto put = [this](int weekday, int motor, int number, int gruppe, int zeit) {
        store.entry(weekday, motor, number) =
            SchaltzeitEntry{.Richtung = 0, .Zeit = zeit, .Dauer = 39, .Gruppe = gruppe, .Funktion = 0, .Senden = 0};
    };
    for (int d = 1; d <= 7; ++d)
        put(d, 4, 2, 7, timeCode(6, 45)); // all week
    put(6, 9, 1, 2, timeCode(9, 0));      // weekend
    put(7, 9, 1, 2, timeCode(9, 0));
    put(3, 32, 8, 1, timeCode(23, 59));   // Wednesday only
    put(4, 1, 1, 1, 0);                   // not in use: never sent

    ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
    QList<QList<QStringList>> perAck;
    for (int i = 0; i < 8; ++i) {
        port.clear();
        ack();
        perAck << records(port);
    }
    const PcRecord dayEnd = pc::scheduleDayEnd();
    // Monday: the all-week entry with weekday 1 and group 7, then the day's end.
    EXPECT_EQ(perAck[0], (QList<QStringList>{pc::scheduleEntry(store.entry(1, 4, 2), 1, 4, 2), dayEnd}));
    EXPECT_EQ(perAck[0][0].at(1), QStringLiteral("1\r"));
    EXPECT_EQ(perAck[0][0].at(8), QStringLiteral("7\r"));
    EXPECT_EQ(perAck[1], QList<QStringList>{dayEnd}); // Tuesday: empty, still ended
    EXPECT_EQ(perAck[2], (QList<QStringList>{pc::scheduleEntry(store.entry(3, 32, 8), 3, 32, 8), dayEnd}));
    EXPECT_EQ(perAck[3], QList<QStringList>{dayEnd});
    EXPECT_EQ(perAck[4], QList<QStringList>{dayEnd});
    EXPECT_EQ(perAck[5], (QList<QStringList>{pc::scheduleEntry(store.entry(6, 9, 1), 6, 9, 1), dayEnd}));
    EXPECT_EQ(perAck[6], QList<QStringList>{dayEnd}); // Sunday: the weekend entry went on Saturday
    // The eighth acknowledgement: only the end of the schedule, then the names.
    EXPECT_EQ(perAck[7], QList<QStringList>{pc::scheduleEnd()});
    EXPECT_EQ(exchange.state(), SendAllExchange::Names);
    // 27 per entry sent, nothing for the markers.
    EXPECT_EQ(session.TxCount, 24 + 3 * 27);
}

TEST_F(SendAllTest, SecondSendRightAfterTheFirstSendsMotor32Only)
{
    ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
    runToEnd();
    ASSERT_TRUE(completed);

    port.clear();
    store.Wind[4].Senden = 1; // one edit in between
    ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
    runToEnd();
    const auto recs = records(port);
    for (const char *tag : {" rjp", " rbp", " rdm", " rda", " rrp", " rpp", " rip", " rhp", " rfp", " rap", " rta "})
        EXPECT_EQ(motorsOf(recs, QString::fromLatin1(tag)), QList<int>{32}) << tag;
    EXPECT_EQ(motorsOf(recs, QStringLiteral(" rwp")), (QList<int>{5, 32}));
    // Names and the single records always go.
    EXPECT_EQ(motorsOf(recs, QStringLiteral(" rmn")).size(), 32);
    EXPECT_EQ(tagsOf(recs).count(QStringLiteral(" rzz")), 1);
}

TEST_F(SendAllTest, RefusedBatchesGoOnButStayPendingAndAreNamedAtTheEnd)
{
    store.clearAllPending();
    store.Beschattung[4].Senden = 1;
    store.Wind[2].Senden = 1;
    ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
    for (int i = 0; i < 8; ++i)
        ack();
    ASSERT_EQ(exchange.state(), SendAllExchange::Names);
    port.clear();
    ack("3,"); // refuses the end of the schedule
    EXPECT_EQ(status.panel(StatusModel::Error), QStringLiteral("Fehler 1"));
    EXPECT_EQ(motorsOf(records(port), QStringLiteral(" rmn")).size(), 32);
    EXPECT_EQ(exchange.state(), SendAllExchange::Groups);

    port.clear();
    ack("x,"); // not a number: counts as a refusal of the names, too
    EXPECT_EQ(status.panel(StatusModel::Error), QStringLiteral("Fehler 2"));
    EXPECT_EQ(tagsOf(records(port)), QStringList{" rgz"});
    while (exchange.state() != SendAllExchange::Dawn)
        ack();
    ack("1,"); // refuses the shading records
    runToEnd();

    ASSERT_EQ(finishes, 1);
    EXPECT_FALSE(completed);
    EXPECT_EQ(exchange.refusedBatches(),
              (QStringList{"Schaltzeiten", "Motor-Namen", "Beschattungsparameter"}));
    EXPECT_TRUE(message.contains(QStringLiteral("Beschattungsparameter")));
    EXPECT_TRUE(message.contains(QStringLiteral("Schaltzeiten")));
    // What the controller refused goes again with the next send; what it took does not.
    EXPECT_EQ(store.Beschattung[4].Senden, 1);
    EXPECT_EQ(store.Beschattung[31].Senden, 1);
    EXPECT_EQ(store.Beschattung[0].Senden, 0);
    EXPECT_EQ(store.Wind[2].Senden, 0);
    for (const auto &e : store.Schaltzeit)
        ASSERT_EQ(e.Senden, 1);
    EXPECT_FALSE(session.sendInProgress);
}

TEST_F(SendAllTest, SilenceCountsFromTheLastByteThatLeftThePort)
{
    exchange.setTimeoutInterval(80);
    ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
    port.pendingOutput = true; // a long batch still on the wire
    EXPECT_FALSE(waitUntil([this] { return finishes > 0; }, 400));
    port.pendingOutput = false;
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(waitUntil([this] { return finishes > 0; }));
    EXPECT_GE(t.elapsed(), 25); // the time-out, less the watch's look-again period
    EXPECT_FALSE(completed);
}

TEST_F(SendAllTest, ALineThatDisappearsEndsTheSendAtOnce)
{
    ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
    ack();
    session.reportLineLost();
    ASSERT_EQ(finishes, 1);
    EXPECT_FALSE(completed);
    EXPECT_EQ(status.panel(StatusModel::Error), QStringLiteral("Verbindung unterbrochen"));
    EXPECT_TRUE(store.allPending());
}

TEST_F(SendAllTest, StrayAcknowledgementWithoutASendIsIgnored)
{
    store.Beschattung[2].Senden = 1;
    ack();
    EXPECT_TRUE(port.writes.isEmpty());

    ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
    runToEnd();
    store.Beschattung[2].Senden = 1; // an edit after the send
    port.clear();
    ack();
    ack();
    EXPECT_TRUE(port.writes.isEmpty());
    EXPECT_EQ(store.Beschattung[2].Senden, 1);
    EXPECT_EQ(finishes, 1);
}

TEST_F(SendAllTest, SilenceEndsTheSendWithEveryRecordPending)
{
    exchange.setTimeoutInterval(60);
    ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
    for (int i = 0; i < 10; ++i)
        ack(); // through names and groups into the per-motor batches
    ASSERT_TRUE(waitUntil([this] { return finishes > 0; }));
    EXPECT_FALSE(completed);
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(status.panel(StatusModel::Error), QStringLiteral("Zeitüberschreitung"));
    EXPECT_FALSE(session.sendInProgress);
    EXPECT_TRUE(status.panel(StatusModel::Activity).isEmpty());
    for (int t = 0; t < kMotorTableCount; ++t)
        for (int m = 0; m < kMotors; ++m)
            ASSERT_EQ(store.senden(MotorTable(t), m), 1);
    for (const auto &e : store.Schaltzeit)
        ASSERT_EQ(e.Senden, 1);

    // A late acknowledgement sends nothing.
    port.clear();
    ack();
    EXPECT_TRUE(port.writes.isEmpty());
}

TEST_F(SendAllTest, RandomSpanComesFromTheSelectorWhenThereIsOne)
{
    store.Parameter.ZufallsZeitspanne = 10;
    exchange.randomSpanCode = [] { return 100; };
    ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
    runToEnd();
    EXPECT_EQ(records(port).last(), (QStringList{" rzz", "102\r", "102\r"}));

    port.clear();
    exchange.randomSpanCode = [] { return -1; }; // the selector shows no choice
    ASSERT_EQ(exchange.start(), SendAllExchange::StartResult::Started);
    runToEnd();
    EXPECT_EQ(records(port).last(), (QStringList{" rzz", "12\r", "12\r"}));
}
