#pragma once

#include "protocol/sensor_reading.h"

#include <QtGlobal>

#include <algorithm>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vandorelle {

// A stored point of the history: one reading, or the average of the readings of a
// 10-second slot with their minimum and maximum. NaN where no reading had the sensor.
struct SensorPoint {
    qint64 monotonicMs = 0; // of the first reading: orders the points, decides their age
    qint64 wallMs = 0;      // the wall clock at the first reading, for labels
    qint32 spanMs = 0;      // from the first to the last reading of the point
    quint32 readings = 0;
    std::array<float, kSensorChannels> mean{};
    std::array<float, kSensorChannels> min{};
    std::array<float, kSensorChannels> max{};
    std::array<quint32, kSensorChannels> count{}; // readings that had the sensor
    bool rain = false;  // it rained at some reading of the point
    bool alarm = false;
    bool averaged = false; // a 10-second slot, not a single reading

    qint64 lastMonotonicMs() const { return monotonicMs + spanMs; }
    qint64 middleMonotonicMs() const { return monotonicMs + spanMs / 2; }
};

// Ring of fixed capacity; the oldest element goes when a new one does not fit.
template <class T>
class PointRing {
public:
    explicit PointRing(std::size_t capacity) : m_items(capacity) {}

    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_items.size(); }
    bool empty() const { return m_size == 0; }
    const T &operator[](std::size_t i) const { return m_items[(m_first + i) % m_items.size()]; }
    T &front() { return m_items[m_first]; }
    T &back() { return m_items[(m_first + m_size - 1) % m_items.size()]; }
    void popFront()
    {
        m_first = (m_first + 1) % m_items.size();
        --m_size;
    }
    void pushBack(const T &item)
    {
        if (m_size == m_items.size())
            popFront();
        m_items[(m_first + m_size) % m_items.size()] = item;
        ++m_size;
    }
    void clear() { m_first = m_size = 0; }
    // Visits the elements from index `from` on, in order, as the two runs they lie in.
    template <class Visit>
    void forEachFrom(std::size_t from, Visit &&visit) const
    {
        const std::size_t capacity = m_items.size();
        for (std::size_t i = from; i < m_size;) {
            const std::size_t at = (m_first + i) % capacity;
            const std::size_t run = std::min(m_size - i, capacity - at);
            for (const T *item = &m_items[at], *end = item + run; item != end; ++item)
                visit(*item);
            i += run;
        }
    }

private:
    std::vector<T> m_items;
    std::size_t m_first = 0;
    std::size_t m_size = 0;
};

// The sensor readings of the last 24 hours: every reading of the last hour, then one
// averaged point per 10-second slot. Both parts are rings allocated once, so memory does
// not grow with the time the program runs. Time is given by the caller: a monotonic clock
// in milliseconds orders and ages the points (a wall clock may jump), the wall time only
// labels them.
class SensorHistory {
public:
    static constexpr qint64 kFineMs = 3600 * 1000;       // full resolution
    static constexpr qint64 kKeepMs = 24 * 3600 * 1000;  // everything older goes
    static constexpr qint32 kSlotMs = 10 * 1000;         // averaged slot
    // One hour of polls every 900 ms with room for jitter; a faster source only moves
    // readings into the averaged part sooner.
    static constexpr std::size_t kFineCapacity = 4500;
    static constexpr std::size_t kCoarseCapacity = std::size_t(kKeepMs / kSlotMs) + 1;

    SensorHistory();

    // Readings arriving with an earlier monotonic time than the last one are taken as
    // arriving at the last one, so the order stays that of arrival.
    void append(qint64 monotonicMs, qint64 wallMs, const SensorReading &reading);
    // Ages the points to `monotonicMs` without a new reading (e.g. while disconnected).
    void expire(qint64 monotonicMs);
    void clear();

    bool empty() const { return m_fine.empty() && m_coarse.empty(); }
    std::size_t size() const { return m_fine.size() + m_coarse.size(); }
    std::size_t averagedPoints() const { return m_coarse.size(); }
    // Monotonic time of the newest reading; 0 while empty.
    qint64 lastMonotonicMs() const { return m_lastMonotonic; }
    // What the history holds in memory, whatever it contains.
    static constexpr std::size_t memoryBytes()
    {
        return sizeof(SensorHistory) + (kFineCapacity + kCoarseCapacity) * sizeof(SensorPoint);
    }

    // Visits the points from `fromMonotonicMs` on, oldest first.
    template <class Visit>
    void visit(qint64 fromMonotonicMs, Visit &&visit) const
    {
        m_coarse.forEachFrom(firstFrom(m_coarse, fromMonotonicMs), visit);
        m_fine.forEachFrom(firstFrom(m_fine, fromMonotonicMs), visit);
    }

private:
    // The first point whose last reading is not before `fromMs`.
    static std::size_t firstFrom(const PointRing<SensorPoint> &ring, qint64 fromMs);
    void age(qint64 nowMs);
    void average(const SensorPoint &reading);

    PointRing<SensorPoint> m_fine{kFineCapacity};
    PointRing<SensorPoint> m_coarse{kCoarseCapacity};
    qint64 m_lastMonotonic = 0;
    bool m_started = false;
};

} // namespace vandorelle
