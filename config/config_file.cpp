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
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return notFound;
    // Read in large blocks: a line costs no system call and no allocation of its own.
    constexpr qint64 kBlockSize = 64 * 1024;
    QByteArray block(kBlockSize, Qt::Uninitialized);
    ConfigFileReader reader(store, onSection);
    for (;;) {
        const qint64 n = file.read(block.data(), kBlockSize);
        if (n < 0)
            return notFound;
        if (n == 0 || !reader.feed(QByteArrayView(block.constData(), n)))
            break;
    }
    return reader.finish();
}

} // namespace vandorelle
