#include "cli/diff_view.h"

#include "config/schedule_items.h"

namespace vandorelle::cli {

namespace {

using Kind = SettingChange::Kind;

QString place(const SettingChange &c)
{
    QStringList parts{c.group};
    if (c.motor > 0)
        parts << (c.kind == Kind::MotorName ? defaultMotorName(c.motor - 1) : c.motorName);
    if (c.weekday > 0)
        parts << schedule::weekdayText(c.weekday - 1);
    if (c.entry > 0)
        parts << QStringLiteral("Nr. %1").arg(c.entry);
    return parts.join(QStringLiteral(", "));
}

// JSON names of the kinds, in the order of SettingChange::Kind.
const char *const kKindKeys[] = {"motorName",    "switchingTimes", "switchingTime", "automation",
                                 "alarm",        "groupControl",   "parameter"};

} // namespace

QStringList changeLines(const SettingChange &c)
{
    if (c.kind == Kind::SwitchingTimes)
        return {place(c) + u':', QStringLiteral("    ") + c.before, QStringLiteral(" -> ") + c.after};
    // Names in quotes: blanks at their ends, or no name at all, show.
    if (c.kind == Kind::MotorName)
        return {QStringLiteral("%1: \"%2\" -> \"%3\"").arg(place(c), c.before, c.after)};
    const QString caption = c.caption.isEmpty() ? QString() : c.caption + u' ';
    return {QStringLiteral("%1: %2%3 -> %4").arg(place(c), caption, c.before, c.after)};
}

QJsonObject changeJson(const SettingChange &c)
{
    QJsonObject o{{QStringLiteral("kind"), QString::fromLatin1(kKindKeys[int(c.kind)])},
                  {QStringLiteral("group"), c.group},
                  {QStringLiteral("old"), c.before},
                  {QStringLiteral("new"), c.after}};
    if (c.motor > 0) {
        o.insert(QStringLiteral("motor"), c.motor);
        o.insert(QStringLiteral("name"), c.motorName);
    }
    if (c.weekday > 0)
        o.insert(QStringLiteral("weekday"), schedule::weekdayText(c.weekday - 1));
    if (c.entry > 0)
        o.insert(QStringLiteral("entry"), c.entry);
    if (!c.caption.isEmpty())
        o.insert(QStringLiteral("caption"), c.caption);
    return o;
}

} // namespace vandorelle::cli
