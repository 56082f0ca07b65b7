#include "cli/commands.h"
#include "cli/readings.h"

#include "protocol/device_family.h"

#include <QTime>

#include <utility>

namespace vandorelle::cli {

namespace {

constexpr int kMonitorIntervalMs = 900;

// Lost and back, in the time column of the sensor lines.
QString monitorEventLine(const QTime &when, const QString &event)
{
    return when.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") + event;
}

} // namespace

Outcome runInfo(const Options &, ControllerLink &link, Console &console)
{
    if (Outcome opened = link.open(); !opened.ok())
        return opened;
    console.progress(QStringLiteral("Asking the controller on %1 ...").arg(link.portLabel()));
    link.sendPoll();
    const bool answered = link.waitUntil([&] { return link.framesReceived(QStringLiteral("smo")) > 0; },
                                         link.timeoutMs());
    console.endProgress();
    if (link.interrupted())
        return ControllerLink::interruptedOutcome();
    if (link.lineLost())
        return link.lineLostOutcome(ExitCode::NoController);
    if (!answered) {
        return Outcome::failure(ExitCode::NoController,
                                link.session.RxCount > 0
                                    ? QStringLiteral("the controller on %1 sent no model string within %2")
                                          .arg(link.portLabel(), link.timeoutText())
                                    : QStringLiteral("no controller answered on %1 within %2")
                                          .arg(link.portLabel(), link.timeoutText()));
    }
    const ModelEvaluation model = evaluateModel(link.status.panel(StatusModel::Model));
    for (const QString &line : infoLines(link.status, link.session.live, model.flags, model.known))
        console.out(line);
    return Outcome::success();
}

Outcome runMonitor(const Options &options, ControllerLink &link, Console &console)
{
    // An adapter pulled and plugged in again costs the monitor a few lines, not its run.
    link.keepReconnecting();
    if (Outcome opened = link.open(); !opened.ok())
        return opened;

    int printed = 0;
    bool lost = false;
    QObject::connect(&link.session, &Session::followUp, &link, [&](FollowUp what) {
        if (what != FollowUp::LiveValues || (options.count > 0 && printed >= options.count))
            return;
        if (std::exchange(lost, false))
            console.out(monitorEventLine(QTime::currentTime(),
                                         QStringLiteral("controller back on %1").arg(link.portLabel())));
        console.out(sensorLine(QTime::currentTime(), link.session.live));
        ++printed;
    });
    QObject::connect(&link.portKeeper(), &PortKeeper::deviceLost, &link, [&] {
        lost = true;
        console.out(monitorEventLine(QTime::currentTime(),
                                     QStringLiteral("controller lost: %1 disappeared; waiting for it to return")
                                         .arg(link.portLabel())));
    });

    QTimer poll;
    poll.setInterval(kMonitorIntervalMs);
    QObject::connect(&poll, &QTimer::timeout, &link, [&] { link.sendPoll(); });
    // Back at once, not a poll period later.
    QObject::connect(&link.portKeeper(), &PortKeeper::deviceBack, &link, [&] {
        poll.start();
        link.sendPoll();
    });
    poll.start();
    link.sendPoll();

    // Silence is measured from the last sound poll answer: a line of noise is silent too.
    // While the device is away there is nobody to be silent.
    auto silent = [&] { return !link.waitingForDevice() && link.msSinceLastAnswer() >= link.timeoutMs(); };
    link.waitUntil([&] { return (options.count > 0 && printed >= options.count) || silent(); }, -1);
    poll.stop();

    if (link.interrupted())
        return Outcome::success(); // Ctrl-C is the ordinary end of an endless monitor
    if (options.count > 0 && printed >= options.count)
        return Outcome::success();
    if (link.lineLost())
        return link.lineLostOutcome(printed == 0 ? ExitCode::NoController : ExitCode::Silence);
    if (printed == 0 && link.session.RxCount == 0)
        return Outcome::failure(ExitCode::NoController,
                                QStringLiteral("no controller answered on %1 within %2")
                                    .arg(link.portLabel(), link.timeoutText()));
    return Outcome::failure(ExitCode::Silence,
                            QStringLiteral("the controller on %1 stopped answering (silent for %2)")
                                .arg(link.portLabel(), link.timeoutText()));
}

} // namespace vandorelle::cli
