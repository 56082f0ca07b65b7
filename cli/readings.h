#pragma once

#include "protocol/device_family.h"
#include "protocol/live_values.h"
#include "protocol/status_model.h"

#include <QString>
#include <QStringList>
#include <QTime>

namespace vandorelle::cli {

// The answer to one poll as "Label: value" lines (info).
QStringList infoLines(const StatusModel &status, const LiveValues &live, const DeviceFlags &flags,
                      bool modelKnown);

// One line of sensor values, prefixed with the local time (monitor).
QString sensorLine(const QTime &when, const LiveValues &live);

} // namespace vandorelle::cli
