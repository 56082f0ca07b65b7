#pragma once

#include <QString>
#include <QStringList>

#include <bitset>
#include <vector>

namespace vandorelle {

// What a read-all has received of each tag it asked for, over the first burst and the rounds
// of re-requests after it: a record counts once it arrived with its check holding in any round.
// Pure bookkeeping: the exchange feeds it frames and asks what to request again.
class ReadRounds {
public:
    enum class Shape {
        PerMotor, // one frame per motor; a good frame names its motor
        Single,   // one frame
        Schedule, // start marker, the entries, end marker: the same sequence every time
    };

    void begin(const QStringList &requests);
    // The re-requests of the next round; the round ends when each has delivered its frames.
    void beginRetry(const QStringList &requests);
    int round() const { return m_round; } // 0 for the first burst

    // A frame of the read; frames of tags not asked for in this round are not counted.
    // Returns true when it belongs to the read and held its check (progress).
    bool onFrame(const QString &tag, const QString &payload, bool accepted);
    // The first burst ends with the schedule's end marker; a round of re-requests when each tag
    // it asked for has delivered as many frames as the first burst brought.
    bool roundEnded() const { return m_roundEnded; }

    bool complete() const;
    // The tags still missing something, in request order: what to ask for again.
    QStringList incompleteTags() const;
    // German names of what is missing, for the user: "Beschattung Motor 5", "Schaltzeiten".
    QStringList missingRecords() const;

    // The schedule had to be read more than once: its good frames in their order, to be
    // decoded again onto a freshly initialised table.
    bool scheduleRetried() const;
    QStringList schedulePayloads() const;

    static Shape shapeOf(const QString &tag);
    static QString recordName(const QString &tag);

private:
    struct TagState {
        QString tag;
        Shape shape = Shape::PerMotor;
        bool requested = false;       // asked for in the current round
        int expected = 0;             // records the first round that brought any announced
        int framesThisRound = 0;
        int goodSingles = 0;
        std::bitset<33> goodMotors;   // index = motor number
        std::bitset<33> failedMotors; // as far as a frame that failed tells its motor
        int failedUnplaced = 0;       // failed frames naming no motor at all
        std::vector<QString> schedule;      // good payloads by position over all rounds
        std::vector<QString> roundSchedule; // this round's, merged at its end
        bool roundScheduleClean = true;
        int scheduleRounds = 0;
        bool complete() const;
    };

    TagState *find(const QString &tag);
    void endRound();
    void mergeSchedule(TagState &t);

    std::vector<TagState> m_tags;
    int m_round = 0;
    bool m_roundEnded = false;
};

} // namespace vandorelle
