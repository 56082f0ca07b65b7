#pragma once

#include "config/store.h"
#include "sim/logbook.h"
#include "sim/receive_buffer.h"
#include "sim/record_batch.h"
#include "sim/request_parser.h"
#include "sim/sensors.h"
#include "sim/sim_clock.h"
#include "sim/wire_encode.h"

#include <QByteArray>
#include <QDateTime>

#include <QSet>

#include <array>
#include <deque>
#include <functional>
#include <optional>

namespace vandorelle::sim {

// Every family and feature: conservatory (9 "W"), 32 motors with 8 times a day
// (13 "9"), sun protection (14 "S"), push-buttons with group control (15 "T", 16 "G").
inline const QByteArray kDefaultModel = "VC-7000 WGS-9STG 32M";
inline const QByteArray kDefaultFirmware = "7.090";

// Deliberate faults in what the controller says, for tests of the tool's defences.
struct ContentFaults {
    // Every Nth frame with a check value carries a wrong one, whatever request it answers;
    // a record spoiled once comes whole the next time it is asked for.
    int badCheckEvery = 0;
    bool noEndMarker = false; // schedule and logbook transfers stop without their end marker
    int badAckEvery = 0;   // every Nth acknowledgement refuses its batch
    // Records that carry a wrong check value every time they go out: "sbp,5" is the shading
    // record of motor 5, "sfs" every schedule frame (the key is the tag and the values that
    // name the record, compared as a prefix at a comma).
    QList<QByteArray> badRecords;
};

// The sensors wired to the controller; one that is missing is reported as absent.
struct FittedSensors {
    bool inside = true;
    bool outside = true;
    bool humidity = true;
};

struct ControllerSettings {
    QByteArray model = kDefaultModel;
    QByteArray firmware = kDefaultFirmware;
    bool clockSet = true;
    uint32_t seed = 1;
    int logbookEntries = 180;
    int receiveBufferSize = 256;
    int processMs = 0; // per request or record, before it is applied and answered
    double timeScale = 1; // clock and weather run this many times faster
    FittedSensors sensors;
    ContentFaults faults;
};

// The controller behind the line: answers the tool's requests with frames, takes its
// records into a configuration of its own, keeps a logbook, a clock and the weather.
// Pure logic: bytes in through receive(), frames out through the sink, XON/XOFF out
// through the flow sink; time comes in as milliseconds of a monotonic clock.
// What arrives waits in a receive buffer of the device's size until the controller,
// busy processMs with each request or record, gets to it.
class EmulatedController {
public:
    using FrameSink = std::function<void(const QByteArray &frame)>;
    using FlowSink = ReceiveBuffer::FlowSink;
    using Logger = std::function<void(const QString &line)>;

    static constexpr qint64 kTimeSignalMs = 4000;

    EmulatedController(const ControllerSettings &settings, FrameSink sink,
                       SimClock::WallClock wall = &QDateTime::currentDateTime, qint64 startMs = 0);

    // Characters taken from the line, in arrival order; what finds the receive buffer
    // full is lost and reported.
    void receive(const QByteArray &bytes, qint64 nowMs);
    // Finishes what is due by now and goes on with what waits in the receive buffer.
    void advance(qint64 nowMs);
    // When the request or record in hand is done; nothing while idle.
    std::optional<qint64> busyUntil() const;
    // Runs the clock, the weather and whatever they trigger; call a few times a second.
    void tick(qint64 nowMs);

    void setFlowSink(FlowSink sink) { input_.setFlowSink(std::move(sink)); }
    const ReceiveBuffer &receiveBuffer() const { return input_; }

    ConfigStore &store() { return store_; }
    const ConfigStore &store() const { return store_; }
    Logbook &logbook() { return logbook_; }
    const SimClock &clock() const { return clock_; }
    bool tastFunk() const { return tastFunk_; }

    void setTraceLogger(Logger logger) { trace_ = std::move(logger); }
    void setWarningLogger(Logger logger) { warn_ = std::move(logger); }

private:
    using Handler = void (EmulatedController::*)();
    struct RequestHandler {
        const char *tag;
        Handler handler;
    };
    static const RequestHandler kHandlers[];

    void onParsed(const ParsedItem &item);
    void onItem(const ParsedItem &item);
    void onRequest(const QByteArray &tag);
    void onRecord(const ParsedItem &item);
    void onBroken(const ParsedItem &item);
    ConfigStore &stageFor(const QByteArray &tag);
    qint64 processingMs(const ParsedItem &item) const;
    void onManual(const QByteArray &tag, const QList<QByteArray> &fields);
    void closeBatchIfLast(const QByteArray &tag, const QList<QByteArray> &fields);

    void send(const char *tag, const QByteArray &payload);
    void sendChecked(const char *tag, Values values);
    bool spoilCheck(const QByteArray &recordKey);
    void sendLogEntries(const char *tag, const std::vector<NumberedEntry> &entries);

    void answerFirmware();
    void answerDate();
    void answerTime();
    void answerSensors();
    void answerModel();
    void answerAlarm();
    void answerGroups();
    void answerSpare();
    void answerNames();
    void answerSchedule();
    void answerLogbookSize();
    void answerLogbookPage();
    void answerLogbookAll();
    void rewindLogbook();
    void deleteLogbook();
    void startTimeSignal();
    void answerTimeSignalStatus();
    void resetMaxWind();

    void runSchedule(const QDateTime &local);
    void logWeather(const QDateTime &local);
    void finishTimeSignal(qint64 nowMs);

    ControllerSettings settings_;
    FrameSink sink_;
    SimClock clock_;
    ConfigStore store_;
    Logbook logbook_;
    SensorModel sensors_;
    ReceiveBuffer input_;
    RequestParser parser_;
    std::deque<ParsedItem> inHand_; // parsed, being processed one after another
    qint64 inHandDoneMs_ = 0;       // when the first of them is done
    qint64 freeSinceMs_ = 0;        // when the controller got to the character it parses
    bool tastFunk_ = false;
    qint64 nowMs_ = 0;
    qint64 lastTickMs_ = 0;

    RecordBatch batch_;
    int checkedFrames_ = 0;
    bool spoilDue_ = false;
    QSet<QByteArray> spoiledLastTime_;
    int acknowledgements_ = 0;

    bool timeSignalRunning_ = false;
    qint64 timeSignalStartMs_ = 0;

    QDateTime lastScheduleMinute_;
    bool wasRaining_ = false;
    std::array<bool, kMotors> retractedForWind_{};

    Logger trace_;
    Logger warn_;
};

} // namespace vandorelle::sim
