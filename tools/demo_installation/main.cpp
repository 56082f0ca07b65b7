// Writes the demo installation that scripts/run and the screenshots start the emulated
// controller with, through the tool's own configuration-file writer, so that it stays
// complete and valid whatever the reader accepts.

#include "config/config_file.h"
#include "sim/demo_installation.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 || args[1].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: vandorelle-demo-installation FILE.vsk\n"
                             "Writes the demo installation (eight named rooms, switching times,\n"
                             "automatic functions switched on) as a configuration file.\n");
        return 2;
    }
    const QString error = vandorelle::saveConfigFile(args[1], vandorelle::sim::demoInstallation());
    if (!error.isEmpty()) {
        std::fprintf(stderr, "vandorelle-demo-installation: %s: %s\n", qPrintable(args[1]), qPrintable(error));
        return 1;
    }
    return 0;
}
