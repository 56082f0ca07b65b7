#pragma once

#include "protocol/sensor_history.h"
#include "protocol/sensor_quantities.h"

#include <QByteArray>
#include <QTimeZone>

namespace vandorelle {

// The points of one quantity from `fromMonotonicMs` on, as German spreadsheet programs open
// them directly: UTF-8 with byte-order mark, a header line, semicolons, decimal comma,
// CR LF. Per series the mean, minimum and maximum (all three equal for a single reading);
// empty fields where the sensor was absent; rain and alarm as 1 or 0. Rows in the order of
// the readings, each with the wall time of its (first) reading as the clock said it then.
QByteArray sensorHistoryCsv(const SensorHistory &history, Quantity quantity, qint64 fromMonotonicMs,
                            const QTimeZone &zone = QTimeZone::systemTimeZone());

// A value with at most one decimal, decimal comma, no ",0": "21,5", "244", "-3,2".
QString germanDecimal(double value);

} // namespace vandorelle
