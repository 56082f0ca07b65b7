#include "config/config_file.h"
#include "sim/demo_installation.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vandorelle;

// scripts/run and the screenshots start the emulator with this file; it must be exactly
// what the tool's writer makes of the demo installation, so that every reader takes it.
TEST(DemoInstallation, ShippedFileIsWhatTheWriterMakesAndReadsBackWhole)
{
    QFile file(QStringLiteral(VANDORELLE_SOURCE_DIR "/demo/Musterhaus.vsk"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
    const QByteArray shipped = file.readAll();
    EXPECT_TRUE(shipped == writeConfigFile(sim::demoInstallation()))
        << "demo/Musterhaus.vsk differs from the demo installation; write it anew with "
           "build/vandorelle-demo-installation demo/Musterhaus.vsk";

    ConfigStore loaded;
    const LoadResult result = loadConfigFile(file.fileName(), loaded);
    EXPECT_TRUE(result.ok) << qPrintable(result.message);
    EXPECT_EQ(result.status, LoadResult::Status::Loaded);
    EXPECT_TRUE(writeConfigFile(loaded) == shipped);
}
