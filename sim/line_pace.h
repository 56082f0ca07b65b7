#pragma once

#include <QElapsedTimer>

namespace vandorelle::sim {

// How many characters a line of a given baud rate carries, ten bits a character. Credit
// saved up while the line is idle is capped at a short burst, so a pause never lets a
// long run of characters through at once.
class LinePace {
public:
    explicit LinePace(int baud);

    bool paced() const { return charactersPerMs_ > 0; }
    // Whole characters the line could have carried by now and has not.
    qint64 allowance();
    // Below zero too: a flow-control character slips in ahead of the data.
    void spend(qint64 characters) { credit_ -= double(characters); }

private:
    double charactersPerMs_; // 0: no pacing
    double credit_ = 0;
    qint64 lastRefillMs_ = 0;
    QElapsedTimer clock_;
};

} // namespace vandorelle::sim
