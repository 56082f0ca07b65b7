#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/readings.h"
#include "cli/sensor_values.h"

#include "protocol/device_family.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <utility>

namespace vandorelle::cli {

namespace {

constexpr int kMonitorIntervalMs = 900;

// Lost and back, in the time column of the sensor lines; as an object with "event" in a
// stream of JSON objects.
void printMonitorEvent(Console &console, bool json, const char *event, const QString &text, const QString &port)
{
    const QDateTime now = QDateTime::currentDateTime();
    if (json)
        printJson(console,
                  {{QStringLiteral("time"), isoTimeStamp(now)},
                   {QStringLiteral("event"), QString::fromLatin1(event)},
                   {QStringLiteral("port"), port}},
                  JsonLayout::OneLine);
    else
        console.out(now.time().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") + text);
}

// The spreadsheet file of monitor --csv: appended to, a header first when it is new or empty,
// every line on disk before the next answer.
class CsvLog {
public:
    Outcome open(const QString &path)
    {
        if (QFileInfo(path).isDir())
            return Outcome::failure(ExitCode::FileError, QStringLiteral("%1 is a directory").arg(path));
        m_file.setFileName(path);
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
            return Outcome::failure(ExitCode::FileError,
                                    QStringLiteral("cannot write %1: %2").arg(path, m_file.errorString()));
        if (m_file.size() == 0 && !append(sensorCsvHeader()))
            return failed();
        return Outcome::success();
    }

    bool append(const QString &line)
    {
        const QByteArray bytes = line.toUtf8() + "\r\n";
        return m_file.write(bytes) == bytes.size() && m_file.flush();
    }

    Outcome failed() const
    {
        return Outcome::failure(ExitCode::FileError,
                                QStringLiteral("cannot write %1: %2").arg(m_file.fileName(), m_file.errorString()));
    }

private:
    QFile m_file;
};

} // namespace

Outcome runInfo(const Options &options, ControllerLink &link, Console &console)
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
    if (options.json) {
        printJson(console, infoJson(link.status, link.session.live, model.flags, model.known,
                                    link.session.firmwareKnown ? link.session.firmwareNumber : 0));
        return Outcome::success();
    }
    for (const QString &line : infoLines(link.status, link.session.live, model.flags, model.known))
        console.out(line);
    return Outcome::success();
}

Outcome runMonitor(const Options &options, ControllerLink &link, Console &console)
{
    // A file that cannot be written is found before the line is touched.
    std::unique_ptr<CsvLog> csv;
    if (!options.csvFile.isEmpty()) {
        csv = std::make_unique<CsvLog>();
        if (Outcome opened = csv->open(options.csvFile); !opened.ok())
            return opened;
    }
    // An adapter pulled and plugged in again costs the monitor a few lines, not its run.
    link.keepReconnecting();
    if (Outcome opened = link.open(); !opened.ok())
        return opened;

    int printed = 0;
    bool lost = false;
    bool csvFailed = false;
    QObject::connect(&link.session, &Session::followUp, &link, [&](FollowUp what) {
        if (what != FollowUp::LiveValues || csvFailed || (options.count > 0 && printed >= options.count))
            return;
        if (std::exchange(lost, false))
            printMonitorEvent(console, options.json, "back",
                              QStringLiteral("controller back on %1").arg(link.portLabel()), link.portLabel());
        const QDateTime now = QDateTime::currentDateTime();
        const LiveValues &live = link.session.live;
        if (options.json) {
            QJsonObject line = sensorJson(live);
            line.insert(QStringLiteral("time"), isoTimeStamp(now));
            printJson(console, line, JsonLayout::OneLine);
        } else {
            console.out(sensorLine(now.time(), live));
        }
        if (csv && !csv->append(sensorCsvLine(now, live)))
            csvFailed = true;
        ++printed;
    });
    QObject::connect(&link.portKeeper(), &PortKeeper::deviceLost, &link, [&] {
        lost = true;
        printMonitorEvent(console, options.json, "lost",
                          QStringLiteral("controller lost: %1 disappeared; waiting for it to return")
                              .arg(link.portLabel()),
                          link.portLabel());
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
    link.waitUntil([&] { return (options.count > 0 && printed >= options.count) || silent() || csvFailed; }, -1);
    poll.stop();

    if (csvFailed)
        return csv->failed();
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
