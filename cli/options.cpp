#include "cli/options.h"

#include "link/port_list.h"
#include "link/serial_devices.h"

#include <cmath>

namespace vandorelle::cli {

namespace {

const CommandSpec kCommands[] = {
    {"info", "info", "poll once; print model, firmware, date, time, family and sensors",
     "Polls the controller once and prints its model string, firmware, date and time,\n"
     "the device-family flags read from the model string and the sensor values.\n"
     "Succeeds when the model string arrived.",
     0, false, false, true},
    {"read", "read FILE.vsk", "read the whole configuration and save it to FILE",
     "Polls until the model string is known, reads the controller's whole configuration\n"
     "(the same request burst as \"Steuerung --> PC\") and saves it to FILE in the\n"
     "configuration-file format. FILE is replaced only by a complete read: after a\n"
     "silence, or when records failed their check, it is left as it was.",
     1, false, false, true},
    {"write", "write FILE.vsk", "load FILE and send it to the controller",
     "Loads FILE as the window does (every record to be sent), polls until the model\n"
     "string and the date are known, and sends the configuration (the same exchange as\n"
     "\"PC --> Steuerung\"). Refused while the controller's date reads 01.01.00 (its clock\n"
     "has not yet been set by the radio time signal). A damaged FILE is not sent.",
     1, false, false, true},
    {"logbook", "logbook FILE.vlg [--from-start]", "export the controller's logbook to FILE",
     "Exports the logbook as \"Save to Disk\" does: one semicolon-separated line per entry.\n"
     "--from-start first resets the controller's logbook read pointer (\"slr\").\n"
     "After a silence FILE holds what arrived and the exit code is 4.",
     1, true, false, true},
    {"logbook-clear", "logbook-clear", "delete the controller's logbook",
     "Sends \"sll\": the controller deletes its logbook. There is no confirmation.",
     0, false, false, true},
    {"monitor", "monitor [--count N]", "print one line of sensor values every 900 ms",
     "Polls every 900 ms and prints one line of sensor values per answer, until\n"
     "interrupted (Ctrl-C) or N lines have been printed. A device that disappears\n"
     "(adapter pulled) is waited for: a line says the controller is lost, another\n"
     "that it is back, and the monitor goes on.",
     0, false, true, true},
    {"show", "show FILE.vsk", "print the switching times of FILE (no controller)",
     "Prints the switching-time lines of FILE sorted by motor, separators included,\n"
     "and the free switching-time memory (with a warning when they do not fit into the\n"
     "controller). Needs no port.",
     1, false, false, false},
    {"ports", "ports", "list the serial ports: path, by-id name, description",
     "Lists what the window's port selector offers: COM1 .. COM8 with the devices they\n"
     "open, then the serial devices present (USB adapters, on-board ports), one per line:\n"
     "path, /dev/serial/by-id name (\"-\" when it has none) and description, separated\n"
     "by tabs. Each of these names is accepted by --port. Needs no port.",
     0, false, false, false},
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
    "  6  a file cannot be read, parsed or written\n";

constexpr double kMaxTimeoutSeconds = 86400;

struct Pending {
    bool help = false;
    bool version = false;
    bool fromStart = false;
    QString count;
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

bool parseTimeout(const QString &text, int &milliseconds, QString &error)
{
    bool ok = false;
    const double seconds = text.toDouble(&ok); // C locale: a dot, whatever the user's locale
    if (!ok || !std::isfinite(seconds) || seconds <= 0 || seconds > kMaxTimeoutSeconds) {
        error = QStringLiteral("--timeout needs a number of seconds above 0 and up to %1, not \"%2\"")
                    .arg(kMaxTimeoutSeconds).arg(text);
        return false;
    }
    milliseconds = std::max(1, int(std::lround(seconds * 1000)));
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
                || !parseTimeout(value, options.timeoutMs, error))
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

bool checkCommand(Options &options, const Pending &pending, QString &error)
{
    const CommandSpec &cmd = *options.command;
    const QString name = QString::fromLatin1(cmd.name);
    if (pending.positional.size() < cmd.files) {
        error = QStringLiteral("%1 needs a file name: vandorelle-cli %2")
                    .arg(name, QString::fromLatin1(cmd.synopsis));
        return false;
    }
    if (pending.positional.size() > cmd.files) {
        error = QStringLiteral("unexpected argument \"%1\" for %2").arg(pending.positional.at(cmd.files), name);
        return false;
    }
    if (cmd.files > 0) {
        options.file = pending.positional.first();
        if (options.file.isEmpty()) {
            error = QStringLiteral("%1 needs a file name, not an empty one").arg(name);
            return false;
        }
    }
    if (pending.fromStart && !cmd.takesFromStart) {
        error = QStringLiteral("--from-start belongs to the logbook command, not to %1").arg(name);
        return false;
    }
    options.fromStart = pending.fromStart;
    if (!pending.count.isNull()) {
        if (!cmd.takesCount) {
            error = QStringLiteral("--count belongs to the monitor command, not to %1").arg(name);
            return false;
        }
        if (!parseCount(pending.count, options.count, error))
            return false;
    }
    return true;
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
        "\n\nBackup, restore, logbook export and monitoring of a motor controller on a serial line.\n\n"
        "Commands:\n");
    for (const CommandSpec &c : kCommands)
        text += QStringLiteral("  %1%2\n").arg(QString::fromLatin1(c.synopsis), -34).arg(QString::fromLatin1(c.summary));
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
