#pragma once

#include "config/store.h"

#include <QString>

namespace vandorelle::sim {

// Starts the controller with the configuration saved in a configuration file.
// False with a message when the file cannot be used; the store then stays as it was.
bool loadStateFile(const QString &path, ConfigStore &store, QString *error);

} // namespace vandorelle::sim
