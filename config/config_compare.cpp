#include "config/config_compare.h"

#include "config/automation_items.h"
#include "config/editor_fields.h"
#include "config/parameter_banks.h"
#include "config/parameter_items.h"
#include "config/schedule_items.h"
#include "config/schedule_lines.h"
#include "config/symbol_texts.h"

#include <QStringList>

namespace vandorelle {

namespace {

using Kind = SettingChange::Kind;

// What a box shows for a code; a code it does not offer shows as the code itself.
QString shownItem(const QStringList &items, int32_t code, bool symbols = false)
{
    const QString text = items::text(items, code);
    if (text.isEmpty())
        return QStringLiteral("(%1)").arg(code);
    return symbols ? shownSymbols(text) : text;
}

QString checkBox(bool ticked)
{
    return ticked ? QStringLiteral("[x]") : QStringLiteral("[ ]");
}

// The controller pads a name with blanks to 12 characters; they are no part of the name.
QString keptName(const QString &name)
{
    QString n = name;
    while (n.endsWith(u' '))
        n.chop(1);
    return n;
}

class Comparison {
public:
    Comparison(const ConfigStore &before, const ConfigStore &after, bool tastFunk)
        : m_before(before), m_after(after), m_tastFunk(tastFunk)
    {
    }

    std::vector<SettingChange> run()
    {
        compareNames();
        compareSchedule();
        for (const EditorSpec *editor : perMotorEditors())
            for (int m = 0; m < kMotors; ++m)
                compareEditor(*editor, m);
        compareAlarm();
        compareGroups();
        compareParameters();
        return std::move(m_changes);
    }

private:
    SettingChange &add(Kind kind, const QString &group, int motorIndex = -1)
    {
        SettingChange c{.kind = kind, .group = group};
        if (motorIndex >= 0) {
            c.motor = motorIndex + 1;
            c.motorName = shownMotorName(m_after.MotorNamen[motorIndex], motorIndex);
        }
        m_changes.push_back(c);
        return m_changes.back();
    }

    void compareNames()
    {
        const QString group = oneLineCaption(QString::fromUtf8(schedule::kMotorCaption));
        for (int m = 0; m < kMotors; ++m) {
            const QString was = keptName(m_before.MotorNamen[m]);
            const QString is = keptName(m_after.MotorNamen[m]);
            if (was == is)
                continue;
            SettingChange &c = add(Kind::MotorName, group, m);
            c.before = was;
            c.after = is;
        }
    }

    void compareSchedule()
    {
        for (int m = 0; m < kMotors; ++m) {
            for (int d = 0; d < kWeekdays; ++d) {
                // The same name on both sides: a renamed motor's times have not changed.
                const QString name = m_after.MotorNamen[m];
                if (schedule::scheduleLine(m_before, name, d, m) != schedule::scheduleLine(m_after, name, d, m)) {
                    SettingChange &c = add(Kind::SwitchingTimes, schedule::kTabCaption, m);
                    c.weekday = d + 1;
                    c.before = schedule::scheduleLine(m_before, m_before.MotorNamen[m], d, m);
                    c.after = schedule::scheduleLine(m_after, name, d, m);
                }
                for (int n = 1; n <= kEntries; ++n)
                    compareEntry(d + 1, m, n);
            }
        }
    }

    void compareEntry(int weekday, int motorIndex, int number)
    {
        const SchaltzeitEntry &was = m_before.entry(weekday, motorIndex + 1, number);
        const SchaltzeitEntry &is = m_after.entry(weekday, motorIndex + 1, number);
        if (!was.inUse() || !is.inUse())
            return;
        const struct {
            const char *caption;
            QString before, after;
        } fields[] = {
            {schedule::kDurationCaption, shownItem(schedule::durationItems(), was.Dauer),
             shownItem(schedule::durationItems(), is.Dauer)},
            {schedule::kGroupCaption, schedule::groupText(was.Gruppe), schedule::groupText(is.Gruppe)},
            {schedule::kFunctionCaption, shownItem(schedule::functionItems(), was.Funktion),
             shownItem(schedule::functionItems(), is.Funktion)},
        };
        for (const auto &f : fields) {
            if (f.before == f.after)
                continue;
            SettingChange &c = add(Kind::SwitchingTimeEntry, schedule::kTabCaption, motorIndex);
            c.weekday = weekday;
            c.entry = number;
            c.caption = oneLineCaption(QString::fromUtf8(f.caption));
            c.before = f.before;
            c.after = f.after;
        }
    }

    // The boxes a caption stands over that edit this editor's record, on the scale in use.
    std::vector<const FieldSpec *> ownFields(const EditorSpec &editor, const std::vector<const char *> &controls) const
    {
        const TastScale other = m_tastFunk ? TastScale::Wired : TastScale::Radio;
        std::vector<const FieldSpec *> fields;
        for (const char *name : controls) {
            const FieldSpec *f = editor.field(name);
            if (f && !f->borrowed && f->scale != other)
                fields.push_back(f);
        }
        return fields;
    }

    void compareEditor(const EditorSpec &editor, int motorIndex)
    {
        compareFields(editor, motorIndex, kOnOffCaption, ownFields(editor, {editor.onOff}));
        for (const CaptionSpec &caption : editor.captions)
            compareFields(editor, motorIndex, QString::fromUtf8(caption.caption), ownFields(editor, caption.controls));
    }

    // The boxes under one caption side by side, as "10:00 - 20:00".
    void compareFields(const EditorSpec &editor, int motorIndex, const QString &caption,
                       const std::vector<const FieldSpec *> &fields)
    {
        QStringList was;
        QStringList is;
        for (const FieldSpec *f : fields) {
            was << shownItem(f->items(), f->field(m_before, motorIndex), f->symbols);
            is << shownItem(f->items(), f->field(m_after, motorIndex), f->symbols);
        }
        if (was == is)
            return;
        const CaptionParts parts = captionParts(caption);
        const QString unit = parts.unit.isEmpty() ? QString() : u' ' + parts.unit;
        SettingChange &c = add(Kind::Automation, QString::fromUtf8(editor.groupCaption), motorIndex);
        c.caption = parts.text;
        c.before = was.join(QStringLiteral(" - ")) + unit;
        c.after = is.join(QStringLiteral(" - ")) + unit;
    }

    void compareAlarm()
    {
        for (int m = 0; m < kMotors; ++m) {
            if (m_before.AlarmPattern[m] == m_after.AlarmPattern[m])
                continue;
            SettingChange &c = add(Kind::Alarm, parameters::kAlarmGroupCaption, m);
            c.before = shownItem(parameters::alarmItems(), m_before.AlarmPattern[m], true);
            c.after = shownItem(parameters::alarmItems(), m_after.AlarmPattern[m], true);
        }
    }

    void compareGroups()
    {
        for (int m = 0; m < kMotors; ++m) {
            const int bank = m / parameters::kBankSize;
            const int bit = 1 << (m % parameters::kBankSize);
            for (int g = 0; g < kGroups; ++g) {
                const bool was = m_before.GruppenZentralsteuerung[bank][g] & bit;
                const bool is = m_after.GruppenZentralsteuerung[bank][g] & bit;
                if (was == is)
                    continue;
                SettingChange &c = add(Kind::GroupControl, parameters::kGroupControlCaption, m);
                c.caption = parameters::groupColumnCaption(g + 1);
                c.before = checkBox(was);
                c.after = checkBox(is);
            }
        }
        if (m_before.SoftGZS != m_after.SoftGZS) {
            SettingChange &c = add(Kind::GroupControl, parameters::kGroupControlCaption);
            c.caption = parameters::kSoftGzsCaption;
            c.before = checkBox(m_before.SoftGZS);
            c.after = checkBox(m_after.SoftGZS);
        }
    }

    void compareParameters()
    {
        for (const parameters::ParameterSpec &p : parameters::parameterSpecs()) {
            const int32_t was = m_before.Parameter.*p.field;
            const int32_t is = m_after.Parameter.*p.field;
            if (was == is)
                continue;
            SettingChange &c = add(Kind::Parameter, QString::fromUtf8(p.group));
            c.caption = QString::fromUtf8(p.caption);
            c.before = shownItem(p.items(), was);
            c.after = shownItem(p.items(), is);
        }
    }

    // Copies: the editors' field table hands out references for writing.
    ConfigStore m_before;
    ConfigStore m_after;
    const bool m_tastFunk;
    std::vector<SettingChange> m_changes;
};

} // namespace

std::vector<SettingChange> compareConfigurations(const ConfigStore &before, const ConfigStore &after, bool tastFunk)
{
    return Comparison(before, after, tastFunk).run();
}

} // namespace vandorelle
