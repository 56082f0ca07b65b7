#include "link/port_list.h"

#include "link/serial_port.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace vandorelle {

QString comLabel(int portNum) { return QStringLiteral("COM %1").arg(portNum); }

QString absentDeviceLabel(const QString &path)
{
    return QStringLiteral("%1 (nicht angeschlossen)").arg(QFileInfo(path).fileName());
}

QList<PortEntry> portEntries(const SerialDeviceList &devices)
{
    QList<PortEntry> entries;
    for (int n = 1; n <= kComPorts; ++n)
        entries.append({comLabel(n), {n, QString()}, deviceForPort(n), QString(), comLabel(n)});
    for (const SerialDevice &d : devices)
        entries.append({d.label(), {1, d.stablePath()}, d.path, d.byIdPath, d.description});
    return entries;
}

bool resolvePortName(const QString &text, const std::function<SerialDeviceList()> &devices, PortChoice &choice,
                     QString &error)
{
    static const QRegularExpression comName(QStringLiteral("^COM\\s*(\\d+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString name = text.trimmed();
    if (name.isEmpty()) {
        error = QStringLiteral("--port needs a device path, a device name or COM1 .. COM8");
        return false;
    }
    if (const QRegularExpressionMatch m = comName.match(name); m.hasMatch()) {
        bool ok = false;
        const int n = m.captured(1).toInt(&ok);
        if (!ok || n < 1 || n > kComPorts) {
            error = QStringLiteral("--port %1: only COM1 .. COM8 exist; give a device path or name for others")
                        .arg(text);
            return false;
        }
        choice = {n, QString()};
        return true;
    }
    if (name.startsWith(u'/')) {
        choice = {1, name};
        return true;
    }
    // Exact names first; a description may be shared by two identical adapters.
    const auto namesOf = [](const SerialDevice &d) {
        return QStringList{d.path, d.byIdPath, QFileInfo(d.byIdPath).fileName(), d.kernelName(), d.label()};
    };
    QList<const SerialDevice *> described;
    const SerialDeviceList present = devices();
    for (const SerialDevice &d : present) {
        if (namesOf(d).contains(name)) {
            choice = {1, d.stablePath()};
            return true;
        }
        if (!d.description.isEmpty() && d.description == name)
            described.append(&d);
    }
    if (described.size() == 1) {
        choice = {1, described.first()->stablePath()};
        return true;
    }
    if (described.size() > 1) {
        error = QStringLiteral("--port \"%1\": %2 devices have this description; give the path or by-id name "
                               "(see vandorelle-cli ports)")
                    .arg(text)
                    .arg(described.size());
        return false;
    }
    if (name.contains(u'/')) {
        choice = {1, name};
        return true;
    }
    error = QStringLiteral("--port %1: no serial device of that name (see vandorelle-cli ports)").arg(text);
    return false;
}

bool choosePort(const QString &text, PortChoice &choice, QString &error)
{
    if (!text.isEmpty())
        return resolvePortName(text, serialDevices, choice, error);
    choice = readSettings(QDir::currentPath());
    return true;
}

QString portMessageLabel(const PortChoice &choice)
{
    return choice.isDevice() ? choice.devicePath
                             : QStringLiteral("COM%1 (%2)").arg(choice.portNum).arg(deviceForPort(choice.portNum));
}

} // namespace vandorelle
