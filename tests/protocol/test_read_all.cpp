#include "protocol/pc_records.h"
#include "protocol/read_all.h"
#include "protocol/record_decoders.h"

#include "support/fake_port.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace vandorelle;
using vandorelle::test::FakePort;

namespace {

QByteArray frame(const char *tag, const QByteArray &payload)
{
    return QByteArray("start_") + tag + payload + "ende_";
}

// A controller "sfs" frame: motor 0-based, check = plain sum.
QByteArray sfs(std::initializer_list<int> values)
{
    QByteArray payload;
    int sum = 0;
    for (int v : values) {
        payload += QByteArray::number(v) + ',';
        sum += v;
    }
    return frame("sfs", payload + QByteArray::number(sum) + ',');
}

// A record with its check value; a spoiled one carries a wrong check.
QByteArray checked(const QString &tag, QList<int> values, bool spoiled = false)
{
    QByteArray payload;
    int sum = 0;
    for (int v : values) {
        payload += QByteArray::number(v) + ',';
        sum += v;
    }
    return frame(tag.toLatin1().constData(), payload + QByteArray::number(sum + (spoiled ? 1 : 0)) + ',');
}

// The check value gains a digit.
QByteArray spoilt(QByteArray f)
{
    return f.replace(",ende_", "9,ende_");
}

QByteArray motorFrame(const QString &tag, int motor, bool spoiled = false)
{
    if (tag == QLatin1String("smn"))
        return frame("smn", QByteArray::number(motor) + ",Raum " + QByteArray::number(motor) + ',');
    QList<int> values{motor};
    for (int i = 1; i < findRecordKind(tag.toLatin1())->checkCount; ++i)
        values << 1;
    return checked(tag, values, spoiled);
}

DeviceFlags fullFamily()
{
    DeviceFlags f;
    f.ShadingFamily = f.ConservatoryFamily = f.TastPresent = f.GzsPresent = true;
    return f;
}

bool waitUntil(const std::function<bool()> &done, int ms = 3000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}



class ReadAllTest : public ::testing::Test {
protected:
    ReadAllTest()
    {
        session.setPort(&port);
        session.noConnection = false;
        connect();
    }

    void connect()
    {
        QObject::connect(&exchange, &ReadAllExchange::started, [this](int max) { maximum = max; });
        QObject::connect(&exchange, &ReadAllExchange::progress, [this](int p) { positions << p; });
        QObject::connect(&exchange, &ReadAllExchange::finished, [this](bool ok, const QString &msg) {
            ++finishes;
            completed = ok;
            message = msg;
        });
    }

    void receive(const QByteArray &bytes) { session.receive(bytes, int(bytes.size())); }

    // A sound answer to each of the tags (the schedule excepted); spoil names one record.
    void answer(const QStringList &tags, const QString &spoiledTag = {}, int spoiledMotor = 0)
    {
        for (const QString &tag : tags) {
            switch (ReadRounds::shapeOf(tag)) {
            case ReadRounds::Shape::PerMotor:
                for (int m = 1; m <= kMotors; ++m)
                    receive(motorFrame(tag, m, tag == spoiledTag && m == spoiledMotor));
                break;
            case ReadRounds::Shape::Single:
                receive(frame(tag.toLatin1().constData(), "5,"));
                break;
            case ReadRounds::Shape::Schedule:
                break;
            }
        }
    }
    void answerAllButSchedule(const QString &spoiledTag = {}, int spoiledMotor = 0)
    {
        answer(pc::readAllRequests(session.flags), spoiledTag, spoiledMotor);
    }
    void endSchedule() { receive(sfs({255, 0, 0, 0, 0, 0, 0, 0, 0})); }

    ConfigStore store;
    StatusModel status;
    Session session{store, status};
    FakePort port;
    ReadAllExchange exchange{session};
    int maximum = -1;
    QList<int> positions;
    int finishes = 0;
    bool completed = false;
    QString message;
};

} // namespace

TEST_F(ReadAllTest, RequestBurstAndBarMaximumPerFamily)
{
    struct Case {
        DeviceFlags flags;
        int maximum;
        QStringList requests;
    };
    DeviceFlags full;
    full.ShadingFamily = full.ConservatoryFamily = full.TastPresent = full.GzsPresent = true;
    DeviceFlags conservatory;
    conservatory.ConservatoryFamily = true;
    DeviceFlags neither;
    DeviceFlags neitherWithExtras;
    neitherWithExtras.GzsPresent = neitherWithExtras.TastPresent = true;
    const Case cases[] = {
        {full, 19364,
         QStringList{"sbp", "sdm", "sda", "swp", "srp", "sjp", "soa", "sas", "sgz", "spp", "sip", "shp",
                     "sfp", "sap", "ssp", "soi", "shh", "sta", "smn", "szz", "sbh", "sfs"}},
        {conservatory, 26000,
         QStringList{"sbp", "sdm", "sda", "swp", "srp", "sjp", "soa", "sas", "spp", "sip", "shp", "sfp",
                     "sap", "ssp", "soi", "shh", "smn", "szz", "sbh", "sfs"}},
        {neither, 4680, QStringList{"smn", "szz", "sbh", "sfs"}},
        {neitherWithExtras, 4680, QStringList{"sgz", "sta", "smn", "szz", "sbh", "sfs"}},
    };
    for (const Case &c : cases) {
        port.clear();
        session.flags = c.flags;
        session.RxCount = 500;
        session.TxCount = 700;
        ASSERT_TRUE(exchange.start());
        // Each request is its own write, bare, without a terminator.
        EXPECT_EQ(port.texts(), c.requests);
        EXPECT_EQ(maximum, c.maximum);
        EXPECT_EQ(session.RxCount, 0);
        EXPECT_EQ(session.TxCount, 0);
        EXPECT_TRUE(session.readAllRunning);
        EXPECT_FALSE(exchange.start()) << "a second start while reading";
        answerAllButSchedule();
        receive(sfs({0, 0, 0, 0, 24, 0, 0, 1, 0}));
        endSchedule();
        EXPECT_FALSE(exchange.running());
    }
}

TEST_F(ReadAllTest, NothingHappensWithoutConnection)
{
    session.noConnection = true;
    store.Schaltzeit[5].Zeit = 100;
    const ConfigStore before = store;
    EXPECT_FALSE(exchange.start());
    EXPECT_TRUE(port.writes.isEmpty());
    EXPECT_EQ(maximum, -1);
    EXPECT_FALSE(session.readAllRunning);
    EXPECT_TRUE(store == before);
}

TEST_F(ReadAllTest, StartEmptiesOnlyTheSchedule)
{
    store.entry(3, 4, 2) = SchaltzeitEntry{.Richtung = 1, .Zeit = 500, .Dauer = 12, .Gruppe = 1, .Funktion = 2};
    store.Beschattung[3].Temperatur = 7;
    ASSERT_TRUE(exchange.start());
    const SchaltzeitEntry wiped{.Richtung = 0, .Zeit = 0, .Dauer = 0, .Gruppe = 1, .Funktion = 0, .Senden = 0};
    for (const auto &e : store.Schaltzeit)
        ASSERT_TRUE(e == wiped);
    EXPECT_EQ(store.Beschattung[3].Temperatur, 7);
    EXPECT_EQ(store.Beschattung[3].Senden, 1);
}

TEST_F(ReadAllTest, AnswersFillTheStoreAndTheEndMarkerFinishes)
{
    session.flags = fullFamily();
    ASSERT_TRUE(exchange.start());
    answerAllButSchedule();
    receive(frame("sbp", "2,1,100,12,13,200,20,348,"));
    EXPECT_EQ(store.Beschattung[1].EinAus, 0);
    EXPECT_EQ(store.Beschattung[1].Temperatur, 10);
    ASSERT_FALSE(positions.isEmpty());
    EXPECT_EQ(positions.last(), session.RxCount);

    receive(sfs({0, 1, 1, 0, 24, 0, 40, 1, 0}));
    receive(sfs({1, 2, 1, 1, 7, 30, 39, 5, 0})); // motor 3, Monday to Friday
    EXPECT_EQ(store.entry(5, 3, 1).Zeit, timeCode(7, 30));
    EXPECT_EQ(finishes, 0);
    const int rxBeforeEnd = session.RxCount;
    const QByteArray end = sfs({255, 0, 0, 0, 0, 0, 0, 0, 0});
    receive(end);

    EXPECT_EQ(finishes, 1);
    EXPECT_TRUE(completed);
    EXPECT_TRUE(message.isEmpty());
    EXPECT_FALSE(session.readAllRunning);
    EXPECT_TRUE(store.nonePending());
    EXPECT_EQ(session.RxCount, rxBeforeEnd + end.size() + 1);
    EXPECT_TRUE(status.panel(StatusModel::Activity).isEmpty());
    EXPECT_EQ(store.entry(1, 3, 1).Dauer, 39);
    EXPECT_EQ(store.entry(6, 3, 1).Zeit, 0);
}

TEST_F(ReadAllTest, LateStartMarkerWipesEarlierEntriesAndTheEndClearsPending)
{
    ASSERT_TRUE(exchange.start());
    answerAllButSchedule();
    receive(sfs({2, 0, 1, 1, 6, 0, 39, 1, 0}));
    EXPECT_EQ(store.entry(2, 1, 1).Zeit, timeCode(6, 0));
    receive(sfs({0, 1, 1, 0, 24, 0, 40, 1, 0}));
    EXPECT_EQ(store.entry(2, 1, 1).Zeit, 0);
    EXPECT_EQ(store.entry(2, 1, 1).Senden, 1);
    receive(sfs({3, 0, 2, 1, 8, 15, 39, 1, 0}));
    receive(sfs({255, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(store.entry(2, 1, 1).Zeit, 0);
    EXPECT_EQ(store.entry(3, 1, 2).Zeit, timeCode(8, 15));
    EXPECT_TRUE(store.nonePending());
}

TEST_F(ReadAllTest, SilenceEndsTheReadWithEverythingPending)
{
    exchange.setTimeoutInterval(60);
    ASSERT_TRUE(exchange.start());
    receive(frame("sbp", "2,1,100,12,13,200,20,348,"));
    ASSERT_TRUE(waitUntil([this] { return finishes > 0; }));
    EXPECT_FALSE(completed);
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(status.panel(StatusModel::Error), QStringLiteral("Zeitüberschreitung"));
    EXPECT_TRUE(store.allPending());
    EXPECT_FALSE(session.readAllRunning);
    // What was received is kept.
    EXPECT_EQ(store.Beschattung[1].Temperatur, 10);

    // An end marker that straggles in afterwards does not declare the store complete.
    receive(sfs({255, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(finishes, 1);
    EXPECT_TRUE(store.allPending());
}

TEST_F(ReadAllTest, OnlyItsOwnSoundFramesKeepTheReadAlive)
{
    exchange.setTimeoutInterval(300);
    ASSERT_TRUE(exchange.start());
    QElapsedTimer t;
    t.start();
    // Frames of the read, well inside the limit, for longer than the limit.
    while (t.elapsed() < 900) {
        receive(motorFrame(QStringLiteral("smn"), 1));
        waitUntil([] { return false; }, 40);
    }
    EXPECT_TRUE(exchange.running());
    // Noise, a frame nobody asked for and a record failing its check are no progress.
    t.start();
    while (finishes == 0 && t.elapsed() < 3000) {
        receive("x\x13garbage");
        receive(frame("skd", "1,2,3,"));
        receive(motorFrame(QStringLiteral("sbp"), 1, true));
        waitUntil([] { return false; }, 40);
    }
    ASSERT_EQ(finishes, 1);
    EXPECT_LT(t.elapsed(), 1500);
    EXPECT_FALSE(completed);
    EXPECT_EQ(status.panel(StatusModel::Error), QStringLiteral("Zeitüberschreitung"));
}

TEST_F(ReadAllTest, RecordsThatFailedTheirCheckAreAskedForAgain)
{
    session.flags = fullFamily();
    ASSERT_TRUE(exchange.start());
    answerAllButSchedule(QStringLiteral("sbp"), 5);
    receive(sfs({0, 0, 0, 0, 24, 0, 0, 1, 0}));
    receive(sfs({1, 2, 1, 1, 7, 30, 39, 5, 0}));
    receive(spoilt(sfs({2, 3, 2, 0, 18, 0, 39, 1, 0})));
    port.clear();
    endSchedule();

    // Only what failed is asked for again, bare, and the firmware request closes the round.
    EXPECT_TRUE(exchange.running());
    EXPECT_EQ(port.texts(), (QStringList{"sbp", "sfs", "sfi\r"}));
    EXPECT_EQ(status.panel(StatusModel::Error), QStringLiteral("Fehler Schalt 2"));

    answer({QStringLiteral("sbp")});
    receive(sfs({0, 0, 0, 0, 24, 0, 0, 1, 0}));
    receive(sfs({1, 2, 1, 1, 7, 30, 39, 5, 0}));
    receive(sfs({2, 3, 2, 0, 18, 0, 39, 1, 0}));
    endSchedule();
    receive(frame("sfi", "7.090"));

    ASSERT_EQ(finishes, 1);
    EXPECT_TRUE(completed);
    EXPECT_EQ(exchange.retryRounds(), 1);
    EXPECT_EQ(store.entry(5, 3, 1).Zeit, timeCode(7, 30));
    EXPECT_EQ(store.entry(2, 4, 2).Zeit, timeCode(18, 0));
    EXPECT_TRUE(store.nonePending());
}

TEST_F(ReadAllTest, ScheduleEntriesGoodInDifferentRoundsMakeTheWholeSchedule)
{
    const QByteArray a = sfs({1, 0, 1, 1, 6, 0, 39, 1, 0});
    const QByteArray b = sfs({3, 1, 2, 0, 20, 15, 39, 7, 0});
    ASSERT_TRUE(exchange.start());
    answerAllButSchedule();
    receive(sfs({0, 0, 0, 0, 24, 0, 0, 1, 0}));
    receive(spoilt(a));
    receive(b);
    endSchedule();
    answer({});
    receive(sfs({0, 0, 0, 0, 24, 0, 0, 1, 0}));
    receive(a);
    receive(spoilt(b));
    endSchedule();
    receive(frame("sfi", "7.090"));

    ASSERT_EQ(finishes, 1);
    EXPECT_TRUE(completed);
    EXPECT_EQ(store.entry(1, 1, 1).Zeit, timeCode(6, 0));
    for (int day = 1; day <= kWeekdays; ++day)
        EXPECT_EQ(store.entry(day, 2, 2).Zeit, timeCode(20, 15)) << day;
    EXPECT_TRUE(store.nonePending());
}

TEST_F(ReadAllTest, AfterTwoMoreRoundsTheReadEndsIncompleteNamingWhatIsMissing)
{
    session.flags = fullFamily();
    ASSERT_TRUE(exchange.start());
    answerAllButSchedule(QStringLiteral("sbp"), 5);
    receive(sfs({0, 0, 0, 0, 24, 0, 0, 1, 0}));
    endSchedule();
    for (int round = 1; round <= ReadAllExchange::kRetryRounds; ++round) {
        ASSERT_TRUE(exchange.running()) << round;
        answer({QStringLiteral("sbp")}, QStringLiteral("sbp"), 5);
        receive(frame("sfi", "7.090"));
    }
    ASSERT_EQ(finishes, 1);
    EXPECT_FALSE(completed);
    EXPECT_EQ(exchange.missing(), QStringList{"Beschattung Motor 5"});
    EXPECT_TRUE(message.contains(QStringLiteral("Beschattung Motor 5")));
    EXPECT_EQ(status.panel(StatusModel::Error), QStringLiteral("Fehler Beschatt."));
    EXPECT_TRUE(store.allPending());
    EXPECT_EQ(port.count("sbp"), 1 + ReadAllExchange::kRetryRounds);
}

TEST_F(ReadAllTest, ALineThatDisappearsEndsTheReadAtOnce)
{
    ASSERT_TRUE(exchange.start());
    session.reportLineLost();
    ASSERT_EQ(finishes, 1);
    EXPECT_FALSE(completed);
    EXPECT_EQ(status.panel(StatusModel::Error), QStringLiteral("Verbindung unterbrochen"));
    EXPECT_TRUE(store.allPending());
    EXPECT_FALSE(session.readAllRunning);
}
