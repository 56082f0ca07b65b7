#include "bridge/bridge_config.h"
#include "bridge/log.h"
#include "bridge/mqtt_client.h"
#include "bridge/service.h"
#include "link/port_list.h"
#include "link/signal_events.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace vandorelle;
using namespace vandorelle::bridge;

namespace {

void printText(const QString &text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

// The port of the options, else the one the window last used; its text gives the default id.
bool choosePort(const BridgeConfig &config, PortChoice &choice, QString &portText, QString &label, QString &error)
{
    if (!vandorelle::choosePort(config.port, choice, error))
        return false;
    portText = !config.port.isEmpty() ? config.port
             : choice.isDevice()      ? choice.devicePath
                                      : QStringLiteral("COM%1").arg(choice.portNum);
    label = portMessageLabel(choice);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vandorelle-bridge"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANDORELLE_VERSION));

    BridgeConfig config;
    QString message;
    switch (readConfiguration(QCoreApplication::arguments(), config, message)) {
    case ConfigResult::Help: printText(message); return 0;
    case ConfigResult::Version: printText(QStringLiteral("vandorelle-bridge " VANDORELLE_VERSION)); return 0;
    case ConfigResult::Error:
        logError(message);
        logError(QStringLiteral("see vandorelle-bridge --help"));
        return ExitUsage;
    case ConfigResult::Run: break;
    }
    setVerboseLog(config.verbose);

    PortChoice port;
    QString portText, portLabel;
    if (!choosePort(config, port, portText, portLabel, message)) {
        logError(QStringLiteral("port: %1").arg(message));
        return ExitUsage;
    }
    resolveNames(config, portText);
    QString password;
    if (!config.passwordFile.isEmpty() && !readPasswordFile(config.passwordFile, password, message)) {
        logError(message);
        return ExitUsage;
    }

    MqttLibrary library;
    MqttClient mqtt({.host = config.brokerHost,
                     .port = config.effectiveBrokerPort(),
                     .clientId = QStringLiteral("vandorelle-bridge-") + config.id,
                     .user = config.user,
                     .password = password,
                     .caFile = config.caFile,
                     .certFile = config.certFile,
                     .keyFile = config.keyFile,
                     .willTopic = config.prefix + QStringLiteral("/status"),
                     .willPayload = "offline"});
    BridgeService service(config, port, portLabel, mqtt);
    // SIGUSR1 releases the port, SIGUSR2 takes it back; the others end the service.
    SignalEvents signalEvents;
    signalEvents.install({SIGTERM, SIGINT, SIGHUP, SIGUSR1, SIGUSR2});
    // A broker that goes away mid-write must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    QObject::connect(&signalEvents, &SignalEvents::received, &service, [&service](int signo) {
        const QString name = QString::fromLatin1(sigabbrev_np(signo)).prepend(QStringLiteral("SIG"));
        if (signo == SIGUSR1)
            service.pause(name);
        else if (signo == SIGUSR2)
            service.resume(name);
        else
            service.shutDown(ExitStopped, name);
    });
    int exitCode = ExitStopped;
    bool cleanly = true;
    QObject::connect(&service, &BridgeService::finished, &app, [&](int code, bool clean) {
        exitCode = code;
        cleanly = clean;
        QCoreApplication::exit(code);
    });

    logNotice(QStringLiteral("version " VANDORELLE_VERSION ": controller on %1, broker %2%3, topics under %4")
                  .arg(portLabel, config.brokerLabel(), config.tls() ? QStringLiteral(" (TLS)") : QString(),
                       config.prefix));
    if (!mqtt.start(message)) {
        logError(message);
        return ExitUsage;
    }
    service.start();
    QCoreApplication::exec();
    if (!cleanly) {
        // The broker thread hangs in a connection attempt: no destructor may pull its client away.
        std::fflush(nullptr);
        ::_exit(exitCode);
    }
    return exitCode;
}
