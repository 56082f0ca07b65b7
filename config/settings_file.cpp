#include "config/settings_file.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace vandorelle {

int readSettingsPort(const QString &dir)
{
    QFile f(QDir(dir).filePath(kSettingsFileName));
    if (!f.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray line = f.readLine(64).trimmed();
    bool ok = false;
    const int n = line.toInt(&ok);
    return ok && n >= 1 && n <= 8 ? n : 1;
}

bool writeSettingsPort(const QString &dir, int portNum)
{
    QSaveFile f(QDir(dir).filePath(kSettingsFileName));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(QByteArray::number(portNum) + "\r\n");
    return f.commit();
}

} // namespace vandorelle
