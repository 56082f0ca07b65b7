#include "cli/options.h"

#include "config/store.h"
#include "link/port_list.h"
#include "link/serial_devices.h"

#include <QRegularExpression>

#include <cmath>

namespace vandorelle::cli {

namespace {

bool takeDriveArguments(const QStringList &arguments, Options &options, QString &error);
bool takeDiffArguments(const QStringList &arguments, Options &options, QString &error);

const CommandSpec kCommands[] = {
    {.name = "info",
     .synopsis = "info [--json]",
     .summary = "poll once; print model, firmware, date, time, family and sensors",
     .details = "Polls the controller once and prints its model string, firmware, date and time,\n"
                "the device-family flags read from the model string and the sensor values.\n"
                "Succeeds when the model string arrived. --json prints one JSON object.",
     .takesJson = true},
    {.name = "read",
     .synopsis = "read FILE.vsk",
     .summary = "read the whole configuration and save it to FILE",
     .details = "Polls until the model string is known, reads the controller's whole configuration\n"
                "(the same request burst as \"Steuerung --> PC\") and saves it to FILE in the\n"
                "configuration-file format. FILE is replaced only by a complete read: after a\n"
                "silence, or when records failed their check, it is left as it was.",
     .files = 1},
    {.name = "write",
     .synopsis = "write FILE.vsk",
     .summary = "load FILE and send it to the controller",
     .details = "Loads FILE as the window does (every record to be sent), polls until the model\n"
                "string and the date are known, and sends the configuration (the same exchange as\n"
                "\"PC --> Steuerung\"). Refused while the controller's date reads 01.01.00 (its clock\n"
                "has not yet been set by the radio time signal). A damaged FILE is not sent.",
     .files = 1},
    {.name = "logbook",
     .synopsis = "logbook FILE.vlg [--from-start]",
     .summary = "export the controller's logbook to FILE",
     .details = "Exports the logbook as \"Save to Disk\" does: one semicolon-separated line per entry.\n"
                "--from-start first resets the controller's logbook read pointer (\"slr\").\n"
                "After a silence FILE holds what arrived and the exit code is 4.",
     .files = 1,
     .takesFromStart = true},
    {.name = "logbook-clear",
     .synopsis = "logbook-clear",
     .summary = "delete the controller's logbook",
     .details = "Sends \"sll\": the controller deletes its logbook. There is no confirmation."},
    {.name = "monitor",
     .synopsis = "monitor [--count N] [--json] [--csv FILE]",
     .summary = "print one line of sensor values every 900 ms",
     .details = "Polls every 900 ms and prints one line of sensor values per answer, until\n"
                "interrupted (Ctrl-C) or N lines have been printed. A device that disappears\n"
                "(adapter pulled) is waited for: a line says the controller is lost, another\n"
                "that it is back, and the monitor goes on. --json prints one JSON object per\n"
                "line; --csv FILE appends a line per answer to FILE (a header line first when\n"
                "FILE is new or empty): the time stamp and every sensor value, separated by\n"
                "semicolons, with a decimal comma.",
     .takesCount = true,
     .takesJson = true,
     .takesCsv = true},
    {.name = "drive",
     .synopsis = "drive MOTOR up|stop|down [--hold SECONDS]",
     .summary = "drive a motor by hand",
     .details = "Drives one motor as the window's manual control does: it enters manual control\n"
                "(\" rhi\"), chooses the motor (\" rhb\" and its number), sends the command, and\n"
                "leaves manual control (\" rhe\") SECONDS after the command has left the port\n"
                "(default 0: at once). MOTOR is a number 1..32 or a motor name as the controller\n"
                "reports it, in upper or lower case; the beginning of a name will do when no\n"
                "other name begins so. Ctrl-C during --hold leaves manual control at once.",
     .takesHold = true,
     .takeArguments = takeDriveArguments},
    {.name = "show",
     .synopsis = "show FILE.vsk [--json]",
     .summary = "print the switching times of FILE (no controller)",
     .details = "Prints the switching-time lines of FILE sorted by motor, separators included,\n"
                "and the free switching-time memory (with a warning when they do not fit into the\n"
                "controller). Needs no port. --json prints the switching times as one JSON object.",
     .files = 1,
     .needsController = false,
     .takesJson = true},
    {.name = "ports",
     .synopsis = "ports [--json]",
     .summary = "list the serial ports: path, by-id name, description",
     .details = "Lists what the window's port selector offers: COM1 .. COM8 with the devices they\n"
                "open, then the serial devices present (USB adapters, on-board ports), one per line:\n"
                "path, /dev/serial/by-id name (\"-\" when it has none) and description, separated\n"
                "by tabs. Each of these names is accepted by --port. Needs no port. --json prints\n"
                "the list as a JSON array.",
     .needsController = false,
     .takesJson = true},
    {.name = "diff",
     .synopsis = "diff A.vsk B.vsk|--controller [--json]",
     .summary = "list the settings that differ between two configurations",
     .details = "Lists every setting that differs from A to B, named and shown as the window shows\n"
                "it: motor names, switching times (the old and the new list line of a motor and\n"
                "weekday), each automatic function per motor, the alarm set-up, the group control\n"
                "and the global parameters. With --controller B is the controller's configuration,\n"
                "read first; nothing is written to it. Exit code 0 when nothing differs, 10 when\n"
                "something does. --json prints the differences as a JSON array.",
     .takesJson = true,
     .takesController = true,
     .takeArguments = takeDiffArguments},
};

const char *const kUsage =
    "Usage: vandorelle-cli [--port PORT] [--timeout SECONDS] [--trace FILE] [--quiet] COMMAND [ARGS]";

const char *const kOptionsHelp =
    "Options:\n"
    "  --port PORT        COM1 .. COM8, a device path (/dev/ttyUSB0), or a name that\n"
    "                     \"vandorelle-cli ports\" lists; default: the port in Vandorelle.ini of\n"
    "                     the working directory, else of ~/.config/vandorelle, else COM1\n"
    "  --timeout SECONDS  silence after which an exchange is given up (default 10)\n"
    "  --trace FILE       append every byte sent and received to FILE\n"
    "  --quiet            no progress on stderr\n"
    "  -h, --help         this help; COMMAND --help for a command's own\n"
    "  --version          the program's version\n";

const char *const kExitCodes =
    "Exit codes:\n"
    "  0  success\n"
    "  1  usage error\n"
    "  2  the port cannot be opened\n"
    "  3  no controller answered\n"
    "  4  an exchange stopped before its end (silence, or records the controller or\n"
    "     the line spoiled)\n"
    "  5  refused: firmware below V7.000, or date 01.01.00 for write\n"
    "  6  a file cannot be read, parsed or written\n"
    "  10 diff: the configurations differ\n";

constexpr double kMaxTimeoutSeconds = 86400;

struct Pending {
    bool help = false;
    bool version = false;
    bool fromStart = false;
    bool json = false;
    bool fromController = false;
    QString count;
    QString hold;
    QString csvFile;
    QString commandName;
    QStringList positional;
};

// "--name=value" or "--name value"; the value may not be missing.
bool takeValue(const QStringList &args, qsizetype &i, const QString &inlineValue, bool hasInline,
               const QString &name, QString &value, QString &error)
{
    if (hasInline) {
        value = inlineValue;
        return true;
    }
    if (i + 1 >= args.size()) {
        error = QStringLiteral("option --%1 needs a value").arg(name);
        return false;
    }
    value = args.at(++i);
    return true;
}

// Seconds with an optional fraction, above 0 (or from 0) and up to a day.
bool parseSeconds(const QString &text, const char *option, bool zeroAllowed, int &milliseconds, QString &error)
{
    bool ok = false;
    const double seconds = text.toDouble(&ok); // C locale: a dot, whatever the user's locale
    if (!ok || !std::isfinite(seconds) || seconds < 0 || (seconds == 0 && !zeroAllowed)
        || seconds > kMaxTimeoutSeconds) {
        error = QStringLiteral("--%1 needs a number of seconds %2 0 and up to %3, not \"%4\"")
                    .arg(QString::fromLatin1(option), zeroAllowed ? QStringLiteral("from") : QStringLiteral("above"))
                    .arg(kMaxTimeoutSeconds)
                    .arg(text);
        return false;
    }
    milliseconds = int(std::lround(seconds * 1000));
    if (!zeroAllowed)
        milliseconds = std::max(1, milliseconds);
    return true;
}

bool parseCount(const QString &text, int &count, QString &error)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1) {
        error = QStringLiteral("--count needs a whole number of at least 1, not \"%1\"").arg(text);
        return false;
    }
    count = n;
    return true;
}

bool scanArguments(const QStringList &args, Options &options, Pending &pending, QString &error)
{
    bool optionsEnded = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (optionsEnded || arg == QLatin1String("-") || !arg.startsWith(u'-')) {
            if (pending.commandName.isEmpty())
                pending.commandName = arg;
            else
                pending.positional << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg == QLatin1String("-h")) {
            pending.help = true;
            continue;
        }
        if (!arg.startsWith(QLatin1String("--"))) {
            error = QStringLiteral("unknown option %1").arg(arg);
            return false;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const bool hasInline = eq >= 0;
        const QString name = arg.mid(2, hasInline ? eq - 2 : -1);
        const QString inlineValue = hasInline ? arg.mid(eq + 1) : QString();
        auto flag = [&](bool &target) {
            if (hasInline) {
                error = QStringLiteral("option --%1 takes no value").arg(name);
                return false;
            }
            target = true;
            return true;
        };
        QString value;
        if (name == QLatin1String("help")) {
            if (!flag(pending.help))
                return false;
        } else if (name == QLatin1String("version")) {
            if (!flag(pending.version))
                return false;
        } else if (name == QLatin1String("quiet")) {
            if (!flag(options.quiet))
                return false;
        } else if (name == QLatin1String("from-start")) {
            if (!flag(pending.fromStart))
                return false;
        } else if (name == QLatin1String("json")) {
            if (!flag(pending.json))
                return false;
        } else if (name == QLatin1String("controller")) {
            if (!flag(pending.fromController))
                return false;
        } else if (name == QLatin1String("hold")) {
            if (!takeValue(args, i, inlineValue, hasInline, name, pending.hold, error))
                return false;
        } else if (name == QLatin1String("csv")) {
            if (!takeValue(args, i, inlineValue, hasInline, name, pending.csvFile, error))
                return false;
            if (pending.csvFile.isEmpty()) {
                error = QStringLiteral("--csv needs a file name");
                return false;
            }
        } else if (name == QLatin1String("port")) {
            if (!takeValue(args, i, inlineValue, hasInline, name, options.port, error))
                return false;
            if (options.port.isEmpty()) {
                error = QStringLiteral("--port needs a device path, a device name or COM1 .. COM8");
                return false;
            }
        } else if (name == QLatin1String("trace")) {
            if (!takeValue(args, i, inlineValue, hasInline, name, options.traceFile, error))
                return false;
            if (options.traceFile.isEmpty()) {
                error = QStringLiteral("--trace needs a file name");
                return false;
            }
        } else if (name == QLatin1String("timeout")) {
            if (!takeValue(args, i, inlineValue, hasInline, name, value, error)
                || !parseSeconds(value, "timeout", false, options.timeoutMs, error))
                return false;
        } else if (name == QLatin1String("count")) {
            if (!takeValue(args, i, inlineValue, hasInline, name, pending.count, error))
                return false;
        } else {
            error = QStringLiteral("unknown option --%1").arg(name);
            return false;
        }
    }
    return true;
}

// "--json belongs to the info, monitor and show commands, not to read"
bool belongs(bool given, bool CommandSpec::*takes, const char *option, const CommandSpec &cmd, QString &error)
{
    if (!given || cmd.*takes)
        return true;
    QStringList owners;
    for (const CommandSpec &c : kCommands)
        if (c.*takes)
            owners << QString::fromLatin1(c.name);
    const QString last = owners.takeLast();
    const QString list = owners.isEmpty() ? last : owners.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
    error = QStringLiteral("--%1 belongs to the %2 command%3, not to %4")
                .arg(QString::fromLatin1(option), list, owners.isEmpty() ? QString() : QStringLiteral("s"),
                     QString::fromLatin1(cmd.name));
    return false;
}

bool takeFiles(const CommandSpec &cmd, const QStringList &positional, Options &options, QString &error)
{
    const QString name = QString::fromLatin1(cmd.name);
    if (positional.size() < cmd.files) {
        error = QStringLiteral("%1 needs a file name: vandorelle-cli %2")
                    .arg(name, QString::fromLatin1(cmd.synopsis));
        return false;
    }
    if (positional.size() > cmd.files) {
        error = QStringLiteral("unexpected argument \"%1\" for %2").arg(positional.at(cmd.files), name);
        return false;
    }
    if (cmd.files > 0) {
        options.file = positional.first();
        if (options.file.isEmpty()) {
            error = QStringLiteral("%1 needs a file name, not an empty one").arg(name);
            return false;
        }
    }
    return true;
}

bool takeDriveArguments(const QStringList &arguments, Options &options, QString &error)
{
    if (arguments.size() != 2) {
        error = arguments.size() < 2
            ? QStringLiteral("drive needs a motor and up, stop or down: vandorelle-cli drive MOTOR up|stop|down")
            : QStringLiteral("unexpected argument \"%1\" for drive").arg(arguments.at(2));
        return false;
    }
    const QString &motor = arguments.at(0);
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    if (digits.match(motor).hasMatch()) {
        bool ok = false;
        const int number = motor.toInt(&ok);
        if (!ok || number < 1 || number > kMotors) {
            error = QStringLiteral("drive: motors are numbered 1 to %1, not %2").arg(kMotors).arg(motor);
            return false;
        }
        options.motor = number;
    } else if (motor.trimmed().isEmpty()) {
        error = QStringLiteral("drive needs a motor number or name, not an empty one");
        return false;
    } else {
        options.motorName = motor;
    }
    // In the order of the manual selector's items.
    static const QStringList kCommandWords{QStringLiteral("up"), QStringLiteral("stop"), QStringLiteral("down")};
    const qsizetype choice = kCommandWords.indexOf(arguments.at(1).toLower());
    if (choice < 0) {
        error = QStringLiteral("drive: the command is up, stop or down, not \"%1\"").arg(arguments.at(1));
        return false;
    }
    options.manualChoice = int32_t(choice);
    return true;
}

bool takeDiffArguments(const QStringList &arguments, Options &options, QString &error)
{
    const qsizetype wanted = options.fromController ? 1 : 2;
    if (arguments.size() < wanted) {
        error = QStringLiteral("diff needs two configuration files, or one and --controller: "
                               "vandorelle-cli diff A.vsk B.vsk|--controller");
        return false;
    }
    if (arguments.size() > wanted) {
        error = QStringLiteral("unexpected argument \"%1\" for diff%2")
                    .arg(arguments.at(wanted),
                         options.fromController ? QStringLiteral(" --controller") : QString());
        return false;
    }
    if (arguments.contains(QString())) {
        error = QStringLiteral("diff needs file names, not empty ones");
        return false;
    }
    options.file = arguments.at(0);
    options.secondFile = arguments.value(1);
    return true;
}

bool checkCommand(Options &options, const Pending &pending, QString &error)
{
    const CommandSpec &cmd = *options.command;
    if (!belongs(pending.fromStart, &CommandSpec::takesFromStart, "from-start", cmd, error)
        || !belongs(!pending.count.isNull(), &CommandSpec::takesCount, "count", cmd, error)
        || !belongs(pending.json, &CommandSpec::takesJson, "json", cmd, error)
        || !belongs(!pending.hold.isNull(), &CommandSpec::takesHold, "hold", cmd, error)
        || !belongs(!pending.csvFile.isNull(), &CommandSpec::takesCsv, "csv", cmd, error)
        || !belongs(pending.fromController, &CommandSpec::takesController, "controller", cmd, error))
        return false;
    options.fromStart = pending.fromStart;
    options.json = pending.json;
    options.fromController = pending.fromController;
    options.csvFile = pending.csvFile;
    if (!pending.count.isNull() && !parseCount(pending.count, options.count, error))
        return false;
    if (!pending.hold.isNull() && !parseSeconds(pending.hold, "hold", true, options.holdMs, error))
        return false;
    return cmd.takeArguments ? cmd.takeArguments(pending.positional, options, error)
                             : takeFiles(cmd, pending.positional, options, error);
}

} // namespace

const CommandSpec *findCommand(const QString &name)
{
    for (const CommandSpec &c : kCommands) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

ParseResult parseArguments(const QStringList &args, Options &options, QString &message)
{
    Pending pending;
    if (!scanArguments(args, options, pending, message))
        return ParseResult::UsageError;

    // "help read" reads as "read --help".
    if (pending.commandName == QLatin1String("help")) {
        pending.help = true;
        pending.commandName = pending.positional.value(0);
        pending.positional.clear();
    }
    if (!pending.commandName.isEmpty()) {
        options.command = findCommand(pending.commandName);
        if (!options.command) {
            message = QStringLiteral("unknown command \"%1\" (see vandorelle-cli --help)").arg(pending.commandName);
            return ParseResult::UsageError;
        }
    }
    if (pending.help) {
        message = options.command ? commandHelp(*options.command) : toolHelp();
        return ParseResult::Help;
    }
    if (pending.version)
        return ParseResult::Version;
    if (!options.command) {
        message = QStringLiteral("no command given (see vandorelle-cli --help)");
        return ParseResult::UsageError;
    }
    if (!checkCommand(options, pending, message))
        return ParseResult::UsageError;
    if (!options.port.isEmpty()) {
        PortChoice choice;
        if (!resolvePortName(options.port, serialDevices, choice, message))
            return ParseResult::UsageError;
    }
    return ParseResult::Run;
}

QString toolHelp()
{
    QString text = QString::fromLatin1(kUsage) + QStringLiteral(
        "\n\nBackup, restore, logbook export, monitoring, manual control and comparison of the\n"
        "configurations of a motor controller on a serial line.\n\n"
        "Commands:\n");
    constexpr int kSynopsisWidth = 34;
    for (const CommandSpec &c : kCommands) {
        QString synopsis = QString::fromLatin1(c.synopsis);
        // A long synopsis gets a line of its own; the summaries stay in one column.
        if (synopsis.size() >= kSynopsisWidth)
            synopsis += u'\n' + QString(kSynopsisWidth + 2, u' ');
        text += QStringLiteral("  %1%2\n").arg(synopsis, -kSynopsisWidth).arg(QString::fromLatin1(c.summary));
    }
    text += u'\n' + QString::fromLatin1(kOptionsHelp) + u'\n' + QString::fromLatin1(kExitCodes);
    return text;
}

QString commandHelp(const CommandSpec &command)
{
    QString text = QStringLiteral("Usage: vandorelle-cli [OPTIONS] %1\n\n%2\n")
                       .arg(QString::fromLatin1(command.synopsis), QString::fromLatin1(command.details));
    if (command.needsController)
        text += u'\n' + QString::fromLatin1(kOptionsHelp);
    text += u'\n' + QString::fromLatin1(kExitCodes);
    return text;
}

} // namespace vandorelle::cli
