#pragma once

#include "protocol/sensor_values.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

namespace vandorelle::cli {

// Keyed as sensorValues() names them (the core's, shared with the bridge).
QJsonObject sensorJson(const LiveValues &answer);

// Spreadsheet lines: semicolons, decimal comma, empty fields for absent sensors, 1 and 0
// for rain and alarm; the ISO time stamp first.
QString sensorCsvHeader();
QString sensorCsvLine(const QDateTime &when, const LiveValues &answer);

// The local time with its offset from UTC, to the second.
QString isoTimeStamp(const QDateTime &when);

} // namespace vandorelle::cli
