#pragma once

#include <QString>
#include <QStringList>

namespace vandorelle::cli {

// One command of the tool, as the help and the parser know it.
struct CommandSpec {
    const char *name;
    const char *synopsis;  // name and arguments
    const char *summary;   // one line for the overview
    const char *details;   // the command's own help
    int files;             // positional arguments: 0 or 1 file name
    bool takesFromStart;
    bool takesCount;
    bool needsController;
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
};

enum class ParseResult { Run, Help, Version, UsageError };

// args as from QCoreApplication::arguments(), program name first. Global options may stand
// before or after the command. On Help, `message` holds the help text (the command's, when
// one was named); on UsageError the reason, one line.
ParseResult parseArguments(const QStringList &args, Options &options, QString &message);

QString toolHelp();
QString commandHelp(const CommandSpec &command);

} // namespace vandorelle::cli
