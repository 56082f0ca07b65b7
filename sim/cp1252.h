#pragma once

#include <QByteArray>
#include <QString>

namespace vandorelle::sim {

// The line carries Windows-1252; the emulator keeps its own small converter so that
// it checks the tool's text handling instead of sharing it.
QString fromCp1252(const QByteArray &bytes);
// Characters that Windows-1252 cannot carry become '?'.
QByteArray toCp1252(const QString &text);

} // namespace vandorelle::sim
