#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace vandorelle::bridge {

enum ExitCode : int {
    ExitStopped = 0,         // ended by a signal, cleanly
    ExitUsage = 2,           // options, configuration file, password file
    ExitBrokerRefused = 3,   // user name, password or client id not accepted
    ExitTlsRefused = 4,      // the broker's certificate, or ours, not accepted
    ExitFirmwareRefused = 5, // a controller older than V7.000
};

// The device classes a cover may have in home automation.
const QStringList &coverClasses();

struct BridgeConfig {
    QString port;            // as given; empty: the port the window's settings file records
    QString brokerHost = QStringLiteral("localhost");
    int brokerPort = 0;      // 0: 1883, or 8883 with TLS
    QString id;              // empty until resolved: derived from the port
    QString prefix;          // empty until resolved: vandorelle/<id>
    QString user;
    QString passwordFile;
    QString caFile;          // TLS when set
    QString certFile;
    QString keyFile;
    QString discoveryPrefix = QStringLiteral("homeassistant");
    bool discovery = true;
    bool verbose = false;
    int manualTimeoutS = 120; // manual control is left after this long without a command
    QString coverClass = QStringLiteral("shutter");
    QMap<int, QString> motorCoverClasses;

    bool tls() const { return !caFile.isEmpty(); }
    int effectiveBrokerPort() const { return brokerPort > 0 ? brokerPort : tls() ? 8883 : 1883; }
    QString brokerLabel() const;
    QString coverClassOf(int motor) const { return motorCoverClasses.value(motor, coverClass); }
};

enum class ConfigResult { Run, Help, Version, Error };

// Options over the configuration file (--config), both with the same keys; then the defaults
// that depend on others (id, prefix). args as from QCoreApplication::arguments(). On Help the
// help text is in message, on Error the reason (one line, naming the file where it was).
// The port is not looked up here: an empty port stays empty.
ConfigResult readConfiguration(const QStringList &args, BridgeConfig &config, QString &message);

// The id a port gives when none is configured: "/dev/ttyUSB0" gives "ttyusb0", "COM1" "com1".
QString idForPort(const QString &portText);
// Fills id and prefix from the port where they are not set.
void resolveNames(BridgeConfig &config, const QString &portText);

// The first line of the file, without its line end. False with the reason when the file
// cannot be read or holds no password.
bool readPasswordFile(const QString &path, QString &password, QString &error);

} // namespace vandorelle::bridge
