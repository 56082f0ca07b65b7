#include "config/settings_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vandorelle;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(SettingsFile, LivesInTheConfigurationFolderUnlessTheWorkingDirectoryHasOne)
{
    QTemporaryDir configHome, workingDir;
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    const QString inConfig = QDir(configHome.path()).filePath("vandorelle/Vandorelle.ini");
    const QString inWorkingDir = QDir(workingDir.path()).filePath("Vandorelle.ini");

    // Nothing anywhere: COM 1; the first write makes the folder and the file there.
    EXPECT_EQ(readSettings(workingDir.path()), PortChoice{});
    ASSERT_TRUE(writeSettings(workingDir.path(), {3, {}}));
    EXPECT_EQ(contents(inConfig), "3\r\n");
    EXPECT_FALSE(QFile::exists(inWorkingDir));
    EXPECT_EQ(readSettings(workingDir.path()), (PortChoice{3, {}}));

    // A device by its path, non-ASCII included, survives a round trip.
    const PortChoice adapter{1, QStringLiteral("/dev/serial/by-id/usb-Gerät_Ü-if00-port0")};
    ASSERT_TRUE(writeSettings(workingDir.path(), adapter));
    EXPECT_EQ(readSettings(workingDir.path()), adapter);

    // A file in the working directory wins, for reading and for writing.
    QFile local(inWorkingDir);
    ASSERT_TRUE(local.open(QIODevice::WriteOnly));
    local.write("6\r\n");
    local.close();
    EXPECT_EQ(readSettings(workingDir.path()), (PortChoice{6, {}}));
    ASSERT_TRUE(writeSettings(workingDir.path(), {2, {}}));
    EXPECT_EQ(contents(inWorkingDir), "2\r\n");
    EXPECT_EQ(readSettings(workingDir.path()), (PortChoice{2, {}}));
    EXPECT_EQ(readSettings(QDir(configHome.path()).filePath("elsewhere")), adapter);

    qputenv("XDG_CONFIG_HOME", previous);
}
