#pragma once

#include <QString>

namespace vandorelle {

inline const QString kSettingsFileName = QStringLiteral("Vandorelle.ini");

// The port number 1..8 from the first line of the settings file in dir; 1 when the
// file is missing, empty, not a number or out of range.
int readSettingsPort(const QString &dir);
// Writes the port number as one line; false on a file error.
bool writeSettingsPort(const QString &dir, int portNum);

} // namespace vandorelle
