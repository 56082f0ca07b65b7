#pragma once

#include "cli/console.h"
#include "cli/controller_link.h"
#include "cli/options.h"
#include "cli/outcome.h"

namespace vandorelle::cli {

Outcome runInfo(const Options &options, ControllerLink &link, Console &console);
Outcome runMonitor(const Options &options, ControllerLink &link, Console &console);
Outcome runRead(const Options &options, ControllerLink &link, Console &console);
Outcome runWrite(const Options &options, ControllerLink &link, Console &console);
Outcome runLogbook(const Options &options, ControllerLink &link, Console &console);
Outcome runLogbookClear(const Options &options, ControllerLink &link, Console &console);
Outcome runDrive(const Options &options, ControllerLink &link, Console &console);
// Offline unless --controller.
Outcome runDiff(const Options &options, ControllerLink &link, Console &console);
// Offline: needs no port.
Outcome runShow(const Options &options, Console &console);
Outcome runPorts(const Options &options, Console &console);

// Loads a configuration file into the store as the window's load does; exit 6 with the
// file name and, where the loader knows it, the line.
Outcome loadConfiguration(const QString &path, ConfigStore &store);

// A file that cannot be created is found before the controller is asked for anything.
Outcome checkTargetDirectory(const QString &path);
// The whole configuration into link.store, as "Steuerung --> PC" reads it; the port open and
// the controller connected. Exit 4 when it stopped short of its end.
Outcome readController(ControllerLink &link, Console &console);

// Checks the folder of the file to be written, opens the port and waits for a controller with
// acceptable firmware.
Outcome connectForFile(const QString &file, ControllerLink &link);

} // namespace vandorelle::cli
