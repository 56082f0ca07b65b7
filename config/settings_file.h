#pragma once

#include <QString>

namespace vandorelle {

inline const QString kSettingsFileName = QStringLiteral("Vandorelle.ini");

// The serial port a user chose: one of COM 1..8, or a device by its path.
struct PortChoice {
    int portNum = 1;    // 1..8; used when devicePath is empty
    QString devicePath; // stored by its /dev/serial/by-id name where it has one
    bool isDevice() const { return !devicePath.isEmpty(); }
    bool operator==(const PortChoice &) const = default;
};

// ~/.config/vandorelle (XDG_CONFIG_HOME honoured): the same folder for the window and the
// command line, whatever name their application objects carry.
QString settingsFolder();
// The settings file in use: Vandorelle.ini in workingDir when one is there (portable use,
// older installations), else the one in settingsFolder().
QString settingsFilePath(const QString &workingDir);

// The first line holds a port number 1..8 or a device path. COM 1 when the file is missing,
// empty, or holds anything else.
PortChoice readSettings(const QString &workingDir);
// Writes the choice as one line where settingsFilePath() points, creating the configuration
// folder when needed; false on a file error.
bool writeSettings(const QString &workingDir, const PortChoice &choice);

} // namespace vandorelle
