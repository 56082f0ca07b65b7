#include "bridge/commands.h"

#include "bridge/log.h"

#include "config/store.h"
#include "protocol/manual_control.h"

#include <QStringList>

#include <algorithm>

namespace vandorelle::bridge {

namespace {

struct MotorWord {
    const char *payload;
    int32_t choice;
};
constexpr MotorWord kMotorWords[] = {{"OPEN", ManualUp}, {"CLOSE", ManualDown}, {"STOP", ManualStop}};

ParsedCommand refused(const QString &reason) { return {std::nullopt, reason}; }

} // namespace

QString Command::describe() const
{
    switch (kind) {
    case Motor: return QStringLiteral("motor %1 %2").arg(motor).arg(payload);
    case WindMaxReset: return QStringLiteral("wind maximum reset");
    case Pause: return QStringLiteral("PAUSE");
    case Resume: return QStringLiteral("RESUME");
    }
    return {};
}

ParsedCommand parseCommand(const QString &prefix, const QString &topic, const QByteArray &payload)
{
    if (!topic.startsWith(prefix + u'/'))
        return {};
    const QStringList levels = topic.mid(prefix.size() + 1).split(u'/');
    const QString word = QString::fromUtf8(payload).trimmed().toUpper();

    if (levels == QStringList{QStringLiteral("wind_max"), QStringLiteral("reset")})
        return {Command{Command::WindMaxReset, 0, 0, quotedPayload(payload)}, {}};

    if (levels == QStringList{QStringLiteral("bridge"), QStringLiteral("set")}) {
        if (word == QStringLiteral("PAUSE"))
            return {Command{Command::Pause, 0, 0, word}, {}};
        if (word == QStringLiteral("RESUME"))
            return {Command{Command::Resume, 0, 0, word}, {}};
        return refused(QStringLiteral("%1 is neither PAUSE nor RESUME").arg(quotedPayload(payload)));
    }

    if (levels.size() != 3 || levels[0] != QStringLiteral("motor") || levels[2] != QStringLiteral("set"))
        return {};
    bool ok = false;
    const int motor = levels[1].toInt(&ok);
    if (!ok || motor < 1 || motor > kMotors)
        return refused(QStringLiteral("there is no motor \"%1\" (motors are numbered 1 to %2)").arg(levels[1]).arg(kMotors));
    const auto it = std::find_if(std::begin(kMotorWords), std::end(kMotorWords),
                                 [&](const MotorWord &w) { return word == QLatin1String(w.payload); });
    if (it == std::end(kMotorWords))
        return refused(QStringLiteral("%1 is none of OPEN, CLOSE, STOP").arg(quotedPayload(payload)));
    return {Command{Command::Motor, motor, it->choice, word}, {}};
}

void CommandQueue::push(const Command &c)
{
    const auto same = std::find_if(m_waiting.begin(), m_waiting.end(), [&](const Command &w) {
        return w.kind == c.kind && w.motor == c.motor;
    });
    if (same != m_waiting.end())
        *same = c;
    else
        m_waiting.push_back(c);
}

std::optional<Command> CommandQueue::take()
{
    if (m_waiting.empty())
        return std::nullopt;
    Command c = m_waiting.front();
    m_waiting.pop_front();
    return c;
}

} // namespace vandorelle::bridge
