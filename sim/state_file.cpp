#include "sim/state_file.h"

#include "config/config_file.h"

namespace vandorelle::sim {

bool loadStateFile(const QString &path, ConfigStore &store, QString *error)
{
    ConfigStore loaded;
    const LoadResult result = loadConfigFile(path, loaded);
    if (!result.ok) {
        if (error) {
            *error = result.line > 0 ? QStringLiteral("%1, line %2: %3").arg(path).arg(result.line).arg(result.message)
                                     : QStringLiteral("%1: %2").arg(path, result.message);
        }
        return false;
    }
    store = loaded;
    return true;
}

} // namespace vandorelle::sim
