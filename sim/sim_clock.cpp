#include "sim/sim_clock.h"

namespace vandorelle::sim {

namespace {
const QByteArray kUnsetDate = "01.01.00";
}

SimClock::SimClock(bool set, WallClock wall, qint64 startMs, double timeScale)
    : set_(set), wall_(std::move(wall)), startMs_(startMs), timeScale_(timeScale), wallAtStart_(wall_())
{
}

QDateTime SimClock::now(qint64 nowMs) const
{
    const qint64 elapsed = qint64(double(nowMs - startMs_) * timeScale_);
    if (set_) return timeScale_ == 1 ? wall_() : wallAtStart_.addMSecs(elapsed);
    return QDateTime(QDate(2000, 1, 1), QTime(0, 0)).addMSecs(elapsed % 86400000);
}

QByteArray SimClock::dateText(qint64 nowMs) const
{
    if (!set_) return kUnsetDate; // stays until the time signal is decoded
    return now(nowMs).toString(QStringLiteral("dd.MM.yy")).toLatin1();
}

QByteArray SimClock::timeText(qint64 nowMs) const
{
    return now(nowMs).toString(QStringLiteral("HH:mm")).toLatin1();
}

} // namespace vandorelle::sim
