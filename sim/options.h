#pragma once

#include "sim/controller.h"
#include "sim/line_writer.h"

#include <QString>
#include <QStringList>

namespace vandorelle::sim {

struct SimOptions {
    ControllerSettings controller;
    TransportFaults transport;
    int baud = 9600;
    QString statePath;
    QString linkPath;
    bool verbose = false;
};

enum class OptionsOutcome { Run, ShowHelp, ShowVersion, Error };

// args as from QCoreApplication::arguments(), program name first. On ShowHelp and
// ShowVersion `message` holds the text to print, on Error the reason.
OptionsOutcome parseOptions(const QStringList &args, SimOptions &options, QString &message);

} // namespace vandorelle::sim
