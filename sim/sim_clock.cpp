#include "sim/sim_clock.h"

namespace vandorelle::sim {

namespace {
const QByteArray kUnsetDate = "01.01.00";
}

SimClock::SimClock(bool set, WallClock wall, qint64 startMs)
    : set_(set), wall_(std::move(wall)), startMs_(startMs)
{
}

QDateTime SimClock::now(qint64 nowMs) const
{
    if (set_) return wall_();
    return QDateTime(QDate(2000, 1, 1), QTime(0, 0)).addMSecs((nowMs - startMs_) % 86400000);
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
