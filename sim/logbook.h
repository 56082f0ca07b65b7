#pragma once

#include <QDateTime>

#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

namespace vandorelle::sim {

struct LogEntry {
    int motor = 1;     // 1..32
    int direction = 0; // 0 down, 1 up
    int day = 0;
    int month = 0;
    int cause = 0;
    int hour = 0;
    int minute = 0;
    int subCode = 0;   // for switching times: 0 fixed, 1 astro, 2 random
    bool operator==(const LogEntry &) const = default;
};

// Cause codes the emulator writes itself.
namespace cause {
constexpr int SwitchingTime = 0;
constexpr int Shading = 1;
constexpr int Twilight = 2;
constexpr int Wind = 3;
constexpr int ManualAtController = 4;
constexpr int Rain = 6;
constexpr int AlarmRaised = 8;
constexpr int Restart = 9;
constexpr int SummerTime = 18;
constexpr int WinterTime = 19;
constexpr int AlarmCleared = 20;
constexpr int PushButton = 21;
} // namespace cause

using NumberedEntry = std::pair<int, LogEntry>; // entry number 1 = newest

// The controller's movement log, newest first, with the read pointer that pages
// through it.
class Logbook {
public:
    static constexpr int kPageSize = 100;
    static constexpr int kEndMarker = 9999;
    static constexpr int kCapacity = 2000;

    void add(const LogEntry &entry);
    void addAt(const QDateTime &when, int motor, int direction, int cause, int subCode = 0);
    void clear();
    int size() const { return int(entries_.size()); }

    // Back to the newest entry.
    void rewind() { readPointer_ = 0; }
    // The next up to kPageSize entries from the read pointer; moves the pointer on.
    std::vector<NumberedEntry> nextPage();
    std::vector<NumberedEntry> all() const;

    // Fills the log with `count` plausible entries of the days before `now`.
    void fillHistory(uint32_t seed, int count, const QDateTime &now);

private:
    std::deque<LogEntry> entries_;
    int readPointer_ = 0;
};

} // namespace vandorelle::sim
