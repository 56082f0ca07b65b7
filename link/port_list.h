#pragma once

#include "config/settings_file.h"
#include "link/serial_devices.h"

#include <QList>
#include <QString>

#include <functional>

namespace vandorelle {

// One line of the port selector and of `vandorelle-cli ports`.
struct PortEntry {
    QString label;       // "COM 1", "FTDI FT232R USB UART (ttyUSB0)"
    PortChoice choice;   // what choosing it opens
    QString path;        // the device node
    QString byIdPath;    // may be empty
    QString description; // maker and model; "COM n" for the numbered ports
};

constexpr int kComPorts = 8;

// "COM 1" .. "COM 8", then the devices present in their stable order.
QList<PortEntry> portEntries(const SerialDeviceList &devices);
QString comLabel(int portNum);
// The selector's text for a chosen device that is not present now.
QString absentDeviceLabel(const QString &path);

// A --port argument: "COM3", a device path, its by-id name (with or without the folder),
// its node name (ttyUSB0) or its label or description when only one device has it.
// devices() is asked only for a name that is no COM name and no absolute path.
// False with a one-line reason when the text names nothing.
bool resolvePortName(const QString &text, const std::function<SerialDeviceList()> &devices, PortChoice &choice,
                     QString &error);
// The port a --port text names, or, without one, the port the settings file records (the
// window's last choice). False with resolvePortName's reason.
bool choosePort(const QString &text, PortChoice &choice, QString &error);
// A port in messages and log lines: its device path, or "COM1 (/dev/ttyS0)".
QString portMessageLabel(const PortChoice &choice);

} // namespace vandorelle
