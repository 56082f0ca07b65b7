#pragma once

#include "cli/console.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <optional>

namespace vandorelle::cli {

// A number, or null where there is none (a sensor the controller does not have).
QJsonValue numberOrNull(std::optional<double> value);

// One document on stdout, UTF-8: indented to be read, or on one line for a stream of
// objects (one per line).
enum class JsonLayout { Indented, OneLine };
void printJson(Console &console, const QJsonObject &object, JsonLayout layout = JsonLayout::Indented);
void printJson(Console &console, const QJsonArray &array);

} // namespace vandorelle::cli
