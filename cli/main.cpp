#include "cli/commands.h"
#include "cli/console.h"
#include "cli/controller_link.h"
#include "cli/interrupt.h"
#include "cli/options.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

using namespace vandorelle::cli;

namespace {

using Runner = Outcome (*)(const Options &, ControllerLink &, Console &);
using OfflineRunner = Outcome (*)(const Options &, Console &);

// Each command runs with the controller's link, or without a port (offline).
struct CommandRunner {
    const char *name;
    Runner run = nullptr;
    OfflineRunner runOffline = nullptr;
};

const CommandRunner kRunners[] = {
    {"info", runInfo},
    {"read", runRead},
    {"write", runWrite},
    {"logbook", runLogbook},
    {"logbook-clear", runLogbookClear},
    {"monitor", runMonitor},
    {"drive", runDrive},
    {"diff", runDiff}, // opens the port only for --controller
    {"show", nullptr, runShow},
    {"ports", nullptr, runPorts},
};

const CommandRunner &runnerFor(const CommandSpec &command)
{
    for (const CommandRunner &r : kRunners) {
        if (qstrcmp(r.name, command.name) == 0)
            return r;
    }
    static const CommandRunner none{""};
    return none;
}

void printText(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    if (!bytes.endsWith('\n'))
        std::fputc('\n', stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // A reader of stdout that went away (a pipe into head) must not kill the port's threads.
    std::signal(SIGPIPE, SIG_IGN);

    Options options;
    QString message;
    switch (parseArguments(app.arguments(), options, message)) {
    case ParseResult::Help:
        printText(message);
        return 0;
    case ParseResult::Version:
        printText(QStringLiteral("vandorelle-cli " VANDORELLE_VERSION));
        return 0;
    case ParseResult::UsageError:
        Console(true).error(message);
        return int(ExitCode::Usage);
    case ParseResult::Run:
        break;
    }

    Console console(options.quiet);
    InterruptWatch interrupt;
    interrupt.install();

    Outcome outcome;
    const CommandRunner &runner = runnerFor(*options.command);
    if (!options.command->needsController) {
        outcome = runner.runOffline(options, console);
    } else {
        ControllerLink link(options, console, interrupt);
        outcome = runner.run(options, link, console);
    }
    // A difference is a result, not a failure: it has no message.
    if (!outcome.ok() && !outcome.message.isEmpty())
        console.error(outcome.message);
    return int(outcome.code);
}
