// Values from the line reach the store unchecked and may be any 32-bit number. Nothing built
// from them may overflow; under the sanitizer build an overflow fails the test.

#include "protocol/logbook_exchange.h"
#include "protocol/pc_records.h"
#include "protocol/session.h"
#include "support/fake_port.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace vandorelle;

namespace {

// Values 1..9 and their sum; the sums of these extremes still fit the check value.
QString entryPayload(const std::vector<int64_t> &values)
{
    int64_t sum = 0;
    QString out;
    for (int64_t v : values) {
        sum += v;
        out += QString::number(v) + ',';
    }
    return out + QString::number(sum) + ',';
}

QString valuesOf(const PcRecord &record)
{
    QString out;
    for (qsizetype i = 1; i < record.size(); ++i)
        out += record[i].chopped(1) + QLatin1Char(',');
    return out;
}

class LogbookExtremes : public ::testing::Test {
protected:
    LogbookExtremes() { session.setPort(&port); }
    void frame(const QString &tag, const QString &text) { emit session.frameHandled(tag, text, true); }

    ConfigStore store;
    StatusModel status;
    Session session{store, status};
    test::FakePort port;
    LogbookExchange exchange{session};
};

} // namespace

TEST_F(LogbookExtremes, NumbersAtTheEndsOfTheRangeStillLandOnThePage)
{
    ASSERT_TRUE(exchange.readNextPage());
    frame("sla", QString::number(INT32_MIN) + ',');
    frame("sld", entryPayload({INT32_MIN, INT32_MAX, 1, 7, 12, 1, 6, 30, 0}));
    frame("sld", entryPayload({INT32_MAX, -100, 1, 7, 12, 1, 6, 30, 0}));
    EXPECT_EQ(exchange.lastEntryNumber(), INT32_MAX);
    EXPECT_TRUE(exchange.busy());

    // The marker after the highest number takes the line the number after it would.
    frame("sld", entryPayload({9999, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(exchange.busy());
    ASSERT_EQ(exchange.lines().size(), kLogbookPageLines);
    EXPECT_EQ(exchange.lines()[logbookPlacement(INT32_MIN, true).line], kLogbookEmptyText);
}

TEST(LogbookPlacementExtremes, LowestAndHighestNumbersStayWithinThePage)
{
    EXPECT_EQ(logbookPlacement(INT32_MIN, false).line, 51);
    EXPECT_EQ(logbookPlacement(INT32_MAX, false).line, 46);
    EXPECT_EQ(logbookPlacement(INT32_MIN, true).line, 51);
}

// Only an odd report of a controller can bring such codes: a build with assertions stops, a
// release build holds the value at the end of the wire's range, so the record fails its check.
TEST(PcRecordExtremes, ValuesBeyondTheWiresRangeAreHeldAtItsEnd)
{
    ConfigStore store;
    BeschattungRecord &r = store.Beschattung[0];
    r.Temperatur = INT32_MAX;
    r.Von = INT32_MAX;
    r.Bis = INT32_MAX;
    r.Helligkeit = INT32_MAX;
    r.Dauer = INT32_MAX;
    PcRecord record;
    EXPECT_DEBUG_DEATH(record = pc::motorRecord(MotorTable::Beschattung, store, 1, false), "32-bit range");
#ifdef NDEBUG
    EXPECT_EQ(valuesOf(record), "1,0,2147483647,2147483647,2147483647,2147483647,2147483647,2147483647,");
#endif

    store.AussenTemperatursteuerung[31].Schwelle1 = INT32_MIN;
    store.InnenTemperatursteuerung[31].Schwelle2 = INT32_MAX;
    store.TastAutomatik[31].Dauer = INT32_MAX;
    QStringList values;
    EXPECT_DEBUG_DEATH(
        for (int t = 0; t < kMotorTableCount; ++t) values << valuesOf(pc::motorRecord(MotorTable(t), store, 32, true)),
        "32-bit range");
#ifdef NDEBUG
    for (const QString &v : values) {
        for (const QString &piece : v.split(',', Qt::SkipEmptyParts)) {
            bool ok = false;
            piece.toInt(&ok);
            EXPECT_TRUE(ok) << piece.toStdString();
        }
    }
#endif
}

TEST(PcRecordExtremes, ScheduleEntryWithTheLowestTimeCode)
{
    SchaltzeitEntry e;
    e.Zeit = INT32_MIN;
    // Hour and minute keep the code: 60 * hour + minute + 1 gives it back.
    EXPECT_EQ(valuesOf(pc::scheduleEntry(e, 1, 1, 1)).section(',', 4, 5), "-35791394,-9");
}
