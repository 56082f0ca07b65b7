#include "sim/controller.h"
#include "sim/line_reader.h"
#include "sim/line_writer.h"
#include "sim/options.h"
#include "sim/pty.h"
#include "sim/state_file.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace vandorelle;
using namespace vandorelle::sim;

namespace {

constexpr int kTickMs = 250;
int stopPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopPipe[1], &byte, 1);
}

bool installStopSignals()
{
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        if (::sigaction(sig, &action, nullptr) != 0) return false;
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

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
    if (!installStopSignals()) {
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

    QSocketNotifier stop(stopPipe[0], QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    const int code = app.exec();
    pty.removeLink();
    return code;
}
