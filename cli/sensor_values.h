#pragma once

#include "protocol/live_values.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

namespace vandorelle::cli {

// One sensor value of an answer, under its key in the JSON output and the CSV header.
struct SensorValue {
    const char *key;
    bool flag;                   // rain and alarm: yes or no
    std::optional<double> value; // none where the controller has no such sensor
};

// Brightness, mean brightness, inside and outside temperature with their minimum and
// maximum, wind, maximum wind, the wind figure, humidity, rain, alarm.
std::vector<SensorValue> sensorValues(const LiveValues &answer);

QJsonObject sensorJson(const LiveValues &answer);

// Spreadsheet lines: semicolons, decimal comma, empty fields for absent sensors, 1 and 0
// for rain and alarm; the ISO time stamp first.
QString sensorCsvHeader();
QString sensorCsvLine(const QDateTime &when, const LiveValues &answer);

// The local time with its offset from UTC, to the second.
QString isoTimeStamp(const QDateTime &when);

} // namespace vandorelle::cli
