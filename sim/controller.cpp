#include "sim/controller.h"

#include "sim/global_records.h"
#include "sim/motor_records.h"
#include "sim/wire_decode.h"

#include <algorithm>
#include <optional>

namespace vandorelle::sim {

namespace {

constexpr int kModelCharacterTastFunk = 14; // 0-based position of character 15
constexpr int kLastMotor = kMotors;

QString describe(const QByteArray &tag, const QList<QByteArray> &fields)
{
    QStringList parts;
    for (const QByteArray &f : fields) parts << QString::fromLatin1(f);
    return QString::fromLatin1(tag) + QLatin1Char(' ') + parts.join(QLatin1Char(','));
}

const char *resultText(ApplyResult r)
{
    switch (r) {
    case ApplyResult::Applied: return "applied";
    case ApplyResult::BadCheck: return "wrong check value";
    case ApplyResult::BadValue: return "value out of range";
    }
    return "";
}

bool isManual(const QByteArray &tag) { return tag == "rhi" || tag == "rhe" || tag == "rhb"; }

// What names a record among the answers: the motor, or weekday, motor and entry of a
// switching time, or the number of a logbook entry.
QByteArray recordKey(const char *tag, const Values &values)
{
    const size_t length = std::min<size_t>(qstrcmp(tag, "sfs") == 0 ? 3 : 1, values.size());
    QByteArray key = tag;
    for (size_t i = 0; i < length; ++i) key += ',' + QByteArray::number(qlonglong(values[i]));
    return key;
}

} // namespace

const EmulatedController::RequestHandler EmulatedController::kHandlers[] = {
    {"sfi", &EmulatedController::answerFirmware},
    {"sdt", &EmulatedController::answerDate},
    {"sti", &EmulatedController::answerTime},
    {"skd", &EmulatedController::answerSensors},
    {"smo", &EmulatedController::answerModel},
    {"sas", &EmulatedController::answerAlarm},
    {"sgz", &EmulatedController::answerGroups},
    {"ssp", &EmulatedController::answerSpare},
    {"smn", &EmulatedController::answerNames},
    {"sfs", &EmulatedController::answerSchedule},
    {"sla", &EmulatedController::answerLogbookSize},
    {"sld", &EmulatedController::answerLogbookPage},
    {"slf", &EmulatedController::answerLogbookAll},
    {"slr", &EmulatedController::rewindLogbook},
    {"sll", &EmulatedController::deleteLogbook},
    {"sdr", &EmulatedController::startTimeSignal},
    {"sds", &EmulatedController::answerTimeSignalStatus},
    {"swl", &EmulatedController::resetMaxWind},
};

EmulatedController::EmulatedController(const ControllerSettings &settings, FrameSink sink,
                                       SimClock::WallClock wall, qint64 startMs)
    : settings_(settings),
      sink_(std::move(sink)),
      clock_(settings.clockSet, std::move(wall), startMs, settings.timeScale),
      sensors_(settings.seed, settings.timeScale),
      input_(settings.receiveBufferSize),
      parser_([this](const ParsedItem &item) { onParsed(item); }),
      nowMs_(startMs),
      lastTickMs_(startMs)
{
    tastFunk_ = settings_.model.size() > kModelCharacterTastFunk &&
                settings_.model.at(kModelCharacterTastFunk) == 'F';
    logbook_.fillHistory(settings_.seed, settings_.logbookEntries, clock_.wallTime());
    const QDateTime local = clock_.now(startMs);
    sensors_.advance(0, local);
    wasRaining_ = sensors_.raining();
    lastScheduleMinute_ = QDateTime(local.date(), QTime(local.time().hour(), local.time().minute()));
}

void EmulatedController::receive(const QByteArray &bytes, qint64 nowMs)
{
    advance(nowMs);
    int lost = 0;
    for (char c : bytes) {
        if (!input_.put(c)) ++lost;
        advance(nowMs);
    }
    if (lost > 0 && warn_)
        warn_(QStringLiteral("receive buffer full (%1 characters): %2 characters lost, %3 so far")
                  .arg(input_.capacity()).arg(lost).arg(input_.lost()));
}

void EmulatedController::advance(qint64 nowMs)
{
    nowMs_ = nowMs;
    freeSinceMs_ = nowMs;
    for (;;) {
        if (!inHand_.empty()) {
            if (inHandDoneMs_ > nowMs) return;
            // Whatever waits in the buffer was there when this item was done.
            freeSinceMs_ = inHandDoneMs_;
            const ParsedItem item = std::move(inHand_.front());
            inHand_.pop_front();
            onItem(item);
            if (!inHand_.empty()) inHandDoneMs_ = freeSinceMs_ + processingMs(inHand_.front());
            continue;
        }
        if (input_.isEmpty()) return;
        parser_.feed(input_.take(), nowMs);
    }
}

std::optional<qint64> EmulatedController::busyUntil() const
{
    if (inHand_.empty()) return std::nullopt;
    return inHandDoneMs_;
}

qint64 EmulatedController::processingMs(const ParsedItem &item) const
{
    return item.kind == ParsedItem::Kind::Broken ? 0 : settings_.processMs;
}

void EmulatedController::onParsed(const ParsedItem &item)
{
    inHand_.push_back(item);
    if (inHand_.size() == 1) inHandDoneMs_ = freeSinceMs_ + processingMs(item);
}

void EmulatedController::tick(qint64 nowMs)
{
    advance(nowMs);
    // A record stalls only when its sender stopped, not while it waits for the controller.
    if (inHand_.empty() && input_.isEmpty()) {
        parser_.expire(nowMs);
        advance(nowMs);
    }
    const double seconds = std::max<qint64>(0, nowMs - lastTickMs_) / 1000.0;
    lastTickMs_ = nowMs;
    const QDateTime local = clock_.now(nowMs);
    sensors_.advance(seconds, local);
    logWeather(local);
    runSchedule(local);
    finishTimeSignal(nowMs);
}

void EmulatedController::onItem(const ParsedItem &item)
{
    switch (item.kind) {
    case ParsedItem::Kind::Request: onRequest(item.tag); break;
    case ParsedItem::Kind::Record: onRecord(item); break;
    case ParsedItem::Kind::Broken: onBroken(item); break;
    }
}

void EmulatedController::onRequest(const QByteArray &tag)
{
    if (trace_) trace_(QStringLiteral("<- ") + QString::fromLatin1(tag));
    if (const auto *layout = layoutForReadTag(tag)) {
        for (int motor = 1; motor <= kMotors; ++motor)
            sendChecked(layout->readTag, motorRecordValues(*layout, store_, motor, tastFunk_));
        return;
    }
    if (const auto *global = globalLayoutForReadTag(tag)) {
        const Values value{global->encode(store_)};
        send(global->readTag, valueList(value));
        return;
    }
    for (const auto &entry : kHandlers) {
        if (tag == entry.tag) {
            (this->*entry.handler)();
            return;
        }
    }
}

void EmulatedController::onRecord(const ParsedItem &item)
{
    const QByteArray &tag = item.tag;
    if (isManual(tag)) {
        onManual(tag, item.fields);
        return;
    }
    if (trace_) trace_(QStringLiteral("<- ") + describe(tag, item.fields));

    const ApplyResult result = applyPcRecord(tag, item.fields, stageFor(tag), tastFunk_);
    if (result != ApplyResult::Applied) {
        batch_.refuseRecord();
        if (warn_) warn_(QStringLiteral("record refused (%1): %2")
                             .arg(QLatin1String(resultText(result)), describe(tag, item.fields)));
    }
    closeBatchIfLast(tag, item.fields);
}

void EmulatedController::onBroken(const ParsedItem &item)
{
    if (warn_) warn_(QStringLiteral("record abandoned (%1): %2")
                         .arg(QString::fromLatin1(item.reason), describe(item.tag, item.fields)));
    if (isManual(item.tag)) return;
    stageFor(item.tag);
    batch_.refuseRecord();
    // Its first value may still tell that it was the batch's last record.
    if (!item.fields.isEmpty()) closeBatchIfLast(item.tag, item.fields);
}

ConfigStore &EmulatedController::stageFor(const QByteArray &tag)
{
    int dropped = 0;
    ConfigStore &staged = batch_.stage(store_, tag, &dropped);
    if (dropped > 0 && warn_)
        warn_(QStringLiteral("unfinished batch dropped: %1 records never acknowledged").arg(dropped));
    return staged;
}

// The tool sends the next batch only after an acknowledgement, so the controller has
// to see from the records alone where a batch ends: the schedule markers, motor 32 of
// names and per-motor records, and every one-record batch.
void EmulatedController::closeBatchIfLast(const QByteArray &tag, const QList<QByteArray> &fields)
{
    const int64_t first = fields.isEmpty() ? -1 : parseNumber(fields.front()).value_or(-1);
    bool last = false;
    if (tag == "rfs")
        last = first == 0 || first == 255 || first == 8;
    else if (tag == "rmn" || layoutForWriteTag(tag))
        last = first == kLastMotor;
    else
        last = globalLayoutForWriteTag(tag) || tag == "ras" || tag == "rgz";
    if (!last) return;

    ++acknowledgements_;
    int64_t value = batch_.refused();
    if (settings_.faults.badAckEvery > 0 && acknowledgements_ % settings_.faults.badAckEvery == 0)
        value = std::max<int64_t>(value, 1);
    const int records = batch_.records();
    if (auto accepted = batch_.close(value == 0))
        store_ = std::move(*accepted);
    else if (warn_)
        warn_(QStringLiteral("batch refused: its %1 records are discarded").arg(records));
    send("stc", valueList(Values{value}));
}

void EmulatedController::onManual(const QByteArray &tag, const QList<QByteArray> &fields)
{
    if (trace_) trace_(QStringLiteral("<- manual ") + describe(tag, fields));
    if (tag != "rhb") return;
    const auto motor = parseNumber(fields.value(0));
    const QByteArray &command = fields.value(1);
    if (!motor || *motor < 1 || *motor > kMotors) {
        if (warn_) warn_(QStringLiteral("manual command for no motor: ") + describe(tag, fields));
        return;
    }
    if (command == "up" || command == "down")
        logbook_.addAt(clock_.now(nowMs_), int(*motor), command == "up" ? 1 : 0,
                       cause::ManualAtController);
    else if (command != "off" && warn_)
        warn_(QStringLiteral("unknown manual command: ") + describe(tag, fields));
}

void EmulatedController::send(const char *tag, const QByteArray &payload)
{
    const QByteArray bytes = frame(tag, payload);
    if (trace_) trace_(QStringLiteral("-> ") + QString::fromLatin1(bytes));
    sink_(bytes);
}

void EmulatedController::sendChecked(const char *tag, Values values)
{
    const QByteArray key = recordKey(tag, values);
    const bool alwaysBad = std::any_of(settings_.faults.badRecords.begin(), settings_.faults.badRecords.end(),
                                       [&](const QByteArray &bad) { return (key + ',').startsWith(bad + ','); });
    if (spoilCheck(key) || alwaysBad) values.back() += 1;
    send(tag, valueList(values));
}

// The fault falls on every Nth checked frame, re-requested answers included. A record
// spoiled the last time it went out passes the fault on to the next frame, so that
// asking again always brings it whole, however the frames line up.
bool EmulatedController::spoilCheck(const QByteArray &recordKey)
{
    const int every = settings_.faults.badCheckEvery;
    if (every <= 0) return false;
    if (++checkedFrames_ % every == 0) spoilDue_ = true;
    const bool spoil = spoilDue_ && !spoiledLastTime_.contains(recordKey);
    if (spoil) {
        spoilDue_ = false;
        spoiledLastTime_.insert(recordKey);
    } else {
        spoiledLastTime_.remove(recordKey);
    }
    return spoil;
}

void EmulatedController::answerFirmware() { send("sfi", settings_.firmware); }
void EmulatedController::answerDate() { send("sdt", clock_.dateText(nowMs_)); }
void EmulatedController::answerTime() { send("sti", clock_.timeText(nowMs_)); }
void EmulatedController::answerModel() { send("smo", settings_.model); }
void EmulatedController::answerAlarm() { send("sas", valueList(alarmValues(store_))); }
void EmulatedController::answerGroups() { send("sgz", valueList(groupValues(store_))); }
void EmulatedController::answerSpare() { send("ssp", valueList(Values{0})); }

void EmulatedController::answerSensors()
{
    auto readings = sensors_.readings();
    // Without a sensor the whole degrees read 999 (temperature) or the percentage 0 (humidity).
    constexpr int64_t kNoTemperatureSensor = 999;
    if (!settings_.sensors.inside) readings[1] = kNoTemperatureSensor;
    if (!settings_.sensors.outside) readings[5] = kNoTemperatureSensor;
    if (!settings_.sensors.humidity) readings[15] = 0;
    send("skd", valueList(readings));
}

void EmulatedController::answerNames()
{
    for (int motor = 1; motor <= kMotors; ++motor) send("smn", namePayload(store_, motor));
}

void EmulatedController::answerSchedule()
{
    sendChecked("sfs", scheduleStartMarker());
    for (Values &entry : scheduleEntries(store_)) sendChecked("sfs", std::move(entry));
    if (!settings_.faults.noEndMarker) sendChecked("sfs", scheduleEndMarker());
}

void EmulatedController::answerLogbookSize()
{
    send("sla", valueList(Values{logbook_.size()}));
}

void EmulatedController::sendLogEntries(const char *tag, const std::vector<NumberedEntry> &entries)
{
    for (const auto &[number, e] : entries)
        sendChecked(tag, withSum({number, e.motor, e.direction, e.day, e.month, e.cause, e.hour,
                                  e.minute, e.subCode}));
    // The end marker carries no date, which the tool shows as "no entries stored".
    if (!settings_.faults.noEndMarker)
        sendChecked(tag, withSum({Logbook::kEndMarker, 1, 0, 0, 0, 0, 0, 0, 0}));
}

void EmulatedController::answerLogbookPage() { sendLogEntries("sld", logbook_.nextPage()); }
void EmulatedController::answerLogbookAll() { sendLogEntries("slf", logbook_.all()); }
void EmulatedController::rewindLogbook() { logbook_.rewind(); }
void EmulatedController::deleteLogbook() { logbook_.clear(); }
void EmulatedController::resetMaxWind() { sensors_.resetMaxWind(); }

void EmulatedController::startTimeSignal()
{
    timeSignalRunning_ = true;
    timeSignalStartMs_ = nowMs_;
}

void EmulatedController::answerTimeSignalStatus()
{
    const qint64 seconds = timeSignalRunning_ ? (nowMs_ - timeSignalStartMs_) / 1000 : 0;
    const int64_t quality = timeSignalRunning_ ? std::min<int64_t>(100, 40 + seconds * 15) : 0;
    send("sds", valueList(Values{seconds % 60, quality}));
}

void EmulatedController::finishTimeSignal(qint64 nowMs)
{
    if (!timeSignalRunning_ || nowMs - timeSignalStartMs_ < kTimeSignalMs) return;
    timeSignalRunning_ = false;
    clock_.setFromSignal();
    send("sts", QByteArray());
}

void EmulatedController::runSchedule(const QDateTime &local)
{
    const QDateTime minute(local.date(), QTime(local.time().hour(), local.time().minute()));
    if (minute == lastScheduleMinute_) return;
    lastScheduleMinute_ = minute;
    const int weekday = minute.date().dayOfWeek();
    const int32_t code = timeCode(minute.time().hour(), minute.time().minute());
    for (int motor = 1; motor <= kMotors; ++motor) {
        for (int number = 1; number <= kEntries; ++number) {
            const SchaltzeitEntry &e = store_.entry(weekday, motor, number);
            if (e.inUse() && e.Zeit == code)
                logbook_.addAt(local, motor, e.Richtung == 0 ? 1 : 0, cause::SwitchingTime, e.Funktion);
        }
    }
}

void EmulatedController::logWeather(const QDateTime &local)
{
    const bool raining = sensors_.raining();
    if (raining && !wasRaining_) {
        for (int m = 0; m < kMotors; ++m)
            if (store_.Regen[m].EinAus == 0)
                logbook_.addAt(local, m + 1, store_.Regen[m].Richtung == 0 ? 1 : 0, cause::Rain);
    }
    wasRaining_ = raining;

    const int wind = sensors_.windKmh();
    for (int m = 0; m < kMotors; ++m) {
        if (store_.Wind[m].EinAus != 0) continue;
        const int limit = (store_.Wind[m].Geschwindigkeit + 1) * 5;
        if (!retractedForWind_[m] && wind >= limit) {
            retractedForWind_[m] = true;
            logbook_.addAt(local, m + 1, 1, cause::Wind);
        } else if (retractedForWind_[m] && wind < limit * 6 / 10) {
            retractedForWind_[m] = false;
        }
    }
}

} // namespace vandorelle::sim
