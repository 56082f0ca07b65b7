#pragma once

#include <QDateTime>

#include <functional>

namespace vandorelle::sim {

// The controller's clock. Either set (it follows the wall clock) or, after a power
// failure without radio time signal, running from 00:00 on 01.01.00. With a time scale
// above 1 it runs that many times faster, from the wall time at the start.
class SimClock {
public:
    using WallClock = std::function<QDateTime()>;

    SimClock(bool set, WallClock wall, qint64 startMs, double timeScale = 1);

    bool isSet() const { return set_; }
    void setFromSignal() { set_ = true; }

    QDateTime now(qint64 nowMs) const;
    QByteArray dateText(qint64 nowMs) const; // "07.12.26"
    QByteArray timeText(qint64 nowMs) const; // "12:00"
    QDateTime wallTime() const { return wall_(); }

private:
    bool set_;
    WallClock wall_;
    qint64 startMs_;
    double timeScale_;
    QDateTime wallAtStart_;
};

} // namespace vandorelle::sim
