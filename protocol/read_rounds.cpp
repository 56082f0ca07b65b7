#include "protocol/read_rounds.h"

#include "config/store.h"
#include "protocol/value_list.h"

#include <algorithm>

namespace vandorelle {

namespace {

struct RecordName {
    const char *tag;
    const char *name; // UTF-8
};

// What the user is told is missing; per-motor records get " Motor n" added.
constexpr RecordName kRecordNames[] = {
    {"sbp", "Beschattung"},
    {"sdm", "Dämmerung Morgen"},
    {"sda", "Dämmerung Abend"},
    {"swp", "Einfahren bei Wind"},
    {"srp", "Einfahren bei Regen"},
    {"sjp", "Reversier-Automatik"},
    {"soa", "Offset Außentemperatur"},
    {"sas", "Alarm-Setup"},
    {"sgz", "Gruppen-Zentralsteuerung"},
    {"spp", "Proportionale Temperatur-Steuerung"},
    {"sip", "Innentemperatur-Steuerung"},
    {"shp", "Heizungs-Steuerung"},
    {"sfp", "Luftfeuchtigkeits-Steuerung"},
    {"sap", "Außentemperatur-Steuerung"},
    {"ssp", "Reserve"},
    {"soi", "Offset Innentemperatur"},
    {"shh", "Heiz-Hysterese"},
    {"sta", "Tast-Automatik"},
    {"smn", "Motor-Name"},
    {"szz", "Zufalls-Zeitspanne"},
    {"sbh", "Beschattungs-Hysterese"},
    {"sfs", "Schaltzeiten"},
};

constexpr const char *kSingleTags[] = {"soa", "sas", "sgz", "ssp", "soi", "shh", "szz", "sbh"};

// The first number of a payload, also of one that failed its check (then only a guess).
int firstValue(const QString &payload)
{
    const qsizetype comma = payload.indexOf(u',');
    return comma < 0 ? -1 : parseInt32(QStringView(payload).left(comma)).value_or(-1);
}

// "1-4, 7, 9-10" of ascending motor numbers.
QString motorRanges(const QList<int> &motors)
{
    QStringList parts;
    for (qsizetype i = 0; i < motors.size();) {
        qsizetype j = i;
        while (j + 1 < motors.size() && motors[j + 1] == motors[j] + 1)
            ++j;
        parts << (j == i ? QString::number(motors[i]) : QStringLiteral("%1-%2").arg(motors[i]).arg(motors[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

ReadRounds::Shape ReadRounds::shapeOf(const QString &tag)
{
    if (tag == QLatin1String("sfs"))
        return Shape::Schedule;
    for (const char *single : kSingleTags) {
        if (tag == QLatin1String(single))
            return Shape::Single;
    }
    return Shape::PerMotor;
}

QString ReadRounds::recordName(const QString &tag)
{
    for (const RecordName &r : kRecordNames) {
        if (tag == QLatin1String(r.tag))
            return QString::fromUtf8(r.name);
    }
    return tag;
}

void ReadRounds::begin(const QStringList &requests)
{
    m_tags.clear();
    for (const QString &tag : requests) {
        TagState t;
        t.tag = tag;
        t.shape = shapeOf(tag);
        t.requested = true;
        m_tags.push_back(std::move(t));
    }
    m_round = 0;
    m_roundEnded = false;
}

void ReadRounds::beginRetry(const QStringList &requests)
{
    for (TagState &t : m_tags) {
        t.requested = requests.contains(t.tag);
        t.framesThisRound = 0;
    }
    ++m_round;
    m_roundEnded = false;
}

ReadRounds::TagState *ReadRounds::find(const QString &tag)
{
    const auto it = std::find_if(m_tags.begin(), m_tags.end(), [&](const TagState &t) { return t.tag == tag; });
    return it == m_tags.end() ? nullptr : &*it;
}

bool ReadRounds::onFrame(const QString &tag, const QString &payload, bool accepted)
{
    if (m_roundEnded)
        return false;
    // Re-requests end with a firmware request: its answer comes after all of theirs.
    if (m_round > 0 && tag == QLatin1String("sfi")) {
        endRound();
        return false;
    }
    TagState *t = find(tag);
    if (!t || !t->requested)
        return false;
    ++t->framesThisRound;
    switch (t->shape) {
    case Shape::PerMotor: {
        const int motor = firstValue(payload);
        const bool placed = motor >= 1 && motor <= kMotors;
        if (accepted && placed)
            t->goodMotors.set(std::size_t(motor));
        else if (!accepted && placed)
            t->failedMotors.set(std::size_t(motor));
        else if (!accepted)
            ++t->failedUnplaced;
        break;
    }
    case Shape::Single:
        if (accepted)
            ++t->goodSingles;
        break;
    case Shape::Schedule:
        t->roundSchedule.push_back(accepted ? payload : QString());
        t->roundScheduleClean = t->roundScheduleClean && accepted;
        // The first burst ends with the schedule; an end marker whose check failed ends it too.
        if (m_round == 0 && firstValue(payload) == 255)
            endRound();
        break;
    }
    return accepted;
}

void ReadRounds::endRound()
{
    for (TagState &t : m_tags) {
        if (!t.requested)
            continue;
        // The records of the first round that brought any: those that came good, and one for
        // each that failed (by the motor it seems to name, so a repeated frame counts once).
        if (t.expected == 0 && t.framesThisRound > 0)
            t.expected = t.shape == Shape::PerMotor
                ? int((t.goodMotors | t.failedMotors).count()) + t.failedUnplaced
                : 1;
        if (t.shape == Shape::Schedule)
            mergeSchedule(t);
    }
    m_roundEnded = true;
}

// The controller sends the same sequence each time, so a position is the same entry in every
// round; a round with another length means the schedule changed, and only a clean round counts.
void ReadRounds::mergeSchedule(TagState &t)
{
    if (t.schedule.empty() || t.roundSchedule.size() == t.schedule.size()) {
        t.schedule.resize(t.roundSchedule.size());
        for (std::size_t i = 0; i < t.roundSchedule.size(); ++i) {
            if (t.schedule[i].isEmpty())
                t.schedule[i] = t.roundSchedule[i];
        }
    } else if (t.roundScheduleClean && !t.roundSchedule.empty()) {
        t.schedule = t.roundSchedule;
    }
    ++t.scheduleRounds;
    t.roundSchedule.clear();
    t.roundScheduleClean = true;
}

bool ReadRounds::TagState::complete() const
{
    switch (shape) {
    case Shape::PerMotor:
        return expected > 0 && int(goodMotors.count()) >= expected;
    case Shape::Single:
        return goodSingles > 0;
    case Shape::Schedule:
        // The start marker may follow some entries (it wipes them); the end marker is last.
        return !schedule.empty() && firstValue(schedule.back()) == 255
               && std::any_of(schedule.begin(), schedule.end(), [](const QString &p) { return firstValue(p) == 0; })
               && std::none_of(schedule.begin(), schedule.end(), [](const QString &p) { return p.isEmpty(); });
    }
    return false;
}

bool ReadRounds::complete() const
{
    return std::all_of(m_tags.begin(), m_tags.end(), [](const TagState &t) { return t.complete(); });
}

QStringList ReadRounds::incompleteTags() const
{
    QStringList tags;
    for (const TagState &t : m_tags) {
        if (!t.complete())
            tags << t.tag;
    }
    return tags;
}

QStringList ReadRounds::missingRecords() const
{
    QStringList missing;
    for (const TagState &t : m_tags) {
        if (t.complete())
            continue;
        const QString name = recordName(t.tag);
        // Motors answer in order 1..n; when a good frame names another motor, say no number.
        const int n = t.expected;
        bool numbered = t.shape == Shape::PerMotor && n > 0 && n <= kMotors;
        for (int m = n + 1; numbered && m <= kMotors; ++m)
            numbered = !t.goodMotors.test(std::size_t(m));
        if (!numbered) {
            missing << name;
            continue;
        }
        QList<int> motors;
        for (int m = 1; m <= n; ++m) {
            if (!t.goodMotors.test(std::size_t(m)))
                motors << m;
        }
        missing << (motors.size() == 1 ? QStringLiteral("%1 Motor %2").arg(name).arg(motors.first())
                                       : QStringLiteral("%1 Motoren %2").arg(name, motorRanges(motors)));
    }
    return missing;
}

bool ReadRounds::scheduleRetried() const
{
    return std::any_of(m_tags.begin(), m_tags.end(),
                       [](const TagState &t) { return t.shape == Shape::Schedule && t.scheduleRounds > 1; });
}

QStringList ReadRounds::schedulePayloads() const
{
    QStringList payloads;
    for (const TagState &t : m_tags) {
        if (t.shape != Shape::Schedule)
            continue;
        for (const QString &p : t.schedule) {
            if (!p.isEmpty())
                payloads << p;
        }
    }
    return payloads;
}

} // namespace vandorelle
