#include "cli/commands.h"
#include "cli/json_output.h"

#include "link/port_list.h"
#include "link/serial_devices.h"

namespace vandorelle::cli {

namespace {

const QString kNone = QStringLiteral("-");

QString orNone(const QString &text) { return text.isEmpty() ? kNone : text; }

QJsonValue textOrNull(const QString &text) { return text.isEmpty() ? QJsonValue() : QJsonValue(text); }

QJsonObject portObject(const PortEntry &entry)
{
    return {{"label", entry.label},
            {"path", entry.path},
            {"byId", textOrNull(entry.byIdPath)},
            {"description", textOrNull(entry.description)},
            {"com", entry.choice.isDevice() ? QJsonValue() : QJsonValue(entry.choice.portNum)}};
}

} // namespace

Outcome runPorts(const Options &options, Console &console)
{
    const QList<PortEntry> entries = portEntries(serialDevices());
    if (options.json) {
        QJsonArray array;
        for (const PortEntry &entry : entries)
            array.append(portObject(entry));
        printJson(console, array);
        return Outcome::success();
    }
    for (const PortEntry &entry : entries)
        console.out(QStringList{entry.path, orNone(entry.byIdPath), orNone(entry.description)}.join(u'\t'));
    return Outcome::success();
}

} // namespace vandorelle::cli
