#include "link/serial_devices.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>
#include <tuple>

namespace vandorelle {

namespace {

std::function<SerialDeviceList()> &deviceSource()
{
    static std::function<SerialDeviceList()> source;
    return source;
}

// Maker and model as udev reports them; the model often repeats the maker.
QString describe(const QSerialPortInfo &info)
{
    const QString maker = info.manufacturer().trimmed();
    const QString model = info.description().trimmed();
    if (maker.isEmpty() || model.startsWith(maker, Qt::CaseInsensitive))
        return model;
    if (model.isEmpty())
        return maker;
    return maker + u' ' + model;
}

SerialDeviceList systemDevices()
{
    SerialDeviceList devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString path = info.systemLocation();
        devices.append({path, byIdPathFor(path), describe(info)});
    }
    return devices;
}

// "ttyUSB10" -> ("ttyUSB", 10): numbers in node names compare as numbers.
std::tuple<QString, qulonglong, QString> orderKey(const SerialDevice &device)
{
    static const QRegularExpression trailingNumber(QStringLiteral("^(.*?)(\\d+)$"));
    const QString name = device.kernelName();
    const QRegularExpressionMatch m = trailingNumber.match(name);
    if (!m.hasMatch())
        return {name, 0, device.path};
    return {m.captured(1), m.captured(2).toULongLong(), device.path};
}

} // namespace

QString SerialDevice::kernelName() const { return QFileInfo(path).fileName(); }

QString SerialDevice::stablePath() const { return byIdPath.isEmpty() ? path : byIdPath; }

QString SerialDevice::label() const
{
    return description.isEmpty() ? kernelName() : QStringLiteral("%1 (%2)").arg(description, kernelName());
}

SerialDeviceList serialDevices()
{
    SerialDeviceList devices = deviceSource() ? deviceSource()() : systemDevices();
    sortSerialDevices(devices);
    return devices;
}

void setSerialDeviceSource(std::function<SerialDeviceList()> source) { deviceSource() = std::move(source); }

void sortSerialDevices(SerialDeviceList &devices)
{
    std::stable_sort(devices.begin(), devices.end(),
                     [](const SerialDevice &a, const SerialDevice &b) { return orderKey(a) < orderKey(b); });
}

QString byIdPathFor(const QString &path, const QString &byIdFolder)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return {};
    const QFileInfoList links = QDir(byIdFolder).entryInfoList(QDir::System | QDir::Files, QDir::Name);
    for (const QFileInfo &link : links) {
        if (link.canonicalFilePath() == target)
            return link.absoluteFilePath();
    }
    return {};
}

} // namespace vandorelle
