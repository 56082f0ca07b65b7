#include "protocol/sensor_history.h"
#include "protocol/sensor_recorder.h"
#include "test_receive_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace vandorelle;

namespace {

constexpr qint64 kPollMs = 900;
constexpr qint64 kHourMs = 3600 * 1000;

SensorReading reading(float value)
{
    SensorReading r;
    r.values.fill(value);
    return r;
}

std::vector<SensorPoint> pointsOf(const SensorHistory &h, qint64 from = std::numeric_limits<qint64>::min())
{
    std::vector<SensorPoint> points;
    h.visit(from, [&](const SensorPoint &p) { points.push_back(p); });
    return points;
}

} // namespace

TEST(SensorHistory, TwentyFiveHoursOfPollsStayWithinTheBound)
{
    SensorHistory h;
    const qint64 end = 25 * kHourMs;
    std::size_t most = 0;
    for (qint64 t = 0; t <= end; t += kPollMs) {
        h.append(t, 1'700'000'000'000 + t, reading(float(t % 1000)));
        most = std::max(most, h.size());
    }
    EXPECT_LE(most, SensorHistory::kFineCapacity + SensorHistory::kCoarseCapacity);

    const std::vector<SensorPoint> points = pointsOf(h);
    ASSERT_EQ(points.size(), h.size());
    // Only the last 24 hours are kept; the last hour at full resolution, the rest in 10 s slots.
    EXPECT_LE(end - points.front().monotonicMs, 24 * kHourMs);
    EXPECT_GE(end - points.front().monotonicMs, 24 * kHourMs - 10'000);
    std::size_t single = 0;
    for (const SensorPoint &p : points) {
        if (end - p.monotonicMs > kHourMs) {
            EXPECT_TRUE(p.averaged) << p.monotonicMs;
            EXPECT_EQ(p.monotonicMs / 10'000, p.lastMonotonicMs() / 10'000) << "one slot per point";
        } else if (!p.averaged) {
            ++single;
        }
    }
    EXPECT_EQ(single, std::size_t(kHourMs / kPollMs) + 1);
    EXPECT_NEAR(double(h.averagedPoints()), 23 * 360, 3);
}

TEST(SensorHistory, ReadingsOlderThanAnHourAreAveragedPerSlotAcrossTheBoundary)
{
    // Every reading has its own value, so each slot's mean, minimum and maximum are known.
    SensorHistory h;
    std::vector<std::pair<qint64, float>> sent;
    const qint64 start = 123'456; // slots do not start with the first reading
    for (int k = 0; start + k * kPollMs <= start + kHourMs + 95'000; ++k) {
        const qint64 t = start + k * kPollMs;
        const float value = float((k * 37) % 101) - 50;
        h.append(t, t, reading(value));
        sent.emplace_back(t, value);

        // Whenever the hour boundary lies inside a slot, the slot holds only the readings
        // that have crossed it; the others join it as they cross.
        if (t < start + kHourMs + 60'000)
            continue;
        for (const SensorPoint &p : pointsOf(h)) {
            if (!p.averaged)
                continue;
            double sum = 0;
            float lo = 1e9f, hi = -1e9f;
            quint32 n = 0;
            for (const auto &[at, v] : sent) {
                if (at / 10'000 == p.monotonicMs / 10'000 && t - at > kHourMs) {
                    sum += v;
                    lo = std::min(lo, v);
                    hi = std::max(hi, v);
                    ++n;
                }
            }
            ASSERT_EQ(p.readings, n) << "slot at " << p.monotonicMs;
            EXPECT_NEAR(p.mean[LuxCurrent], sum / n, 1e-3);
            EXPECT_EQ(p.min[WindSpeed], lo);
            EXPECT_EQ(p.max[Humidity], hi);
        }
    }
}

TEST(SensorHistory, AnAbsentSensorIsAGapNotAValue)
{
    // Inside sensor absent (999), outside -3,5 °C, no humidity sensor (0).
    const ValueList skd{250, 999, 0, 0, 0, -3, 5, -7, 2, 12, 74, 1, 0, 4, 180, 0};
    const SensorReading r = sensorReadingOf(skd);
    EXPECT_FALSE(r.has(InsideTemperature));
    EXPECT_FALSE(r.has(Humidity));
    EXPECT_FLOAT_EQ(r.values[OutsideTemperature], -3.5f);
    EXPECT_FLOAT_EQ(r.values[LuxMean], 180);
    EXPECT_TRUE(r.alarm);
    EXPECT_FALSE(r.rain);

    SensorHistory h;
    SensorReading present = r;
    present.values[InsideTemperature] = 20;
    // One slot: 20 °C, absent, 23 °C; the next slot: absent only.
    h.append(0, 0, present);
    h.append(900, 900, r);
    present.values[InsideTemperature] = 23;
    h.append(1800, 1800, present);
    h.append(10'000, 10'000, r);
    h.append(kHourMs + 20'000, 0, r);

    const std::vector<SensorPoint> points = pointsOf(h);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].readings, 3u);
    EXPECT_EQ(points[0].count[InsideTemperature], 2u);
    EXPECT_FLOAT_EQ(points[0].mean[InsideTemperature], 21.5f);
    EXPECT_FLOAT_EQ(points[0].min[InsideTemperature], 20);
    EXPECT_FLOAT_EQ(points[0].max[InsideTemperature], 23);
    EXPECT_EQ(points[0].count[OutsideTemperature], 3u);
    EXPECT_EQ(points[1].count[InsideTemperature], 0u);
    EXPECT_EQ(points[1].count[Humidity], 0u);
    EXPECT_EQ(points[2].count[InsideTemperature], 0u);
}

TEST(SensorHistory, ClockJumpsBackwardsKeepTheOrderOfArrival)
{
    SensorHistory h;
    qint64 mono = 0;
    qint64 wall = 1'700'000'000'000;
    int sent = 0;
    for (int k = 0; k < 200; ++k, ++sent) {
        // The wall clock is set back an hour halfway; later the monotonic source
        // even steps back (a clock that is not as monotonic as it claims).
        if (k == 100)
            wall -= kHourMs;
        if (k == 150)
            mono -= 60'000;
        h.append(mono, wall, reading(float(k)));
        mono += kPollMs;
        wall += kPollMs;
    }
    const std::vector<SensorPoint> points = pointsOf(h);
    ASSERT_EQ(points.size(), std::size_t(sent)); // nothing dropped, nothing averaged early
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].mean[LuxCurrent], float(i)) << i;
        if (i > 0) {
            EXPECT_GE(points[i].monotonicMs, points[i - 1].monotonicMs) << i;
        }
    }
    EXPECT_LT(points[100].wallMs, points[99].wallMs); // labels keep what the clock said
    // A range asked from the middle starts at the right reading.
    EXPECT_EQ(pointsOf(h, points[120].monotonicMs).front().mean[LuxCurrent], 120.0f);
}

TEST(SensorRecorder, RecordsEveryDecodedSensorAnswerWithTheClocksTime)
{
    test::ReceiveFixture f;
    SensorRecorder recorder(f.session);
    qint64 mono = 5000;
    recorder.setClock({[&] { return mono; }, [] { return qint64(42); }});
    f.feed("skd", "250,21,5,18,24,-3,5,-7,2,12,74,0,1,4,180,55,");
    mono = 5900;
    f.feed("skd", "251,21,x,");   // not a number: dropped with the frame
    f.feed("sti", "12:00");         // not a sensor answer
    const std::vector<SensorPoint> points = pointsOf(recorder.history());
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].monotonicMs, 5000);
    EXPECT_EQ(points[0].wallMs, 42);
    EXPECT_FLOAT_EQ(points[0].mean[LuxCurrent], 250);
    EXPECT_FLOAT_EQ(points[0].mean[InsideTemperature], 21.5f);
    EXPECT_FLOAT_EQ(points[0].mean[WindSpeed], 12);
    EXPECT_FLOAT_EQ(points[0].mean[Humidity], 55);
    EXPECT_TRUE(points[0].rain);
}
