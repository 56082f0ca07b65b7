#include "config/config_file.h"

#include <QFile>
#include <QSaveFile>

namespace vandorelle {

QString saveConfigFile(const QString &path, const ConfigStore &store)
{
    // Written beside the target and renamed over it only when complete: a failed save must
    // not destroy the user's previous backup.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QByteArray bytes = writeConfigFile(store);
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return {};
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
