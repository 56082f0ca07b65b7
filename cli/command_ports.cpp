#include "cli/commands.h"

#include "link/port_list.h"
#include "link/serial_devices.h"

namespace vandorelle::cli {

namespace {

const QString kNone = QStringLiteral("-");

QString orNone(const QString &text) { return text.isEmpty() ? kNone : text; }

} // namespace

// One tab-separated line per entry of portEntries(), which a JSON form can take as it is.
Outcome runPorts(const Options &, Console &console)
{
    for (const PortEntry &entry : portEntries(serialDevices()))
        console.out(QStringList{entry.path, orNone(entry.byIdPath), orNone(entry.description)}.join(u'\t'));
    return Outcome::success();
}

} // namespace vandorelle::cli
