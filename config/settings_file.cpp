#include "config/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace vandorelle {

namespace {
constexpr qint64 kMaxLine = 4096; // longer than any device path
}

QString settingsFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("vandorelle"));
}

QString settingsFilePath(const QString &workingDir)
{
    const QString local = QDir(workingDir).filePath(kSettingsFileName);
    if (QFileInfo::exists(local))
        return local;
    return QDir(settingsFolder()).filePath(kSettingsFileName);
}

PortChoice readSettings(const QString &workingDir)
{
    QFile f(settingsFilePath(workingDir));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = f.readLine(kMaxLine).trimmed();
    if (line.startsWith('/'))
        return {1, QFile::decodeName(line)};
    bool ok = false;
    const int n = line.toInt(&ok);
    return {ok && n >= 1 && n <= 8 ? n : 1, QString()};
}

bool writeSettings(const QString &workingDir, const PortChoice &choice)
{
    const QString path = settingsFilePath(workingDir);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write((choice.isDevice() ? QFile::encodeName(choice.devicePath) : QByteArray::number(choice.portNum))
            + "\r\n");
    return f.commit();
}

} // namespace vandorelle
