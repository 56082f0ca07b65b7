#include "bridge/bridge_config.h"

#include "bridge/mqtt_client.h"
#include "config/store.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

#include <vector>

namespace vandorelle::bridge {

namespace {

constexpr int kMaxManualTimeoutS = 24 * 3600;
constexpr int kMaxIdLength = 64;

using Apply = bool (*)(BridgeConfig &, const QString &value, QString &error);

// One setting: the same key in the configuration file and as an option.
struct Setting {
    const char *key;
    const char *valueName; // of the option; nullptr: the option is a switch (see switchName)
    const char *help;
    Apply apply;
    const char *switchName = nullptr; // the option of a yes/no setting
};

bool parseYesNo(const QString &value, bool &out, QString &error)
{
    static const QStringList yes{"true", "yes", "on", "1"};
    static const QStringList no{"false", "no", "off", "0"};
    const QString v = value.trimmed().toLower();
    if (yes.contains(v))
        out = true;
    else if (no.contains(v))
        out = false;
    else
        error = QStringLiteral("\"%1\" is neither true nor false").arg(value);
    return error.isEmpty();
}

bool validTopic(const QString &topic, QString &error)
{
    if (topic.isEmpty())
        error = QStringLiteral("a topic may not be empty");
    else if (topic.contains(u'+') || topic.contains(u'#'))
        error = QStringLiteral("\"%1\": a topic may not hold the wildcards + and #").arg(topic);
    else if (topic.startsWith(u'/') || topic.endsWith(u'/') || topic.contains(QStringLiteral("//")))
        error = QStringLiteral("\"%1\": no empty levels (a / at either end or two in a row)").arg(topic);
    else if (topic.contains(QChar(0)))
        error = QStringLiteral("a topic may not hold a NUL character");
    return error.isEmpty();
}

bool setText(QString &field, const QString &value)
{
    field = value.trimmed();
    return true;
}

bool setBroker(BridgeConfig &c, const QString &value, QString &error)
{
    const QString v = value.trimmed();
    QString host = v;
    QString port;
    if (v.startsWith(u'[')) { // [IPv6]:port
        const qsizetype close = v.indexOf(u']');
        if (close < 0) {
            error = QStringLiteral("\"%1\": a [ without its ]").arg(v);
            return false;
        }
        host = v.mid(1, close - 1);
        const QString rest = v.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(u':')) {
            error = QStringLiteral("\"%1\": HOST[:PORT] expected").arg(v);
            return false;
        }
        port = rest.mid(1);
        if (rest == QStringLiteral(":"))
            port = QStringLiteral("?");
    } else if (v.count(u':') == 1) {
        host = v.section(u':', 0, 0);
        port = v.section(u':', 1);
        if (port.isEmpty())
            port = QStringLiteral("?");
    }
    if (host.isEmpty()) {
        error = QStringLiteral("\"%1\": no host").arg(v);
        return false;
    }
    c.brokerHost = host;
    c.brokerPort = 0;
    if (!port.isEmpty()) {
        bool ok = false;
        const int number = port.toInt(&ok);
        if (!ok || number < 1 || number > 65535) {
            error = QStringLiteral("\"%1\": the port is a number from 1 to 65535").arg(v);
            return false;
        }
        c.brokerPort = number;
    }
    return true;
}

bool setId(BridgeConfig &c, const QString &value, QString &error)
{
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z0-9_-]+$"));
    const QString v = value.trimmed();
    if (!valid.match(v).hasMatch() || v.size() > kMaxIdLength) {
        error = QStringLiteral("\"%1\": up to %2 letters, digits, - and _").arg(v).arg(kMaxIdLength);
        return false;
    }
    c.id = v;
    return true;
}

bool setPrefix(QString &field, const QString &value, QString &error)
{
    const QString v = value.trimmed();
    if (!validTopic(v, error))
        return false;
    field = v;
    return true;
}

bool setManualTimeout(BridgeConfig &c, const QString &value, QString &error)
{
    bool ok = false;
    const int seconds = value.trimmed().toInt(&ok);
    if (!ok || seconds < 1 || seconds > kMaxManualTimeoutS) {
        error = QStringLiteral("\"%1\": seconds from 1 to %2").arg(value.trimmed()).arg(kMaxManualTimeoutS);
        return false;
    }
    c.manualTimeoutS = seconds;
    return true;
}

// "shutter" for every motor, "3=awning" for one; several separated by commas.
bool setCoverClass(BridgeConfig &c, const QString &value, QString &error)
{
    for (const QString &item : value.split(u',', Qt::SkipEmptyParts)) {
        const QString text = item.trimmed();
        const qsizetype equals = text.indexOf(u'=');
        const QString cls = (equals < 0 ? text : text.mid(equals + 1)).trimmed().toLower();
        if (!coverClasses().contains(cls)) {
            error = QStringLiteral("\"%1\": the class is one of %2").arg(text, coverClasses().join(QStringLiteral(", ")));
            return false;
        }
        if (equals < 0) {
            c.coverClass = cls;
            continue;
        }
        bool ok = false;
        const int motor = text.left(equals).trimmed().toInt(&ok);
        if (!ok || motor < 1 || motor > kMotors) {
            error = QStringLiteral("\"%1\": motors are numbered 1 to %2").arg(text).arg(kMotors);
            return false;
        }
        c.motorCoverClasses[motor] = cls;
    }
    return true;
}

const std::vector<Setting> &settings()
{
    static const std::vector<Setting> table = {
        {"port", "PORT",
         "The controller's serial port: a device path, its /dev/serial/by-id name, a node name "
         "(ttyUSB0) or COM1 to COM8 (default: the port the window last used).",
         [](BridgeConfig &c, const QString &v, QString &) { return setText(c.port, v); }},
        {"broker", "HOST[:PORT]", "The MQTT broker (default localhost:1883, or port 8883 with TLS).", setBroker},
        {"id", "ID", "The name of this controller in topics and unique ids (default: from the port).", setId},
        {"prefix", "TOPIC", "The topic everything is published under (default vandorelle/ID).",
         [](BridgeConfig &c, const QString &v, QString &e) { return setPrefix(c.prefix, v, e); }},
        {"user", "NAME", "The user name at the broker.",
         [](BridgeConfig &c, const QString &v, QString &) { return setText(c.user, v); }},
        {"password-file", "FILE", "A file whose first line is the password at the broker.",
         [](BridgeConfig &c, const QString &v, QString &) { return setText(c.passwordFile, v); }},
        {"ca-file", "FILE", "TLS: the certificate of the authority that signed the broker's (turns TLS on).",
         [](BridgeConfig &c, const QString &v, QString &) { return setText(c.caFile, v); }},
        {"cert-file", "FILE", "TLS: this client's certificate, where the broker asks for one (with --key-file).",
         [](BridgeConfig &c, const QString &v, QString &) { return setText(c.certFile, v); }},
        {"key-file", "FILE", "TLS: the private key of --cert-file.",
         [](BridgeConfig &c, const QString &v, QString &) { return setText(c.keyFile, v); }},
        {"discovery-prefix", "TOPIC", "The home-automation discovery prefix (default homeassistant).",
         [](BridgeConfig &c, const QString &v, QString &e) { return setPrefix(c.discoveryPrefix, v, e); }},
        {"discovery", nullptr, "Publish nothing for home-automation discovery.",
         [](BridgeConfig &c, const QString &v, QString &e) { return parseYesNo(v, c.discovery, e); }, "no-discovery"},
        {"manual-timeout", "SECONDS",
         "Manual control is left this long after the last motor command (default 120).", setManualTimeout},
        {"cover-class", "[N=]CLASS",
         "The device class of the covers, or of motor N: awning, blind, curtain, damper, door, garage, gate, "
         "shade, shutter or window (default shutter). May be repeated.",
         setCoverClass},
        {"verbose", nullptr, "Log every write to the controller and every message handled.",
         [](BridgeConfig &c, const QString &v, QString &e) { return parseYesNo(v, c.verbose, e); }, "verbose"},
    };
    return table;
}

const Setting *findSetting(const QString &key)
{
    for (const Setting &s : settings())
        if (key == QLatin1String(s.key))
            return &s;
    return nullptr;
}

QString fileValue(const QVariant &v)
{
    // QSettings reads unquoted commas as a list.
    return v.typeId() == QMetaType::QStringList ? v.toStringList().join(u',') : v.toString();
}

bool readFile(const QString &path, BridgeConfig &config, QString &message)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile() || !info.isReadable()) {
        message = QStringLiteral("cannot read the configuration file %1: %2")
                      .arg(path, !info.exists() ? QStringLiteral("no such file")
                                 : info.isDir() ? QStringLiteral("it is a folder")
                                                : QStringLiteral("not readable"));
        return false;
    }
    QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        message = QStringLiteral("cannot read the configuration file %1: not in INI form").arg(path);
        return false;
    }
    const QStringList keys = file.allKeys();
    for (const QString &key : keys) {
        // QSettings knows only ; as a comment; a line commented out with # reads as a key.
        if (key.startsWith(u'#'))
            continue;
        if (key == QStringLiteral("password")) {
            message = QStringLiteral("%1: no password here; put it into a file of its own, readable only by "
                                     "the bridge, and name that file with password-file").arg(path);
            return false;
        }
        const Setting *s = findSetting(key);
        if (!s) {
            message = QStringLiteral("%1: unknown key \"%2\"").arg(path, key);
            return false;
        }
        QString error;
        if (!s->apply(config, fileValue(file.value(key)), error)) {
            message = QStringLiteral("%1: %2: %3").arg(path, key, error);
            return false;
        }
    }
    return true;
}

bool tlsFilesFit(const BridgeConfig &c, QString &message)
{
    if (c.certFile.isEmpty() != c.keyFile.isEmpty()) {
        message = QStringLiteral("cert-file and key-file go together");
        return false;
    }
    if (!c.certFile.isEmpty() && c.caFile.isEmpty()) {
        message = QStringLiteral("a client certificate needs TLS: name the broker's authority with ca-file");
        return false;
    }
    const std::pair<const char *, const QString *> files[] = {
        {"ca-file", &c.caFile}, {"cert-file", &c.certFile}, {"key-file", &c.keyFile}};
    for (const auto &[key, path] : files) {
        if (path->isEmpty())
            continue;
        const QFileInfo info(*path);
        if (!info.isFile() || !info.isReadable()) {
            message = QStringLiteral("%1: cannot read %2").arg(QLatin1String(key), *path);
            return false;
        }
    }
    return true;
}

QString description()
{
    return QStringLiteral(
        "Connects a motor controller on a serial line to an MQTT broker: publishes what the controller\n"
        "reports, drives its motors on command, and announces it for home-automation discovery.\n"
        "The configuration file (INI) holds the same keys as the options, without the leading --;\n"
        "options win. A password is never given on the command line: use --password-file.");
}

} // namespace

const QStringList &coverClasses()
{
    static const QStringList classes{"awning", "blind", "curtain", "damper", "door",
                                     "garage", "gate",  "shade",   "shutter", "window"};
    return classes;
}

QString BridgeConfig::brokerLabel() const { return bridge::brokerLabel(brokerHost, effectiveBrokerPort()); }

ConfigResult readConfiguration(const QStringList &args, BridgeConfig &config, QString &message)
{
    // Refused before anything else: the password must not linger in a message either.
    for (const QString &a : args.mid(1)) {
        if (a == QStringLiteral("--password") || a.startsWith(QStringLiteral("--password="))) {
            message = QStringLiteral("a password is never given on the command line (every user can read it "
                                     "there): put it into a file readable only by the bridge and name that "
                                     "file with --password-file");
            return ConfigResult::Error;
        }
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    const QCommandLineOption version("version", "Show the version.");
    const QCommandLineOption configFile("config", "The configuration file.", "FILE");
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(configFile);
    std::vector<std::pair<const Setting *, QCommandLineOption>> options;
    for (const Setting &s : settings()) {
        const QString name = QLatin1String(s.switchName ? s.switchName : s.key);
        QCommandLineOption option(name, QString::fromLatin1(s.help));
        if (s.valueName)
            option.setValueName(QString::fromLatin1(s.valueName));
        options.emplace_back(&s, option);
        parser.addOption(option);
    }

    if (!parser.parse(args)) {
        message = parser.errorText();
        return ConfigResult::Error;
    }
    if (parser.isSet(help)) {
        message = parser.helpText();
        return ConfigResult::Help;
    }
    if (parser.isSet(version))
        return ConfigResult::Version;
    if (!parser.positionalArguments().isEmpty()) {
        message = QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().constFirst());
        return ConfigResult::Error;
    }

    if (parser.isSet(configFile) && !readFile(parser.value(configFile), config, message))
        return ConfigResult::Error;

    for (const auto &[s, option] : options) {
        if (!parser.isSet(option))
            continue;
        // A switch says yes (--verbose), or no where its name begins so (--no-discovery).
        const bool no = s->switchName && QLatin1String(s->switchName).startsWith(QLatin1String("no-"));
        const QStringList values = s->valueName ? parser.values(option)
                                                : QStringList{no ? QStringLiteral("false") : QStringLiteral("true")};
        for (const QString &value : values) {
            QString error;
            if (!s->apply(config, value, error)) {
                message = QStringLiteral("--%1: %2").arg(option.names().constFirst(), error);
                return ConfigResult::Error;
            }
        }
    }

    if (!config.passwordFile.isEmpty() && config.user.isEmpty()) {
        message = QStringLiteral("a password file needs a user name: --user");
        return ConfigResult::Error;
    }
    if (!tlsFilesFit(config, message))
        return ConfigResult::Error;
    return ConfigResult::Run;
}

QString idForPort(const QString &portText)
{
    QString id = portText.section(u'/', -1).toLower();
    static const QRegularExpression invalid(QStringLiteral("[^a-z0-9_-]+"));
    id.replace(invalid, QStringLiteral("_"));
    while (id.startsWith(u'_'))
        id.remove(0, 1);
    while (id.endsWith(u'_'))
        id.chop(1);
    id.truncate(kMaxIdLength);
    return id.isEmpty() ? QStringLiteral("controller") : id;
}

void resolveNames(BridgeConfig &config, const QString &portText)
{
    if (config.id.isEmpty())
        config.id = idForPort(portText);
    if (config.prefix.isEmpty())
        config.prefix = QStringLiteral("vandorelle/") + config.id;
}

bool readPasswordFile(const QString &path, QString &password, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read the password file %1: %2").arg(path, file.errorString());
        return false;
    }
    QByteArray line = file.readLine(4096);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty()) {
        error = QStringLiteral("the password file %1 holds no password on its first line").arg(path);
        return false;
    }
    password = QString::fromUtf8(line);
    return true;
}

} // namespace vandorelle::bridge
