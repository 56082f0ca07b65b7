#include "sim/state_file.h"

#include "config/config_file.h"

namespace vandorelle::sim {

bool loadStateFile(const QString &path, ConfigStore &store, QString *error)
{
    const LoadResult result = loadConfigFile(path, store);
    // The message names its line already.
    if (!result.ok && error)
        *error = QStringLiteral("%1: %2").arg(path, result.message);
    return result.ok;
}

} // namespace vandorelle::sim
