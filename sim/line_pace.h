#pragma once

#include <QElapsedTimer>

namespace vandorelle::sim {

// How many characters a line of a given baud rate carries, ten bits a character. Credit
// that a late timer leaves unused is kept up to a short burst, so the rate holds on a
// busy machine; a line that was idle has saved nothing: after rest() the next
// character goes at once and the rest follow at the line's pace.
class LinePace {
public:
    explicit LinePace(int baud);

    bool paced() const { return charactersPerMs_ > 0; }
    // Whole characters the line could have carried by now and has not.
    qint64 allowance();
    // Below zero too: a flow-control character slips in ahead of the data.
    void spend(qint64 characters) { credit_ -= double(characters); }
    // Nothing more to carry for now.
    void rest() { resting_ = true; }

private:
    double charactersPerMs_; // 0: no pacing
    double credit_ = 0;
    bool resting_ = true;
    qint64 lastRefillMs_ = 0;
    QElapsedTimer clock_;
};

} // namespace vandorelle::sim
