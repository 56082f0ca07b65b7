// The logbook transfers against the emulated controller over a pseudo-terminal.
#include "config/text_codec.h"
#include "link/serial_port.h"
#include "protocol/logbook_exchange.h"
#include "protocol/session.h"
#include "support/emulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace vandorelle;
using Outcome = LogbookExchange::Outcome;

namespace {

constexpr int kSimEntries = 180;

bool runUntil(const std::function<bool()> &done, int boundMs)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < boundMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    return done();
}

QString twoDigits(long long v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

class LogbookOnEmulator : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(emulator.start({"--baud", "0", "--seed", "11", "--logbook-entries",
                                    QString::number(kSimEntries)}))
            << emulator.lastError().toStdString();
        QObject::connect(&port, &TVaComm::OnRxChar, &session,
                         [this](int count) { session.receive(port.ReadAvailable(), count); });
        QObject::connect(&exchange, &LogbookExchange::finished,
                         [this](LogbookExchange::Operation, Outcome outcome, const QString &message) {
                             outcomes.push_back(outcome);
                             messages << message;
                         });
    }
    void TearDown() override { port.Close(); }

    void openPort()
    {
        port.setDeviceOverride(emulator.devicePath());
        port.setBaudrate(Baudrate::br9600);
        port.setDatabits(Databits::db8);
        port.setParity(Parity::paNone);
        port.setStopbits(Stopbits::sb1);
        port.Open();
        session.setPort(&port);
    }

    // Runs one transfer to its end; false when it did not end within the bound.
    bool run(const std::function<bool()> &start)
    {
        const size_t before = outcomes.size();
        if (!start())
            return false;
        return runUntil([&] { return outcomes.size() > before; }, 30000)
            && outcomes.back() == Outcome::Completed;
    }

    test::Emulator emulator;
    ConfigStore store;
    StatusModel status;
    Session session{store, status};
    TVaComm port;
    LogbookExchange exchange{session};
    std::vector<Outcome> outcomes;
    QStringList messages;
};

} // namespace

TEST_F(LogbookOnEmulator, ReadsPageByPageAndAgainFromTheStart)
{
    openPort();
    ASSERT_TRUE(run([&] { return exchange.readNextPage(); }));
    EXPECT_EQ(exchange.total(), kSimEntries);
    EXPECT_EQ(exchange.lastEntryNumber(), 100);
    EXPECT_TRUE(exchange.lines()[0].startsWith(QStringLiteral("  %1  ").arg(kSimEntries)));
    EXPECT_TRUE(exchange.lines()[99].startsWith(QStringLiteral("   %1  ").arg(kSimEntries - 99)));
    EXPECT_EQ(exchange.lines()[100], kLogbookEmptyText);
    EXPECT_EQ(exchange.selectedLine(), 0);

    ASSERT_TRUE(run([&] { return exchange.readNextPage(); }));
    EXPECT_EQ(exchange.lastEntryNumber(), kSimEntries);
    EXPECT_TRUE(exchange.lines()[0].startsWith(QStringLiteral("   %1  ").arg(kSimEntries - 100)));
    EXPECT_TRUE(exchange.lines()[kSimEntries - 101].startsWith(QStringLiteral("    1  ")));
    EXPECT_EQ(exchange.lines()[kSimEntries - 100], kLogbookEmptyText);
    EXPECT_EQ(exchange.lines()[kSimEntries - 99], QString()); // the second page is shorter

    ASSERT_TRUE(run([&] { return exchange.readFromStart(); }));
    EXPECT_EQ(exchange.lastEntryNumber(), 100);
    EXPECT_TRUE(exchange.lines()[0].startsWith(QStringLiteral("  %1  ").arg(kSimEntries)));
    for (int i = 0; i < 100; ++i)
        EXPECT_FALSE(exchange.lines()[i].isEmpty()) << i;
}

TEST_F(LogbookOnEmulator, ExportHoldsEveryEntryOfTheController)
{
    // The controller's own logbook, read without the tool.
    std::vector<test::RawFrame> raw;
    {
        test::RawLine line;
        ASSERT_TRUE(line.open(emulator.devicePath()));
        ASSERT_TRUE(line.write("slf"));
        raw = line.readFrames(kSimEntries + 1);
    }
    ASSERT_EQ(int(raw.size()), kSimEntries + 1);

    openPort();
    QTemporaryDir dir;
    const QString path = dir.filePath("logbuch.vlg");
    ASSERT_TRUE(run([&] { return exchange.startExport(path); })) << messages.join('\n').toStdString();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = splitLines(file.readAll());
    ASSERT_EQ(int(lines.size()), 1 + kSimEntries + 1);
    EXPECT_EQ(fromWindows1252(lines[0]), kLogbookExportHeader);

    for (int i = 0; i < kSimEntries; ++i) {
        const std::vector<long long> v = test::payloadValues(raw[i].payload);
        ASSERT_EQ(raw[i].tag, "slf");
        ASSERT_EQ(v.size(), 10u);
        const QStringList fields = fromWindows1252(lines[i + 1]).split(';');
        ASSERT_EQ(fields.size(), 6) << i;
        const bool noMotor = v[5] == 8 || v[5] == 9;
        EXPECT_EQ(fields[0].toLongLong(), kSimEntries - v[0] + 1) << i;
        EXPECT_EQ(fields[1], noMotor ? QString(12, ' ') : QStringLiteral("Motor %1").arg(v[1])) << i;
        EXPECT_EQ(fields[2], twoDigits(v[3]) + '.' + twoDigits(v[4]) + '.') << i;
        EXPECT_EQ(fields[3], twoDigits(v[6]) + ':' + twoDigits(v[7])) << i;
        EXPECT_EQ(fields[4], noMotor ? QStringLiteral(" ") : v[2] == 0 ? QStringLiteral("v") : QStringLiteral("^")) << i;
        EXPECT_EQ(fields[5], logbookCauseText(int32_t(v[5]), int32_t(v[8]), LogbookColumn::Export)) << i;
    }
    EXPECT_TRUE(fromWindows1252(lines.back()).endsWith(kLogbookEmptyText));
}

TEST_F(LogbookOnEmulator, DeleteLeavesAnEmptyLogbook)
{
    openPort();
    exchange.deleteLogbook();
    ASSERT_TRUE(run([&] { return exchange.readFromStart(); }));
    EXPECT_EQ(exchange.total(), 0);
    EXPECT_EQ(exchange.lines()[0], QString());
    EXPECT_EQ(exchange.lines()[1], kLogbookEmptyText);
    EXPECT_EQ(exchange.selectedLine(), 0);
}
