#include "protocol/sensor_recorder.h"

#include "protocol/session.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <memory>

namespace vandorelle {

SensorClock SensorClock::system()
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    return {[started] { return started->elapsed(); }, [] { return QDateTime::currentMSecsSinceEpoch(); }};
}

SensorClock SensorClock::faster(double factor)
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    const qint64 wallAtStart = QDateTime::currentMSecsSinceEpoch();
    return {[started, factor] { return qint64(double(started->elapsed()) * factor); },
            [started, factor, wallAtStart] { return wallAtStart + qint64(double(started->elapsed()) * factor); },
            factor};
}

SensorRecorder::SensorRecorder(Session &session, QObject *parent)
    : QObject(parent), m_session(session), m_clock(SensorClock::system())
{
    connect(&session, &Session::followUp, this, [this](FollowUp what) {
        if (what == FollowUp::LiveValues)
            record(m_session.live.reading);
    });
}

void SensorRecorder::setClock(SensorClock clock)
{
    // Times of different clocks do not compare.
    m_history.clear();
    m_clock = std::move(clock);
}

void SensorRecorder::record(const SensorReading &reading)
{
    m_history.append(m_clock.monotonicMs(), m_clock.wallMs(), reading);
    emit recorded();
}

void SensorRecorder::expire() { m_history.expire(m_clock.monotonicMs()); }

} // namespace vandorelle
