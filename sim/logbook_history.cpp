#include "sim/logbook_history.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace vandorelle::sim {

namespace {

constexpr int kUp = 1;
constexpr int kDown = 0;
constexpr int kHouseMotors = 6;

struct TimedEntry {
    QTime time;
    LogEntry entry;
};

class DayWriter {
public:
    DayWriter(QDate date, std::mt19937 &rng) : date_(date), rng_(rng) {}

    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }

    void add(int hour, int minute, int motor, int direction, int causeCode, int subCode = 0)
    {
        hour = std::clamp(hour, 0, 23);
        minute = std::clamp(minute, 0, 59);
        events_.push_back({QTime(hour, minute),
                           {motor, direction, date_.day(), date_.month(), causeCode, hour, minute, subCode}});
    }
    void addMinutes(int minutesOfDay, int motor, int direction, int causeCode, int subCode = 0)
    {
        minutesOfDay = std::clamp(minutesOfDay, 0, 24 * 60 - 1);
        add(minutesOfDay / 60, minutesOfDay % 60, motor, direction, causeCode, subCode);
    }

    std::vector<TimedEntry> take()
    {
        std::stable_sort(events_.begin(), events_.end(),
                         [](const TimedEntry &a, const TimedEntry &b) { return a.time < b.time; });
        return std::move(events_);
    }

private:
    QDate date_;
    std::mt19937 &rng_;
    std::vector<TimedEntry> events_;
};

bool isLastSundayOf(QDate date, int month)
{
    return date.month() == month && date.dayOfWeek() == 7 && date.addDays(7).month() != month;
}

// Sunrise and sunset in minutes of the day, roughly for central Europe.
std::pair<int, int> daylight(QDate date)
{
    const double phase = 2.0 * 3.14159265 * (date.dayOfYear() - 80) / 365.0;
    const double halfDay = 6.0 * 60 + 2.0 * 60 * std::sin(phase);
    const int noon = 13 * 60;
    return {int(noon - halfDay), int(noon + halfDay)};
}

std::vector<TimedEntry> dayEvents(QDate date, std::mt19937 &rng)
{
    DayWriter day(date, rng);
    const bool weekend = date.dayOfWeek() >= 6;
    const auto [sunrise, sunset] = daylight(date);

    if (isLastSundayOf(date, 3)) day.add(3, 0, 1, kDown, cause::SummerTime);
    if (isLastSundayOf(date, 10)) day.add(3, 0, 1, kDown, cause::WinterTime);

    for (int motor = 1; motor <= kHouseMotors; ++motor) {
        // Mornings: fixed times in the bedrooms, astro elsewhere.
        if (motor <= 4)
            day.add(weekend ? 8 : 6, weekend ? 30 : 45 + motor, motor, kUp, cause::SwitchingTime, 0);
        else
            day.addMinutes(sunrise + day.between(0, 20), motor, kUp, cause::SwitchingTime, 1);
        // Evenings: dusk sensor for two, random spread for the rest.
        if (motor <= 2 && day.chance(0.6))
            day.addMinutes(sunset + day.between(5, 30), motor, kDown, cause::Twilight);
        else
            day.addMinutes(20 * 60 + 15 + day.between(-15, 15), motor, kDown, cause::SwitchingTime, 2);
    }
    if (day.chance(0.5)) { // a sunny day on the south side
        const int down = day.between(11 * 60, 13 * 60), up = day.between(16 * 60, 18 * 60);
        for (int motor : {3, 4}) {
            day.addMinutes(down + motor, motor, kDown, cause::Shading);
            day.addMinutes(up + motor, motor, kUp, cause::Shading);
        }
    }
    if (day.chance(0.15)) {
        const int when = day.between(10 * 60, 18 * 60);
        for (int motor : {3, 4}) day.addMinutes(when, motor, kUp, cause::Wind);
    }
    if (day.chance(0.2)) {
        const int when = day.between(9 * 60, 21 * 60);
        for (int motor : {3, 4}) day.addMinutes(when, motor, kUp, cause::Rain);
    }
    if (day.chance(0.25)) {
        const int motor = day.between(1, kHouseMotors);
        day.addMinutes(day.between(9 * 60, 22 * 60), motor, day.between(0, 1), cause::ManualAtController);
    }
    if (day.chance(0.1)) day.addMinutes(day.between(12 * 60, 19 * 60), 5, kUp, cause::PushButton);
    if (day.chance(0.03)) {
        const int when = day.between(10 * 60, 20 * 60);
        day.addMinutes(when, 1, kUp, cause::AlarmRaised);
        day.addMinutes(when + day.between(2, 10), 1, kUp, cause::AlarmCleared);
    }
    return day.take();
}

} // namespace

std::vector<LogEntry> generateHistory(uint32_t seed, int count, const QDateTime &now)
{
    if (count <= 0) return {};
    std::mt19937 rng(seed);
    std::vector<LogEntry> newestFirst;
    const int wanted = count - 1; // the restart entry opens the log
    for (QDate date = now.date(); int(newestFirst.size()) < wanted; date = date.addDays(-1)) {
        auto events = dayEvents(date, rng);
        for (auto it = events.rbegin(); it != events.rend() && int(newestFirst.size()) < wanted; ++it) {
            if (date == now.date() && it->time >= now.time()) continue;
            newestFirst.push_back(it->entry);
        }
    }
    std::vector<LogEntry> history(newestFirst.rbegin(), newestFirst.rend());
    LogEntry restart{1, kDown, 0, 0, cause::Restart, 0, 0, 0};
    if (!history.empty()) {
        const LogEntry &first = history.front();
        restart.day = first.day;
        restart.month = first.month;
        restart.hour = 0;
        restart.minute = std::max(0, std::min(first.hour * 60 + first.minute, 59) - 1);
    } else {
        restart.day = now.date().day();
        restart.month = now.date().month();
    }
    history.insert(history.begin(), restart);
    return history;
}

} // namespace vandorelle::sim
