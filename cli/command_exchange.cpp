#include "cli/commands.h"

#include "config/config_file.h"
#include "protocol/read_all.h"
#include "protocol/send_all.h"

#include <QFileInfo>

#include <algorithm>

namespace vandorelle::cli {

namespace {

int percent(qint64 part, qint64 whole)
{
    return whole > 0 ? int(std::clamp<qint64>(part * 100 / whole, 0, 100)) : 0;
}

// "3 records (Fehler Beschatt., Fehler Wind, ...)" with the texts as the window shows them.
QString listed(const QStringList &texts, const QString &what)
{
    QStringList distinct = texts;
    distinct.removeDuplicates();
    const int shownTexts = 5;
    QString list = distinct.mid(0, shownTexts).join(QStringLiteral(", "));
    if (distinct.size() > shownTexts)
        list += QStringLiteral(", ...");
    return QStringLiteral("%1 %2 (%3)").arg(texts.size()).arg(what, list);
}

} // namespace

Outcome loadConfiguration(const QString &path, ConfigStore &store)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Outcome::failure(ExitCode::FileError, QStringLiteral("%1: no such file").arg(path));
    if (!info.isFile())
        return Outcome::failure(ExitCode::FileError, QStringLiteral("%1: not a file").arg(path));
    const LoadResult result = loadConfigFile(path, store);
    if (result.ok)
        return Outcome::success();
    if (result.status == LoadResult::Status::Unreadable)
        return Outcome::failure(ExitCode::FileError, QStringLiteral("%1: cannot be read").arg(path));
    const QString where = result.line > 0 ? QStringLiteral("%1:%2").arg(path).arg(result.line) : path;
    return Outcome::failure(ExitCode::FileError, where + QStringLiteral(": ") + result.message);
}

Outcome checkTargetDirectory(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return Outcome::failure(ExitCode::FileError, QStringLiteral("%1 is a directory").arg(path));
    const QFileInfo dir(info.absolutePath());
    if (!dir.isDir())
        return Outcome::failure(ExitCode::FileError, QStringLiteral("cannot write %1: the folder %2 does not exist")
                                                         .arg(path, info.absolutePath()));
    return Outcome::success();
}

Outcome connectForFile(const QString &file, ControllerLink &link)
{
    // The target folder is checked before the line is touched: a typo costs no exchange.
    if (Outcome target = checkTargetDirectory(file); !target.ok())
        return target;
    if (Outcome opened = link.open(); !opened.ok())
        return opened;
    return link.connectController({.firmware = true});
}

Outcome readController(ControllerLink &link, Console &console)
{
    ReadAllExchange exchange(link.session);
    exchange.setTimeoutInterval(link.timeoutMs());
    int maximum = 0;
    bool finished = false;
    bool completed = false;
    QObject::connect(&exchange, &ReadAllExchange::started, [&](int m) { maximum = m; });
    QObject::connect(&exchange, &ReadAllExchange::progress, [&](int received) {
        console.progress(QStringLiteral("Reading from the controller: %1%").arg(percent(received, maximum)));
    });
    QObject::connect(&exchange, &ReadAllExchange::finished, [&](bool c, const QString &) {
        finished = true;
        completed = c;
    });

    if (!exchange.start())
        return Outcome::failure(ExitCode::NoController, QStringLiteral("the read could not start"));
    link.waitUntil([&] { return finished; }, -1);
    console.endProgress();
    if (link.interrupted())
        return ControllerLink::interruptedOutcome();
    if (completed)
        return Outcome::success();
    if (link.lineLost())
        return link.lineLostOutcome(ExitCode::Silence);
    if (!exchange.missing().isEmpty() && exchange.retryRounds() >= ReadAllExchange::kRetryRounds)
        return Outcome::failure(ExitCode::Silence,
                                QStringLiteral("records still failed their check after %1 repeated requests; "
                                               "missing: %2")
                                    .arg(exchange.retryRounds())
                                    .arg(exchange.missing().join(QStringLiteral(", "))));
    return Outcome::failure(ExitCode::Silence,
                            QStringLiteral("the controller stopped answering before the end of the switching "
                                           "times (silent for %1)")
                                .arg(link.timeoutText()));
}

Outcome runRead(const Options &options, ControllerLink &link, Console &console)
{
    if (Outcome ready = connectForFile(options.file, link); !ready.ok())
        return ready;
    // A backup with records missing must not replace a good one.
    if (Outcome read = readController(link, console); !read.ok()) {
        if (read.code != ExitCode::Interrupted)
            read.message += QStringLiteral("; %1 was not written").arg(options.file);
        return read;
    }
    const QString error = saveConfigFile(options.file, link.store);
    if (!error.isEmpty())
        return Outcome::failure(ExitCode::FileError, QStringLiteral("cannot write %1: %2").arg(options.file, error));
    return Outcome::success();
}

Outcome runWrite(const Options &options, ControllerLink &link, Console &console)
{
    // A damaged file is found before anything reaches the controller.
    if (Outcome loaded = loadConfiguration(options.file, link.store); !loaded.ok())
        return loaded;
    if (Outcome opened = link.open(); !opened.ok())
        return opened;
    if (Outcome connected = link.connectController({.firmware = true, .date = true}); !connected.ok())
        return connected;

    SendAllExchange exchange(link.session);
    exchange.setTimeoutInterval(link.timeoutMs());
    int maximum = 0;
    QString caption;
    bool finished = false;
    bool completed = false;
    QObject::connect(&exchange, &SendAllExchange::started, [&](int m) { maximum = m; });
    QObject::connect(&exchange, &SendAllExchange::batchStarted, [&](const QString &c) { caption = c.trimmed(); });
    QObject::connect(&exchange, &SendAllExchange::progress, [&](int sent) {
        console.progress(QStringLiteral("Sending to the controller: %1% %2").arg(percent(sent, maximum)).arg(caption));
    });
    QObject::connect(&exchange, &SendAllExchange::finished, [&](bool c, const QString &) {
        finished = true;
        completed = c;
    });

    switch (exchange.start()) {
    case SendAllExchange::StartResult::Started:
        break;
    case SendAllExchange::StartResult::ClockNotSet:
        return Outcome::failure(ExitCode::Refused,
                                QStringLiteral("write refused: the controller's date reads 01.01.00, its clock "
                                               "has not yet been set by the radio time signal; try again later"));
    case SendAllExchange::StartResult::NoConnection:
    case SendAllExchange::StartResult::Busy:
        return Outcome::failure(ExitCode::NoController, QStringLiteral("the send could not start"));
    }
    link.waitUntil([&] { return finished; }, -1);
    console.endProgress();
    if (link.interrupted())
        return ControllerLink::interruptedOutcome();

    const QStringList refused = exchange.refusedBatches();
    if (!completed && refused.isEmpty()) {
        const QString cut = link.lineLost() ? link.lineLostOutcome(ExitCode::Silence).message
                                            : QStringLiteral("the controller stopped acknowledging (silent for %1)")
                                                  .arg(link.timeoutText());
        return Outcome::failure(ExitCode::Silence,
                                cut + QStringLiteral("; the send is incomplete and the controller's switching "
                                                     "times were already deleted: send again"));
    }
    if (!refused.isEmpty())
        return Outcome::failure(ExitCode::Silence,
                                QStringLiteral("the send reached its end, but the controller refused %1: send again")
                                    .arg(listed(refused, QStringLiteral("batches"))));
    return Outcome::success();
}

} // namespace vandorelle::cli
