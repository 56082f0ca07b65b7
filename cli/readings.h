#pragma once

#include "protocol/device_family.h"
#include "protocol/live_values.h"
#include "protocol/status_model.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTime>

namespace vandorelle::cli {

// The answer to one poll as "Label: value" lines (info).
QStringList infoLines(const StatusModel &status, const LiveValues &live, const DeviceFlags &flags,
                      bool modelKnown);

// The same as one JSON object; firmwareNumber is 0 until a firmware answer was read.
QJsonObject infoJson(const StatusModel &status, const LiveValues &live, const DeviceFlags &flags, bool modelKnown,
                     int firmwareNumber);

// One line of sensor values, prefixed with the local time (monitor).
QString sensorLine(const QTime &when, const LiveValues &live);

} // namespace vandorelle::cli
