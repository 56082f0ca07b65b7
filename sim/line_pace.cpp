#include "sim/line_pace.h"

#include <algorithm>
#include <cmath>

namespace vandorelle::sim {

namespace {
constexpr int kBitsPerCharacter = 10;
constexpr double kMaxBurstMs = 20;
} // namespace

LinePace::LinePace(int baud) : charactersPerMs_(baud > 0 ? baud / double(kBitsPerCharacter) / 1000.0 : 0)
{
    clock_.start();
}

qint64 LinePace::allowance()
{
    const qint64 now = clock_.elapsed();
    const double earned = double(now - lastRefillMs_) * charactersPerMs_;
    lastRefillMs_ = now;
    const double cap = resting_ ? 1.0 : std::max(1.0, kMaxBurstMs * charactersPerMs_);
    resting_ = false;
    credit_ = std::min(credit_ + earned, cap);
    return qint64(std::floor(credit_));
}

} // namespace vandorelle::sim
