#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <deque>
#include <optional>

namespace vandorelle::bridge {

struct Command {
    enum Kind { Motor, WindMaxReset, Pause, Resume };
    Kind kind = Motor;
    int motor = 0;         // Motor: 1..32
    int32_t choice = 0;    // Motor: the manual selector's index (up, stop, down)
    QString payload;       // as received, for messages

    QString describe() const; // "motor 3 CLOSE"
};

// A message on one of the command topics, or why it cannot be one. Topics that are no
// command topic of this prefix give neither.
struct ParsedCommand {
    std::optional<Command> command;
    QString refusal;
    bool isCommandTopic() const { return command || !refusal.isEmpty(); }
};

// <prefix>/motor/<n>/set OPEN|CLOSE|STOP, <prefix>/wind_max/reset (any payload, as a button
// sends it), <prefix>/bridge/set PAUSE|RESUME. Payloads are taken without regard to case and
// blanks around them. The motor number is checked against 1..32 only: the controller's own
// count is the caller's to check.
ParsedCommand parseCommand(const QString &prefix, const QString &topic, const QByteArray &payload);

// Motor commands waiting for the line. At most one per motor (the latest wins, in the place
// of the first) and one wind-maximum reset: a burst of commands costs no more than that, and
// what would only be overridden at once never reaches the line.
class CommandQueue {
public:
    void push(const Command &c);
    std::optional<Command> take();
    bool empty() const { return m_waiting.empty(); }
    std::size_t size() const { return m_waiting.size(); }

private:
    std::deque<Command> m_waiting;
};

} // namespace vandorelle::bridge
