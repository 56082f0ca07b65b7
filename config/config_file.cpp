#include "config/config_file.h"

#include "config/atomic_file.h"

#include <QFile>

namespace vandorelle {

QString saveConfigFile(const QString &path, const ConfigStore &store)
{
    // A failed save must not destroy the user's previous backup.
    return writeFileAtomically(path, writeConfigFile(store));
}

LoadResult loadConfigFile(const QString &path, ConfigStore &store, const SectionCallback &onSection)
{
    LoadResult notFound;
    notFound.ok = false;
    notFound.status = LoadResult::Status::Unreadable;
    notFound.message = QStringLiteral("File not found");

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return notFound;

    ConfigFileReader reader(store, onSection);
    bool dropping = false; // inside the rest of an over-long line, which is not a setting
    while (!file.atEnd()) {
        QByteArray chunk = file.readLine(64 * 1024);
        if (file.error() != QFileDevice::NoError)
            return notFound;
        const bool complete = chunk.endsWith('\n');
        if (!dropping) {
            if (complete) {
                chunk.chop(1);
                if (chunk.endsWith('\r'))
                    chunk.chop(1);
            }
            if (!reader.feedLine(chunk))
                break;
        }
        dropping = !complete;
    }
    if (file.error() != QFileDevice::NoError)
        return notFound;
    return reader.finish();
}

} // namespace vandorelle
