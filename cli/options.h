#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace vandorelle::cli {

// One command of the tool, as the help and the parser know it.
struct Options;

struct CommandSpec {
    const char *name;
    const char *synopsis;  // name and arguments
    const char *summary;   // one line for the overview
    const char *details;   // the command's own help
    int files = 0;         // positional arguments: 0 or 1 file name
    bool takesFromStart = false;
    bool takesCount = false;
    bool needsController = true; // the port options apply
    bool takesJson = false;
    bool takesHold = false;
    bool takesCsv = false;
    bool takesController = false;
    // Takes positional arguments other than `files` file names; false with the reason.
    bool (*takeArguments)(const QStringList &arguments, Options &options, QString &error) = nullptr;
};

const CommandSpec *findCommand(const QString &name);

struct Options {
    QString port;               // as given; empty: the settings file's port
    int timeoutMs = 10000;
    QString traceFile;
    bool quiet = false;
    const CommandSpec *command = nullptr;
    QString file;               // the command's file argument
    bool fromStart = false;     // logbook
    int count = 0;              // monitor; 0 = until interrupted
    bool json = false;          // machine-readable output
    QString csvFile;            // monitor: append the answers here
    int holdMs = 0;             // drive: manual control kept this long after the command
    QString secondFile;         // diff: the newer configuration
    bool fromController = false; // diff: the controller's configuration is the newer one
    int motor = 0;              // drive: 1..32, or 0 when motorName names it
    QString motorName;
    int32_t manualChoice = 0;   // drive: up, stop, down as the manual selector's index
};

enum class ParseResult { Run, Help, Version, UsageError };

// args as from QCoreApplication::arguments(), program name first. Global options may stand
// before or after the command. On Help, `message` holds the help text (the command's, when
// one was named); on UsageError the reason, one line.
ParseResult parseArguments(const QStringList &args, Options &options, QString &message);

QString toolHelp();
QString commandHelp(const CommandSpec &command);

} // namespace vandorelle::cli
