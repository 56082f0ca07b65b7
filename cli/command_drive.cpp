#include "cli/commands.h"
#include "cli/motor_choice.h"

#include "link/serial_port.h"
#include "protocol/device_family.h"
#include "protocol/manual_control.h"
#include "protocol/silence_watch.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>

namespace vandorelle::cli {

namespace {

constexpr int kCheckMs = 5;

// Until what was queued has left the port. Ctrl-C does not cut this short: the write that
// leaves manual control must get out before the port closes.
bool waitForOutput(const Port &port, int boundMs)
{
    const qint64 deadline = QDateTime::currentMSecsSinceEpoch() + boundMs;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (port.msSinceOutputDrained() > 0 || QDateTime::currentMSecsSinceEpoch() >= deadline)
            loop.quit();
    });
    check.start(kCheckMs);
    if (port.msSinceOutputDrained() == 0)
        loop.exec();
    return port.msSinceOutputDrained() > 0;
}

// The names of motors 1..count as the controller reports them ("smn"); silence is counted
// from the last name that arrived, as the exchanges count it.
Outcome readMotorNames(ControllerLink &link, int count)
{
    const QString tag = QStringLiteral("smn");
    const int before = link.framesReceived(tag);
    int seen = before;
    bool silent = false;
    SilenceWatch silence(link.session, link.timeoutMs());
    QObject::connect(&silence, &SilenceWatch::expired, [&] { silent = true; });
    auto arrived = [&] { return link.framesReceived(tag) - before >= count; };
    link.session.send(tag);
    silence.start();
    link.waitUntil(
        [&] {
            if (link.framesReceived(tag) != seen) {
                seen = link.framesReceived(tag);
                silence.progress();
            }
            return arrived() || silent;
        },
        -1);
    if (arrived())
        return Outcome::success();
    if (link.interrupted())
        return ControllerLink::interruptedOutcome();
    if (link.lineLost())
        return link.lineLostOutcome(ExitCode::Silence);
    return Outcome::failure(ExitCode::Silence,
                            QStringLiteral("the controller on %1 sent %2 of its %3 motor names (silent for %4)")
                                .arg(link.portLabel())
                                .arg(seen - before)
                                .arg(count)
                                .arg(link.timeoutText()));
}

Outcome chooseByName(ControllerLink &link, const QString &name, int count, int &motor)
{
    if (Outcome names = readMotorNames(link, count); !names.ok())
        return names;
    const MotorChoice choice = chooseMotor(link.store.MotorNamen, count, name);
    motor = choice.motor;
    if (motor > 0)
        return Outcome::success();
    const QString list = choice.candidates.join(QStringLiteral(", "));
    if (choice.several)
        return Outcome::failure(ExitCode::Usage,
                                QStringLiteral("\"%1\" fits more than one motor: %2").arg(name, list));
    return Outcome::failure(ExitCode::Usage,
                            QStringLiteral("no motor is named \"%1\"; the controller's motors: %2").arg(name, list));
}

} // namespace

Outcome runDrive(const Options &options, ControllerLink &link, Console &console)
{
    if (Outcome opened = link.open(); !opened.ok())
        return opened;
    if (Outcome connected = link.connectController({.firmware = true}); !connected.ok())
        return connected;

    const int count = motorCount(link.session.flags);
    int motor = options.motor;
    if (motor > count)
        return Outcome::failure(ExitCode::Usage, QStringLiteral("the controller on %1 (%2) has motors 1 to %3 only, "
                                                                "not motor %4")
                                                     .arg(link.portLabel(), link.status.panel(StatusModel::Model))
                                                     .arg(count)
                                                     .arg(motor));
    if (motor == 0) {
        console.progress(QStringLiteral("Reading the motor names ..."));
        const Outcome chosen = chooseByName(link, options.motorName, count, motor);
        console.endProgress();
        if (!chosen.ok())
            return chosen;
    }

    const Port &port = *link.session.port();
    try {
        for (const QString &write :
             {kManualEnterWrite, manualMotorWrite(motor), manualCommandWrite(options.manualChoice)})
            link.session.send(write);
        const bool commanded = waitForOutput(port, link.timeoutMs());
        // Held until the time is over (a timer may fire early: the clock decides), Ctrl-C or a
        // vanished device; manual control is left anyway.
        QElapsedTimer held;
        held.start();
        if (commanded && options.holdMs > 0)
            link.waitUntil([&] { return held.elapsed() >= options.holdMs; }, -1);
        link.session.send(kManualExitWrite);
        const bool left = waitForOutput(port, link.timeoutMs());
        if (link.lineLost())
            return link.lineLostOutcome(ExitCode::Silence);
        if (!commanded || !left)
            return Outcome::failure(ExitCode::Silence,
                                    QStringLiteral("the writes did not leave the port %1 within %2 (held off by "
                                                   "the controller?)")
                                        .arg(link.portLabel(), link.timeoutText()));
    } catch (const EVaCommError &e) {
        if (link.lineLost())
            return link.lineLostOutcome(ExitCode::Silence);
        return Outcome::failure(ExitCode::Silence,
                                QStringLiteral("the port %1 refused the writes: %2").arg(link.portLabel(), e.message()));
    }
    if (link.interrupted())
        return ControllerLink::interruptedOutcome();
    return Outcome::success();
}

} // namespace vandorelle::cli
