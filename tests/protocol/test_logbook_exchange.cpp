#include "protocol/logbook_exchange.h"

#include "protocol/session.h"
#include "support/fake_port.h"

#include <QDir>
#include <QFile>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using namespace vandorelle;
using Op = LogbookExchange::Operation;
using Outcome = LogbookExchange::Outcome;

namespace {

// Values 1..9 of an entry and their sum, as the controller writes them.
QString entryPayload(std::vector<int> values, int sumOffset = 0)
{
    values.push_back(std::accumulate(values.begin(), values.end(), 0) + sumOffset);
    QString out;
    for (int v : values)
        out += QString::number(v) + ',';
    return out;
}

QString entry(int number, int motor = 2, int cause = 1)
{
    return entryPayload({number, motor, 1, 7, 12, cause, 6, 30, 0});
}

struct Ending {
    Op operation;
    Outcome outcome;
    QString message;
};

// Records every end of a transfer; wait() runs the event loop until one comes (bounded).
struct EndRecorder {
    explicit EndRecorder(LogbookExchange &exchange)
    {
        QObject::connect(&exchange, &LogbookExchange::finished, &exchange,
                         [this](Op op, Outcome outcome, const QString &message) {
                             endings.push_back({op, outcome, message});
                             loop.quit();
                         });
    }
    bool wait(int limitMs)
    {
        if (endings.empty()) {
            QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return !endings.empty();
    }
    int count() const { return int(endings.size()); }
    bool isEmpty() const { return endings.empty(); }
    const Ending &operator[](int i) const { return endings.at(i); }

    std::vector<Ending> endings;
    QEventLoop loop;
};

const QString kEndMarker = entryPayload({9999, 1, 0, 0, 0, 0, 0, 0, 0});

class LogbookExchangeTest : public ::testing::Test {
protected:
    LogbookExchangeTest()
    {
        session.setPort(&port);
    }

    void frame(const QString &tag, const QString &payload) { emit session.frameHandled(tag, payload, true); }
    void total(int n) { frame("sla", QString::number(n) + ','); }
    QString panel(int index) const { return status.panel(index); }

    ConfigStore store;
    StatusModel status;
    Session session{store, status};
    test::FakePort port;
    LogbookExchange exchange{session};
    EndRecorder finished{exchange};
};

} // namespace

TEST_F(LogbookExchangeTest, ReadRequestsGoOutInOrder)
{
    int started = 0;
    QObject::connect(&exchange, &LogbookExchange::started, [&started] { ++started; });
    ASSERT_TRUE(exchange.readNextPage());
    EXPECT_EQ(port.texts(), (QStringList{"smn", "sla", "sld"}));
    EXPECT_EQ(started, 1);
    EXPECT_EQ(exchange.operation(), Op::Read);
    EXPECT_FALSE(exchange.readFromStart()); // one transfer at a time
    EXPECT_FALSE(exchange.startExport("/tmp/never-created.vlg"));

    frame("sld", kEndMarker);
    port.clear();
    ASSERT_TRUE(exchange.readFromStart());
    EXPECT_EQ(port.texts(), (QStringList{"smn", "sla", "slr", "sld"}));
}

TEST_F(LogbookExchangeTest, PageOfEntriesEndsWithTheMarkerBelowIt)
{
    exchange.readNextPage();
    total(57);
    const int32_t rx = session.RxCount;
    frame("sld", entry(1));
    frame("sld", entry(2));
    EXPECT_EQ(panel(StatusModel::Activity), QStringLiteral("Logbuch Daten"));
    EXPECT_EQ(exchange.selectedLine(), 1);
    EXPECT_TRUE(exchange.lines()[0].startsWith("   57  Motor 2"));
    EXPECT_TRUE(exchange.lines()[1].startsWith("   56  Motor 2"));
    EXPECT_TRUE(finished.isEmpty());

    frame("sld", kEndMarker);
    EXPECT_EQ(exchange.lines()[2], kLogbookEmptyText);
    EXPECT_EQ(exchange.selectedLine(), 0);
    EXPECT_EQ(exchange.lastEntryNumber(), 2);
    EXPECT_EQ(session.RxCount, rx + 1);
    EXPECT_EQ(panel(StatusModel::Activity), QString());
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished[0].outcome, Outcome::Completed);
    EXPECT_FALSE(exchange.busy());
}

TEST_F(LogbookExchangeTest, EveryHundredthEntryStartsAFreshPage)
{
    exchange.readNextPage();
    total(250);
    frame("sld", entry(1));
    frame("sld", entry(2));
    int cleared = 0;
    QObject::connect(&exchange, &LogbookExchange::pageCleared, [&cleared] { ++cleared; });
    const std::pair<int, const char *> pages[] = {{101, "  150  "}, {201, "   50  "}};
    for (const auto &[n, shown] : pages) {
        frame("sld", entry(n));
        EXPECT_EQ(exchange.lines()[1], QString()) << n;
        EXPECT_TRUE(exchange.lines()[0].startsWith(QLatin1String(shown))) << n;
    }
    EXPECT_EQ(cleared, 2);
}

TEST_F(LogbookExchangeTest, EndMarkerBehindAFullPageKeepsThePage)
{
    exchange.readNextPage();
    total(150);
    for (int n = 1; n <= 100; ++n)
        frame("sld", entry(n));
    frame("sld", kEndMarker);
    EXPECT_TRUE(exchange.lines()[0].startsWith("  150  "));
    EXPECT_TRUE(exchange.lines()[99].startsWith("   51  "));
    EXPECT_EQ(exchange.lines()[100], kLogbookEmptyText);
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(LogbookExchangeTest, DamagedEntryIsReportedAndSkipped)
{
    exchange.readNextPage();
    total(9);
    frame("sld", entry(4));
    frame("sld", entryPayload({5, 2, 1, 7, 12, 1, 6, 30, 0}, +1));
    EXPECT_EQ(panel(StatusModel::Error), QStringLiteral("LoBuFe 4"));
    EXPECT_EQ(exchange.lines()[4], QString());
    EXPECT_EQ(exchange.lastEntryNumber(), 4);
    // A broken end marker ends nothing.
    frame("sld", entryPayload({9999, 1, 0, 0, 0, 0, 0, 0, 0}, -5));
    EXPECT_EQ(panel(StatusModel::Error), QStringLiteral("LoBuFe 9998"));
    EXPECT_TRUE(exchange.busy());
    frame("sld", "x,1,");
    EXPECT_TRUE(exchange.busy());
}

TEST_F(LogbookExchangeTest, ForeignMotorNumberShowsItsNumber)
{
    store.MotorNamen[0] = QStringLiteral("Küche");
    exchange.readNextPage();
    total(2);
    frame("sld", entry(1, 1));
    frame("sld", entry(2, 40));
    EXPECT_EQ(exchange.lines()[0].mid(7, 12), QStringLiteral("Küche       "));
    EXPECT_EQ(exchange.lines()[1].mid(7, 12), QStringLiteral("40          "));
}

TEST_F(LogbookExchangeTest, DeleteEmptiesThePageAndRestartsNumbering)
{
    exchange.readNextPage();
    total(3);
    frame("sld", entry(1));
    frame("sld", kEndMarker);
    port.clear();
    exchange.deleteLogbook();
    EXPECT_EQ(port.texts(), QStringList{"sll"});
    EXPECT_EQ(exchange.lines().join(QString()), QString());
    EXPECT_EQ(exchange.lastEntryNumber(), 1);
    EXPECT_FALSE(exchange.busy());
}

TEST_F(LogbookExchangeTest, SilenceEndsARead)
{
    exchange.setSilenceTimeout(1);
    exchange.readNextPage();
    frame("sld", entry(1));
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(finished[0].operation, Op::Read);
    EXPECT_EQ(finished[0].outcome, Outcome::TimedOut);
    EXPECT_EQ(panel(StatusModel::Error), QStringLiteral("Zeitüberschreitung"));
    EXPECT_FALSE(exchange.busy());
    // A late end marker shows but does not end anything twice.
    frame("sld", kEndMarker);
    EXPECT_EQ(finished.count(), 1);
}

class LogbookExportTest : public LogbookExchangeTest {
protected:
    QByteArray fileBytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    QString path = dir.filePath("logbuch.vlg");
};

TEST_F(LogbookExportTest, WritesHeaderAndOneLinePerEntryIncludingTheMarker)
{
    std::vector<int32_t> progress;
    QObject::connect(&exchange, &LogbookExchange::exportProgress,
                     [&progress](int32_t n) { progress.push_back(n); });
    ASSERT_TRUE(exchange.startExport(path));
    EXPECT_EQ(port.texts(), (QStringList{"smn", "sla", "slf"}));
    total(2);
    frame("slf", entryPayload({1, 2, 1, 7, 12, 0, 6, 30, 1}));
    EXPECT_EQ(panel(StatusModel::Activity), QStringLiteral("Logbuch Zeile 1"));
    frame("slf", entryPayload({2, 3, 0, 24, 3, 8, 23, 5, 0}));
    EXPECT_FALSE(QFile::exists(path)); // replaced only when complete
    frame("slf", kEndMarker);

    EXPECT_EQ(fileBytes(path),
              QByteArray("Nr;Motor/Raum;Datum;Uhrzeit;Richtung;Ausgel\xF6st durch\r\n"
                         "2;Motor 2;07.12.;06:30;^;Programmierte Schaltzeit mit Astrofunktion\r\n"
                         "1;            ;24.03.;23:05; ;Alarmkontakt wurde ausgel\xF6st\r\n"
                         "0;Motor 1;00.00.;00:00;v;   Keine Logbucheintr\xE4ge gespeichert\r\n"));
    EXPECT_EQ(exchange.linesWritten(), 3);
    EXPECT_EQ(progress, (std::vector<int32_t>{0, 1, 2})); // 0 at the start, then each entry
    EXPECT_EQ(panel(StatusModel::Activity), QString());
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished[0].outcome, Outcome::Completed);
    EXPECT_TRUE(finished[0].message.isEmpty());
}

TEST_F(LogbookExportTest, FromStartRewindsFirstAndStrayEntriesAreIgnoredWhenIdle)
{
    frame("slf", entry(1));
    EXPECT_EQ(panel(StatusModel::Activity), QString());
    ASSERT_TRUE(exchange.startExport(path, /*fromStart=*/true));
    EXPECT_EQ(port.texts(), (QStringList{"slr", "smn", "sla", "slf"}));
}

TEST_F(LogbookExportTest, UncreatableFileIsReportedAndNothingIsRequested)
{
    EXPECT_FALSE(exchange.startExport(dir.filePath("missing/dir/logbuch.vlg")));
    EXPECT_TRUE(port.writes.isEmpty());
    EXPECT_FALSE(exchange.busy());
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished[0].outcome, Outcome::FileError);
    EXPECT_TRUE(finished[0].message.contains("missing/dir/logbuch.vlg"));
}

TEST_F(LogbookExportTest, FileThatCannotBeCompletedEndsTheExportCleanly)
{
    const QString sub = dir.filePath("sub");
    ASSERT_TRUE(QDir().mkpath(sub));
    ASSERT_TRUE(exchange.startExport(sub + "/logbuch.vlg"));
    total(1);
    frame("slf", entry(1));
    ASSERT_TRUE(QDir(sub).removeRecursively());
    frame("slf", kEndMarker);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished[0].outcome, Outcome::FileError);
    EXPECT_FALSE(exchange.busy());
    // What the controller still sends is not written anywhere.
    frame("slf", entry(2));
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(LogbookExportTest, SilenceKeepsWhatArrivedAndSaysTheFileIsIncomplete)
{
    exchange.setSilenceTimeout(1);
    ASSERT_TRUE(exchange.startExport(path));
    total(5);
    frame("slf", entry(1));
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(finished[0].outcome, Outcome::TimedOut);
    EXPECT_TRUE(finished[0].message.contains(QStringLiteral("unvollständig")));
    EXPECT_EQ(panel(StatusModel::Error), QStringLiteral("Zeitüberschreitung"));
    EXPECT_EQ(fileBytes(path).count("\r\n"), 2);
}

TEST_F(LogbookExchangeTest, FramesFromTheLineFeedThePage)
{
    exchange.readNextPage();
    const QByteArray bytes = "start_sla2,ende_start_sld" + entry(1).toLatin1() + "ende_xx"
        + "start_sld" + entry(2).toLatin1() + "ende_start_sld" + kEndMarker.toLatin1() + "ende_";
    session.receive(bytes, int(bytes.size()));
    EXPECT_EQ(exchange.total(), 2);
    EXPECT_TRUE(exchange.lines()[0].startsWith("    2  Motor 2"));
    EXPECT_TRUE(exchange.lines()[1].startsWith("    1  Motor 2"));
    EXPECT_EQ(exchange.lines()[2], kLogbookEmptyText);
    EXPECT_EQ(finished.count(), 1);
}
