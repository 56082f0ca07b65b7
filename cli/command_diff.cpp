#include "cli/commands.h"
#include "cli/diff_view.h"
#include "cli/json_output.h"

#include "config/config_compare.h"

#include <QJsonArray>

namespace vandorelle::cli {

namespace {

// The controller's configuration over a copy of `base`: what its family does not report
// stays as in the file and does not count as a difference.
Outcome readFromController(ControllerLink &link, Console &console, const ConfigStore &base)
{
    if (Outcome opened = link.open(); !opened.ok())
        return opened;
    if (Outcome connected = link.connectController({.firmware = true}); !connected.ok())
        return connected;
    link.store = base;
    return readController(link, console);
}

} // namespace

Outcome runDiff(const Options &options, ControllerLink &link, Console &console)
{
    ConfigStore before;
    if (Outcome loaded = loadConfiguration(options.file, before); !loaded.ok())
        return loaded;
    ConfigStore fileAfter;
    const ConfigStore *after = &fileAfter;
    bool tastFunk = false;
    if (options.fromController) {
        if (Outcome read = readFromController(link, console, before); !read.ok())
            return read;
        after = &link.store;
        tastFunk = link.session.flags.TastFunk;
    } else if (Outcome loaded = loadConfiguration(options.secondFile, fileAfter); !loaded.ok()) {
        return loaded;
    }

    const std::vector<SettingChange> changes = compareConfigurations(before, *after, tastFunk);
    if (options.json) {
        QJsonArray list;
        for (const SettingChange &c : changes)
            list.append(changeJson(c));
        printJson(console, list);
    } else {
        for (const SettingChange &c : changes)
            for (const QString &line : changeLines(c))
                console.out(line);
    }
    return changes.empty() ? Outcome::success() : Outcome{ExitCode::Different, {}};
}

} // namespace vandorelle::cli
