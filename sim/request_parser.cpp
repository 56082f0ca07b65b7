#include "sim/request_parser.h"

#include "sim/motor_records.h"
#include "sim/receive_buffer.h"

#include <QHash>

namespace vandorelle::sim {

namespace {

constexpr int kMaxNumberField = 16;
constexpr int kMaxTextField = 40;

const char *const kRequestTags[] = {
    "sfi", "sdt", "sti", "skd", "smo",                               // poll
    "sbp", "sdm", "sda", "swp", "srp", "sjp", "soa", "sas", "sgz",   // read-all
    "spp", "sip", "shp", "sfp", "sap", "ssp", "soi", "shh", "sta",
    "smn", "szz", "sbh", "sfs",
    "slr", "sla", "sld", "slf", "sll",                               // logbook
    "sdr", "sds",                                                    // time signal
    "swl",                                                           // maximum wind reset
};

QList<FieldKind> numbers(int count) { return QList<FieldKind>(count, FieldKind::Number); }

QHash<QByteArray, QList<FieldKind>> buildShapes()
{
    QHash<QByteArray, QList<FieldKind>> shapes;
    for (const auto &layout : motorRecordLayouts())
        shapes.insert(layout.writeTag, numbers(int(layout.fields.size()) + 2));
    for (const char *tag : {"roa", "roi", "rhh", "rbh", "rzz"}) shapes.insert(tag, numbers(2));
    shapes.insert("ras", numbers(3));
    shapes.insert("rgz", numbers(5));
    shapes.insert("rfs", numbers(10));
    shapes.insert("rmn", {FieldKind::Number, FieldKind::Text, FieldKind::Text});
    shapes.insert("rhi", {});
    shapes.insert("rhe", {});
    shapes.insert("rhb", {FieldKind::Number, FieldKind::Word, FieldKind::Number, FieldKind::Marker});
    return shapes;
}

const QHash<QByteArray, QList<FieldKind>> &shapes()
{
    static const auto table = buildShapes();
    return table;
}

bool isLower(char c) { return c >= 'a' && c <= 'z'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

bool isRequestTag(const QByteArray &tag)
{
    for (const char *known : kRequestTags)
        if (tag == known) return true;
    return false;
}

const QList<FieldKind> *recordFields(const QByteArray &tag)
{
    const auto it = shapes().constFind(tag);
    return it == shapes().constEnd() ? nullptr : &it.value();
}

RequestParser::RequestParser(Sink sink) : sink_(std::move(sink)) {}

void RequestParser::feed(const QByteArray &bytes, qint64 nowMs)
{
    for (char c : bytes) feed(c, nowMs);
}

void RequestParser::feed(char c, qint64 nowMs)
{
    expire(nowMs);
    lastByteMs_ = nowMs;
    if (c == kXon || c == kXoff) return; // flow control of the line, not data
    if (shape_)
        recordByte(c);
    else
        idleByte(c);
}

void RequestParser::expire(qint64 nowMs)
{
    if (shape_ && nowMs - lastByteMs_ > kRecordGapMs) abandon("record incomplete", {});
}

void RequestParser::idleByte(char c)
{
    if (!isLower(c)) {
        tag_.clear();
        return;
    }
    tag_ += c;
    if (tag_.size() < 3) return;
    if (isRequestTag(tag_)) {
        sink_({ParsedItem::Kind::Request, tag_, {}, {}});
        tag_.clear();
    } else if (const auto *shape = recordFields(tag_)) {
        const QByteArray tag = tag_;
        tag_.clear();
        beginRecord(tag, shape);
    } else {
        tag_.remove(0, 1); // slide along garbage until a known tag lines up
    }
}

void RequestParser::beginRecord(const QByteArray &tag, const QList<FieldKind> *shape)
{
    recordTag_ = tag;
    shape_ = shape;
    fields_.clear();
    field_.clear();
    lookahead_.clear();
    if (shape_->isEmpty()) {
        shape_ = nullptr;
        sink_({ParsedItem::Kind::Record, recordTag_, {}, {}});
    }
}

void RequestParser::finishField()
{
    fields_.append(field_);
    field_.clear();
    if (fields_.size() < shape_->size()) return;
    shape_ = nullptr;
    sink_({ParsedItem::Kind::Record, recordTag_, fields_, {}});
}

void RequestParser::abandon(const QByteArray &reason, QByteArray replay)
{
    ParsedItem broken{ParsedItem::Kind::Broken, recordTag_, fields_, reason};
    if (!field_.isEmpty()) broken.fields.append(field_);
    shape_ = nullptr;
    fields_.clear();
    field_.clear();
    lookahead_.clear();
    sink_(broken);
    for (char c : replay) idleByte(c);
}

void RequestParser::recordByte(char c)
{
    const FieldKind kind = shape_->at(fields_.size());
    switch (kind) {
    case FieldKind::Number:
        if (isLower(c) && field_.isEmpty()) {
            // Between two values the tool may slip in a request of its own ("swl").
            lookahead_ += c;
            if (lookahead_.size() < 3) return;
            if (isRequestTag(lookahead_)) {
                sink_({ParsedItem::Kind::Request, lookahead_, {}, {}});
                lookahead_.clear();
                return;
            }
            abandon("new tag inside record", lookahead_);
            return;
        }
        if (!lookahead_.isEmpty()) {
            abandon("unexpected text inside record", lookahead_ + c);
            return;
        }
        if (isLineEnd(c)) {
            if (!field_.trimmed().isEmpty()) finishField();
            return; // a stray line end between values carries nothing
        }
        if (c == ' ') return;
        if (isDigit(c) || ((c == '-' || c == '+') && field_.isEmpty())) {
            field_ += c;
            if (field_.size() > kMaxNumberField) abandon("number too long", {});
            return;
        }
        abandon("unexpected byte inside number", QByteArray(1, c));
        return;
    case FieldKind::Text:
        if (isLineEnd(c)) {
            if (c == '\n' && field_.isEmpty()) return;
            finishField();
            return;
        }
        field_ += c;
        if (field_.size() > kMaxTextField) abandon("text too long", {});
        return;
    case FieldKind::Word:
        if (isLineEnd(c)) {
            if (!field_.isEmpty()) finishField();
            return;
        }
        if (isLower(c)) {
            field_ += c;
            if (field_.size() > 8) abandon("command word too long", {});
            return;
        }
        abandon("unexpected byte in command word", QByteArray(1, c));
        return;
    case FieldKind::Marker:
        if (isLineEnd(c)) {
            finishField();
            return;
        }
        if (QByteArray(" +sti").contains(c)) {
            field_ += c;
            if (field_.size() > 8) abandon("command tail too long", {});
            return;
        }
        abandon("unexpected byte in command tail", QByteArray(1, c));
        return;
    }
}

} // namespace vandorelle::sim
