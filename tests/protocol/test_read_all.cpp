#include "protocol/read_all.h"

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
        receive(sfs({255, 0, 0, 0, 0, 0, 0, 0, 0}));
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
    ASSERT_TRUE(exchange.start());
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

TEST_F(ReadAllTest, CharactersKeepTheReadAlive)
{
    exchange.setTimeoutInterval(500);
    ASSERT_TRUE(exchange.start());
    QElapsedTimer t;
    t.start();
    // A trickle of characters well inside the silence limit, for longer than the limit.
    while (t.elapsed() < 1500) {
        receive("x");
        waitUntil([] { return false; }, 40);
    }
    EXPECT_EQ(finishes, 0);
    EXPECT_TRUE(exchange.running());
    receive(sfs({255, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(completed);
}
