#include "protocol/sensor_history.h"

#include <algorithm>

namespace vandorelle {

namespace {

qint64 slotOf(qint64 monotonicMs)
{
    const qint64 slot = monotonicMs / SensorHistory::kSlotMs;
    return monotonicMs < 0 && monotonicMs % SensorHistory::kSlotMs != 0 ? slot - 1 : slot;
}

SensorPoint pointOf(qint64 monotonicMs, qint64 wallMs, const SensorReading &reading)
{
    SensorPoint p;
    p.monotonicMs = monotonicMs;
    p.wallMs = wallMs;
    p.readings = 1;
    p.mean = p.min = p.max = reading.values;
    for (int c = 0; c < kSensorChannels; ++c)
        p.count[c] = reading.has(SensorChannel(c)) ? 1 : 0;
    p.rain = reading.rain;
    p.alarm = reading.alarm;
    return p;
}

// Adds the readings of `p` to `into`, weighting the means by their counts.
void merge(SensorPoint &into, const SensorPoint &p)
{
    into.spanMs = qint32(std::max<qint64>(into.spanMs, p.lastMonotonicMs() - into.monotonicMs));
    into.readings += p.readings;
    for (int c = 0; c < kSensorChannels; ++c) {
        if (p.count[c] == 0)
            continue;
        if (into.count[c] == 0) {
            into.mean[c] = p.mean[c];
            into.min[c] = p.min[c];
            into.max[c] = p.max[c];
        } else {
            const double total = double(into.count[c]) + double(p.count[c]);
            into.mean[c] = float((double(into.mean[c]) * into.count[c] + double(p.mean[c]) * p.count[c]) / total);
            into.min[c] = std::min(into.min[c], p.min[c]);
            into.max[c] = std::max(into.max[c], p.max[c]);
        }
        into.count[c] += p.count[c];
    }
    into.rain = into.rain || p.rain;
    into.alarm = into.alarm || p.alarm;
}

} // namespace

SensorHistory::SensorHistory() = default;

void SensorHistory::append(qint64 monotonicMs, qint64 wallMs, const SensorReading &reading)
{
    if (m_started)
        monotonicMs = std::max(monotonicMs, m_lastMonotonic);
    m_started = true;
    m_lastMonotonic = monotonicMs;
    if (m_fine.size() == m_fine.capacity()) {
        average(m_fine.front());
        m_fine.popFront();
    }
    m_fine.pushBack(pointOf(monotonicMs, wallMs, reading));
    age(monotonicMs);
}

void SensorHistory::expire(qint64 monotonicMs)
{
    if (m_started)
        age(std::max(monotonicMs, m_lastMonotonic));
}

void SensorHistory::clear()
{
    m_fine.clear();
    m_coarse.clear();
    m_lastMonotonic = 0;
    m_started = false;
}

std::size_t SensorHistory::firstFrom(const PointRing<SensorPoint> &ring, qint64 fromMs)
{
    std::size_t low = 0, high = ring.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (ring[middle].lastMonotonicMs() < fromMs)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void SensorHistory::age(qint64 nowMs)
{
    while (!m_fine.empty() && nowMs - m_fine.front().monotonicMs > kFineMs) {
        average(m_fine.front());
        m_fine.popFront();
    }
    while (!m_coarse.empty() && nowMs - m_coarse.front().monotonicMs > kKeepMs)
        m_coarse.popFront();
}

void SensorHistory::average(const SensorPoint &reading)
{
    if (!m_coarse.empty() && slotOf(m_coarse.back().monotonicMs) == slotOf(reading.monotonicMs)) {
        merge(m_coarse.back(), reading);
        return;
    }
    m_coarse.pushBack(reading);
    m_coarse.back().averaged = true;
}

} // namespace vandorelle
