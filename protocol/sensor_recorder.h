#pragma once

#include "protocol/sensor_history.h"

#include <QObject>

#include <functional>

namespace vandorelle {

class Session;

// Where the history takes its time from: a monotonic clock for order and age, the wall
// clock for labels. Both in milliseconds.
struct SensorClock {
    std::function<qint64()> monotonicMs;
    std::function<qint64()> wallMs;
    double factor = 1; // how much faster than real time it runs

    static SensorClock system();
    // Both run `factor` times faster than the system clocks from now on: for an emulated
    // controller whose weather runs as fast, so that a day fits into minutes.
    static SensorClock faster(double factor);
};

// Keeps the history of every sensor answer the session decodes.
class SensorRecorder : public QObject {
    Q_OBJECT
public:
    explicit SensorRecorder(Session &session, QObject *parent = nullptr);

    const SensorHistory &history() const { return m_history; }
    const SensorClock &clock() const { return m_clock; }
    void setClock(SensorClock clock);

    // Adds a reading at the clock's time now.
    void record(const SensorReading &reading);
    // Ages the history to now, when no readings come.
    void expire();

signals:
    void recorded();

private:
    Session &m_session;
    SensorClock m_clock;
    SensorHistory m_history;
};

} // namespace vandorelle
