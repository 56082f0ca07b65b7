#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace vandorelle {

// A serial device the system reports: a USB adapter or an on-board port.
struct SerialDevice {
    QString path;        // the device node, /dev/ttyUSB0
    QString byIdPath;    // its /dev/serial/by-id name, stable across replugging; may be empty
    QString description; // maker and model, "FTDI FT232R USB UART"; may be empty

    QString kernelName() const;  // ttyUSB0
    QString stablePath() const;  // the by-id name where there is one, else the node
    QString label() const;       // "FTDI FT232R USB UART (ttyUSB0)"
    bool operator==(const SerialDevice &) const = default;
};
using SerialDeviceList = QList<SerialDevice>;

// The devices present, ordered by their node names with numbers compared as numbers
// (ttyS2 before ttyS10), so the list does not change order with the plugging order.
SerialDeviceList serialDevices();
// Tests answer in place of the system; an empty function restores the system's answer.
void setSerialDeviceSource(std::function<SerialDeviceList()> source);

void sortSerialDevices(SerialDeviceList &devices);

inline const QString kByIdFolder = QStringLiteral("/dev/serial/by-id");
// The name in byIdFolder that leads to the same device as path, or empty.
QString byIdPathFor(const QString &path, const QString &byIdFolder = kByIdFolder);

} // namespace vandorelle
