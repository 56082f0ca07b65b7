#include "sim/options.h"

#include "sim/cp1252.h"

#include <QCommandLineParser>

#include <algorithm>
#include <limits>
#include <random>

namespace vandorelle::sim {

namespace {

const char *const kDescription =
    "Emulated motor controller on a pseudo-terminal.\n"
    "Prints the terminal's path as its first line of output and answers the\n"
    "configuration tool on it until SIGINT or SIGTERM.\n"
    "\n"
    "Like a real controller it reads the line at the baud rate into a receive buffer,\n"
    "holds the tool off with XOFF while the buffer is three quarters full, stops its\n"
    "own output on the tool's XOFF, and applies a batch of records only when it\n"
    "acknowledges the batch with 0: a refused batch changes nothing.\n"
    "\n"
    "The fault options exist for tests of the tool's defences.";

struct NumberOption {
    const char *name;
    int minimum;
    int maximum;
    int *target;
};

constexpr int kNoLimit = std::numeric_limits<int>::max();
// Longer would outlast the time a half-received record is waited for.
constexpr int kMaxProcessMs = 1000;
constexpr int kMaxTimeScale = 1440;

} // namespace

OptionsOutcome parseOptions(const QStringList &args, SimOptions &options, QString &message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    const QCommandLineOption version("version", "Show the emulator's version.");
    const QCommandLineOption model("model", "Model string the controller reports (default \"" +
                                                QString::fromLatin1(kDefaultModel) +
                                                "\": every family and feature).", "text");
    const QCommandLineOption firmware("firmware", "Firmware version text (default \"" +
                                                      QString::fromLatin1(kDefaultFirmware) + "\").",
                                      "text");
    const QCommandLineOption noClock("no-clock",
                                     "Start without a set clock: the date reads 01.01.00 until a "
                                     "radio time signal has been received.");
    const QCommandLineOption baud("baud", "Pace output and input like a line of N baud, ten bits a "
                                          "character (default 9600; 0 = as fast as possible).", "N");
    const QCommandLineOption rxBuffer("rx-buffer", "Size of the receive buffer in characters (default 256). "
                                                   "XOFF is sent when it is three quarters full, XON when "
                                                   "it has drained to a quarter.", "N");
    const QCommandLineOption processMs("process-ms", "Time the controller takes for each request or record "
                                                     "before it applies and answers it (default 0, at most "
                                                     "1000).", "N");
    const QCommandLineOption seed("seed", "Seed for the weather and the logbook (default: random).", "N");
    const QCommandLineOption state("state", "Start with the configuration of a configuration file.",
                                   "FILE.vsk");
    const QCommandLineOption link("link", "Also make PATH a symbolic link to the terminal "
                                          "(removed on exit).", "PATH");
    const QCommandLineOption logbook("logbook-entries", "Entries in the logbook at start (default 180).",
                                     "N");
    const QCommandLineOption timeScale("time-scale", "Run the clock and the weather N times faster than "
                                                     "real time (default 1; 480 makes a day of 3 minutes).",
                                       "N");
    const QCommandLineOption noSensor("no-sensor", "Without the sensor NAME: inside or outside (the "
                                                   "temperature reads 999) or humidity (reads 0). May be "
                                                   "repeated.", "NAME");
    const QCommandLineOption verbose({"v", "verbose"}, "Trace every request, record and frame on stderr.");
    const QCommandLineOption splitBytes("split-bytes", "Fault: write every byte on its own.");
    const QCommandLineOption mergeFrames("merge-frames",
                                         "Fault: write all pending frames in one write, across frame "
                                         "boundaries.");
    const QCommandLineOption garbage("garbage", "Fault: put a few stray characters before every frame.");
    const QCommandLineOption badCheck("bad-check", "Fault: every Nth record with a check value carries "
                                                   "a wrong one, answers to repeated requests included; "
                                                   "a record asked for again after a wrong one comes "
                                                   "whole.", "N");
    const QCommandLineOption badRecord("bad-record", "Fault: the record KEY carries a wrong check value "
                                                     "every time it goes out: the tag and the values that "
                                                     "name the record, e.g. \"sbp,5\" (shading, motor 5) "
                                                     "or \"sfs\" (every schedule frame). May be repeated.",
                                       "KEY");
    const QCommandLineOption noEndMarker("no-end-marker", "Fault: end schedule and logbook transfers "
                                                          "without their end marker.");
    const QCommandLineOption silenceAfter("silence-after", "Fault: send nothing more after N frames.", "N");
    const QCommandLineOption badAck("bad-ack", "Fault: every Nth acknowledgement of a send reports a "
                                               "failure; that batch is not applied.", "N");
    parser.addOptions({help, version, model, firmware, noClock, baud, rxBuffer, processMs, seed, state, link,
                       logbook, timeScale, noSensor, verbose,
                       splitBytes, mergeFrames, garbage, badCheck, badRecord, noEndMarker, silenceAfter, badAck});

    if (!parser.parse(args)) {
        message = parser.errorText();
        return OptionsOutcome::Error;
    }
    if (parser.isSet(help)) {
        message = parser.helpText();
        return OptionsOutcome::ShowHelp;
    }
    if (parser.isSet(version)) {
        message = QStringLiteral("vandorelle-sim 1.0");
        return OptionsOutcome::ShowVersion;
    }
    if (!parser.positionalArguments().isEmpty()) {
        message = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
        return OptionsOutcome::Error;
    }

    ControllerSettings &c = options.controller;
    int silence = -1;
    int seedValue = -1;
    int scale = 1;
    const NumberOption numbers[] = {
        {"baud", 0, kNoLimit, &options.baud},
        {"rx-buffer", 1, kNoLimit, &c.receiveBufferSize},
        {"process-ms", 0, kMaxProcessMs, &c.processMs},
        {"logbook-entries", 0, Logbook::kCapacity, &c.logbookEntries},
        {"bad-check", 1, kNoLimit, &c.faults.badCheckEvery},
        {"bad-ack", 1, kNoLimit, &c.faults.badAckEvery},
        {"silence-after", 0, kNoLimit, &silence},
        {"seed", 0, kNoLimit, &seedValue},
        // Beyond a day a minute the weather no longer changes between two polls in a useful way.
        {"time-scale", 1, kMaxTimeScale, &scale},
    };
    for (const NumberOption &n : numbers) {
        const QString name = QString::fromLatin1(n.name);
        if (!parser.isSet(name)) continue;
        bool ok = false;
        const int value = parser.value(name).toInt(&ok);
        if (!ok || value < n.minimum) {
            message = QStringLiteral("--%1 needs a whole number of at least %2, not \"%3\"")
                          .arg(name).arg(n.minimum).arg(parser.value(name));
            return OptionsOutcome::Error;
        }
        if (value > n.maximum) {
            message = QStringLiteral("--%1: at most %2, not %3").arg(name).arg(n.maximum).arg(value);
            return OptionsOutcome::Error;
        }
        *n.target = value;
    }
    c.timeScale = scale;
    c.seed = seedValue >= 0 ? uint32_t(seedValue) : std::random_device{}();
    if (parser.isSet(model)) c.model = toCp1252(parser.value(model));
    if (parser.isSet(firmware)) c.firmware = toCp1252(parser.value(firmware));
    c.clockSet = !parser.isSet(noClock);
    c.faults.noEndMarker = parser.isSet(noEndMarker);
    for (const QString &key : parser.values(badRecord))
        c.faults.badRecords << key.toLatin1();
    const std::pair<QString, bool *> fitted[] = {{QStringLiteral("inside"), &c.sensors.inside},
                                                 {QStringLiteral("outside"), &c.sensors.outside},
                                                 {QStringLiteral("humidity"), &c.sensors.humidity}};
    for (const QString &name : parser.values(noSensor)) {
        const auto it = std::find_if(std::begin(fitted), std::end(fitted),
                                     [&](const auto &f) { return f.first == name; });
        if (it == std::end(fitted)) {
            message = QStringLiteral("--no-sensor: inside, outside or humidity, not \"%1\"").arg(name);
            return OptionsOutcome::Error;
        }
        *it->second = false;
    }
    options.transport.splitBytes = parser.isSet(splitBytes);
    options.transport.mergeFrames = parser.isSet(mergeFrames);
    options.transport.garbage = parser.isSet(garbage);
    options.transport.silenceAfter = silence;
    if (options.transport.splitBytes && options.transport.mergeFrames) {
        message = QStringLiteral("--split-bytes and --merge-frames exclude each other");
        return OptionsOutcome::Error;
    }
    options.statePath = parser.value(state);
    options.linkPath = parser.value(link);
    options.verbose = parser.isSet(verbose);
    return OptionsOutcome::Run;
}

} // namespace vandorelle::sim
