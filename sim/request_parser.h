#pragma once

#include <QByteArray>
#include <QList>

#include <functional>

namespace vandorelle::sim {

// What a field of a PC record may hold.
enum class FieldKind {
    Number, // decimal, blanks around allowed
    Text,   // any bytes up to the carriage return (motor names)
    Word,   // letters only (manual command: up, off, down)
    Marker, // the " + sti" tail of a manual command
};

struct ParsedItem {
    enum class Kind {
        Request, // a bare or terminated request such as "sbp" or "sfi\r"
        Record,  // a data record with all its fields
        Broken,  // a record abandoned half-way; fields holds what had arrived
    };
    Kind kind = Kind::Request;
    QByteArray tag; // three letters, blanks stripped: "rbp", "sfi"
    QList<QByteArray> fields;
    QByteArray reason; // for Broken
};

bool isRequestTag(const QByteArray &tag);
// Field kinds of a data record, or nullptr when tag is no record.
const QList<FieldKind> *recordFields(const QByteArray &tag);

// Cuts requests and records out of the byte stream from the PC. The stream has no
// frame markers: bare requests follow one another without separators, record values
// arrive one write at a time, so the parser knows each record's field count and
// resynchronises on the next known tag after anything it cannot place.
class RequestParser {
public:
    using Sink = std::function<void(const ParsedItem &)>;
    // A record whose next byte is this late was abandoned by its sender.
    static constexpr qint64 kRecordGapMs = 2000;

    explicit RequestParser(Sink sink);

    void feed(const QByteArray &bytes, qint64 nowMs);
    void feed(char c, qint64 nowMs);
    // Gives up a record left incomplete for longer than kRecordGapMs.
    void expire(qint64 nowMs);
    bool inRecord() const { return shape_ != nullptr; }

private:
    void idleByte(char c);
    void recordByte(char c);
    void beginRecord(const QByteArray &tag, const QList<FieldKind> *shape);
    void finishField();
    void abandon(const QByteArray &reason, QByteArray replay);

    Sink sink_;
    QByteArray tag_;            // letters collected while idle
    QByteArray recordTag_;
    const QList<FieldKind> *shape_ = nullptr;
    QList<QByteArray> fields_;
    QByteArray field_;
    QByteArray lookahead_;      // letters at a field boundary: maybe a request in between
    qint64 lastByteMs_ = 0;
};

} // namespace vandorelle::sim
