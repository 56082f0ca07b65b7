#include "cli/commands.h"

#include "protocol/logbook_exchange.h"
#include "protocol/read_all.h"

namespace vandorelle::cli {

using Operation = LogbookExchange::Operation;
using Result = LogbookExchange::Outcome;

Outcome runLogbook(const Options &options, ControllerLink &link, Console &console)
{
    if (Outcome ready = connectForFile(options.file, link); !ready.ok())
        return ready;

    LogbookExchange exchange(link.session);
    exchange.setSilenceTimeout(link.timeoutMs());
    int32_t total = 0;
    bool finished = false;
    Result result = Result::Completed;
    QString message;
    QObject::connect(&exchange, &LogbookExchange::totalChanged, [&](int32_t t) { total = t; });
    QObject::connect(&exchange, &LogbookExchange::exportProgress, [&](int32_t entry) {
        console.progress(QStringLiteral("Reading the logbook: entry %1 of %2").arg(entry).arg(total));
    });
    QObject::connect(&exchange, &LogbookExchange::finished,
                     [&](Operation, Result r, const QString &text) {
                         finished = true;
                         result = r;
                         message = text;
                     });

    exchange.startExport(options.file, options.fromStart);
    link.waitUntil([&] { return finished; }, -1);
    console.endProgress();
    if (link.interrupted())
        return ControllerLink::interruptedOutcome(); // the export's file is discarded with it

    QStringList rejected = link.takeErrors();
    rejected.removeAll(kZeitueberschreitung);
    rejected.removeAll(kVerbindungUnterbrochen);
    // The receive side and the exchange both report a spoiled entry; each entry comes once.
    rejected.removeDuplicates();
    switch (result) {
    case Result::FileError:
        return Outcome::failure(ExitCode::FileError, message);
    case Result::LineLost:
        return Outcome::failure(ExitCode::Silence,
                                link.lineLostOutcome(ExitCode::Silence).message
                                    + QStringLiteral("; %1 holds the %2 lines that arrived")
                                          .arg(options.file)
                                          .arg(exchange.linesWritten()));
    case Result::TimedOut:
        return Outcome::failure(ExitCode::Silence,
                                QStringLiteral("the controller stopped sending the logbook (silent for %1); %2 "
                                               "holds the %3 lines that arrived")
                                    .arg(link.timeoutText(), options.file)
                                    .arg(exchange.linesWritten()));
    case Result::Completed:
        break;
    }
    if (!rejected.isEmpty())
        return Outcome::failure(ExitCode::Silence,
                                QStringLiteral("%1 logbook entries failed their check and are missing from %2 (%3)")
                                    .arg(rejected.size())
                                    .arg(options.file, rejected.mid(0, 5).join(QStringLiteral(", "))));
    return Outcome::success();
}

Outcome runLogbookClear(const Options &, ControllerLink &link, Console &console)
{
    if (Outcome opened = link.open(); !opened.ok())
        return opened;
    if (Outcome connected = link.connectController({.firmware = true}); !connected.ok())
        return connected;

    link.session.send(QStringLiteral("sll"));
    // The controller does not acknowledge "sll"; an answer to a poll behind it shows that the
    // request has left the port and the controller is still listening.
    const int before = link.framesReceived(QStringLiteral("smo"));
    console.progress(QStringLiteral("Deleting the logbook ..."));
    link.sendPoll();
    const bool answered =
        link.waitUntil([&] { return link.framesReceived(QStringLiteral("smo")) > before; }, link.timeoutMs());
    console.endProgress();
    if (link.interrupted())
        return ControllerLink::interruptedOutcome();
    if (link.lineLost())
        return link.lineLostOutcome(ExitCode::Silence);
    if (!answered)
        return Outcome::failure(ExitCode::Silence,
                                QStringLiteral("the controller fell silent after the delete request (silent for %1); "
                                               "the logbook may not have been deleted")
                                    .arg(link.timeoutText()));
    return Outcome::success();
}

} // namespace vandorelle::cli
