#include "sim/controller.h"
#include "sim/line_reader.h"
#include "sim/line_writer.h"
#include "sim/options.h"
#include "sim/pty.h"
#include "sim/state_file.h"

#include "link/signal_events.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>

using namespace vandorelle;
using namespace vandorelle::sim;

namespace {

constexpr int kTickMs = 250;
void printError(const QString &text)
{
    std::fprintf(stderr, "vandorelle-sim: %s\n", qPrintable(text));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    SimOptions options;
    QString message;
    switch (parseOptions(app.arguments(), options, message)) {
    case OptionsOutcome::ShowHelp:
    case OptionsOutcome::ShowVersion:
        std::fprintf(stdout, "%s\n", qPrintable(message));
        return 0;
    case OptionsOutcome::Error:
        printError(message + QStringLiteral(" (see --help)"));
        return 2;
    case OptionsOutcome::Run: break;
    }

    ConfigStore initial;
    if (!options.statePath.isEmpty() && !loadStateFile(options.statePath, initial, &message)) {
        printError(message);
        return 1;
    }
    SignalEvents stopSignals;
    QObject::connect(&stopSignals, &SignalEvents::received, &app, &QCoreApplication::quit);
    std::signal(SIGPIPE, SIG_IGN);
    if (!stopSignals.install({SIGINT, SIGTERM, SIGHUP})) {
        printError(QStringLiteral("cannot install signal handlers"));
        return 1;
    }

    PseudoTerminal pty;
    if (!pty.open(&message)) {
        printError(message);
        return 1;
    }
    if (!options.linkPath.isEmpty() && !pty.createLink(options.linkPath, &message)) {
        printError(message);
        return 1;
    }
    // The path is the contract with whoever started us: first line, flushed at once.
    std::fprintf(stdout, "%s\n", qPrintable(pty.slavePath()));
    std::fflush(stdout);

    const auto warn = [](const QString &line) { printError(line); };
    QElapsedTimer monotonic;
    monotonic.start();

    LineWriter writer(pty.masterFd(), options.baud, options.transport, options.controller.seed);
    writer.setWarningLogger(warn);
    EmulatedController controller(options.controller,
                                  [&writer](const QByteArray &frame) { writer.send(frame); },
                                  &QDateTime::currentDateTime, monotonic.elapsed());
    controller.store() = initial;
    controller.setWarningLogger(warn);
    if (options.verbose) controller.setTraceLogger(warn);

    // Finishes the request or record in hand when its processing time is up.
    QTimer processing;
    processing.setSingleShot(true);
    processing.setTimerType(Qt::PreciseTimer);
    const auto scheduleProcessing = [&] {
        if (const auto due = controller.busyUntil())
            processing.start(int(std::max<qint64>(0, *due - monotonic.elapsed())));
    };
    LineReader reader(
        pty.masterFd(), options.baud, writer,
        [&](const QByteArray &data) {
            controller.receive(data, monotonic.elapsed());
            scheduleProcessing();
        },
        [&] { return controller.receiveBuffer().roomBeforeHoldOff(); });
    controller.setFlowSink([&](char c) {
        if (options.verbose)
            warn(QStringLiteral("%1 sent").arg(c == kXoff ? QStringLiteral("XOFF") : QStringLiteral("XON")));
        writer.sendFlowControl(c);
        if (c == kXon) reader.resume();
    });
    QObject::connect(&processing, &QTimer::timeout, [&] {
        controller.advance(monotonic.elapsed());
        scheduleProcessing();
    });

    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        controller.tick(monotonic.elapsed());
        scheduleProcessing();
    });
    tick.start(kTickMs);

    const int code = app.exec();
    pty.removeLink();
    return code;
}
