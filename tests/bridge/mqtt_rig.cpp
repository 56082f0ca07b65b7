#include "mqtt_rig.h"

#include <mosquitto.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vandorelle::test {

namespace {

constexpr int kStartBoundMs = 15000;
constexpr int kLookMs = 10;

QTemporaryDir &runDirectory()
{
    static QTemporaryDir dir;
    return dir;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

bool run(const QString &program, const QStringList &args, QString &error)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        error = QStringLiteral("%1 %2 failed: %3").arg(program, args.join(u' '), QString::fromLocal8Bit(p.readAll()));
        return false;
    }
    return true;
}

TestCertificates makeCertificates()
{
    TestCertificates c;
    const QString dir = runDirectory().filePath(QStringLiteral("tls"));
    QDir().mkpath(dir);
    auto path = [&](const char *name) { return dir + u'/' + QLatin1String(name); };
    c.ca = path("ca.crt");
    c.serverCert = path("server.crt");
    c.serverKey = path("server.key");
    c.otherCa = path("other-ca.crt");
    const QString openssl = QStringLiteral("openssl");
    const QStringList ec{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    writeFile(path("server.ext"), "subjectAltName=DNS:localhost,IP:127.0.0.1\n");
    const bool made =
        run(openssl, QStringList{"req", "-x509"} + ec + QStringList{"-keyout", path("ca.key"), "-out", c.ca, "-days", "2", "-subj", "/CN=Vandorelle test authority"}, c.error)
        && run(openssl, QStringList{"req", "-x509"} + ec + QStringList{"-keyout", path("other-ca.key"), "-out", c.otherCa, "-days", "2", "-subj", "/CN=Another authority"}, c.error)
        && run(openssl, QStringList{"req"} + ec + QStringList{"-keyout", c.serverKey, "-out", path("server.csr"), "-subj", "/CN=localhost"}, c.error)
        && run(openssl, {"x509", "-req", "-in", path("server.csr"), "-CA", c.ca, "-CAkey", path("ca.key"),
                         "-CAcreateserial", "-out", c.serverCert, "-days", "2", "-extfile", path("server.ext")}, c.error);
    if (!made && c.error.isEmpty())
        c.error = QStringLiteral("openssl made no certificates");
    return c;
}

QString currentUser()
{
    const passwd *pw = ::getpwuid(::getuid());
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString();
}

} // namespace

int freeTcpPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &length) == 0)
        port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

const TestCertificates &testCertificates()
{
    static const TestCertificates certificates = makeCertificates();
    return certificates;
}

bool eventually(const std::function<bool()> &done, int boundMs)
{
    const QDeadlineTimer deadline(boundMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(kLookMs);
    }
    return true;
}

Broker::Broker()
{
    static int count = 0;
    m_dir = runDirectory().filePath(QStringLiteral("broker-%1").arg(++count));
    QDir().mkpath(m_dir);
}

Broker::~Broker() { kill(); }

QString Broker::passwordFile(const QString &password) const
{
    static int count = 0;
    const QString path = m_dir + QStringLiteral("/password-%1").arg(++count);
    writeFile(path, password.toUtf8() + '\n');
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

bool Broker::start()
{
    const TestCertificates &tls = testCertificates();
    if (!tls.error.isEmpty()) {
        m_error = tls.error;
        return false;
    }
    const QString passwords = m_dir + QStringLiteral("/passwords");
    QFile::remove(passwords);
    if (!run(QStringLiteral("mosquitto_passwd"), {"-c", "-b", passwords, kUser, kPassword}, m_error))
        return false;
    QFile::setPermissions(passwords, QFile::ReadOwner | QFile::WriteOwner);
    m_port = freeTcpPort();
    m_tlsPort = freeTcpPort();
    // Started as root, mosquitto would become the user "mosquitto", who cannot read our files.
    const QString config = QStringLiteral("user %1\n"
                                          "persistence false\n"

                                          "allow_anonymous false\n"
                                          "password_file %2\n"
                                          "listener %3 127.0.0.1\n"
                                          "listener %4 127.0.0.1\n"
                                          "cafile %5\n"
                                          "certfile %6\n"
                                          "keyfile %7\n")
                               .arg(currentUser(), passwords)
                               .arg(m_port)
                               .arg(m_tlsPort)
                               .arg(tls.ca, tls.serverCert, tls.serverKey);
    writeFile(m_dir + QStringLiteral("/mosquitto.conf"), config.toUtf8());
    return restart();
}

bool Broker::restart()
{
    kill();
    m_process = std::make_unique<QProcess>();
    m_process->setStandardOutputFile(m_dir + QStringLiteral("/mosquitto.log"), QIODevice::Append);
    m_process->setStandardErrorFile(m_dir + QStringLiteral("/mosquitto.log"), QIODevice::Append);
    // Debian puts the broker in /usr/sbin, outside a user's search path.
    QString program = QStandardPaths::findExecutable(QStringLiteral("mosquitto"));
    if (program.isEmpty())
        program = QStandardPaths::findExecutable(QStringLiteral("mosquitto"), {"/usr/sbin", "/usr/local/sbin", "/sbin"});
    m_process->start(program, {"-c", m_dir + QStringLiteral("/mosquitto.conf")});
    if (!m_process->waitForStarted(kStartBoundMs)) {
        m_error = QStringLiteral("cannot start mosquitto: %1").arg(m_process->errorString());
        return false;
    }
    if (!waitUntilListening(m_port) || !waitUntilListening(m_tlsPort)) {
        QFile log(m_dir + QStringLiteral("/mosquitto.log"));
        log.open(QIODevice::ReadOnly);
        m_error = QStringLiteral("mosquitto does not listen: %1").arg(QString::fromLocal8Bit(log.readAll()));
        return false;
    }
    return true;
}

bool Broker::waitUntilListening(int port)
{
    return eventually(
        [&] {
            if (m_process->state() != QProcess::Running)
                return true; // ended: said by the caller's check below
            const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in addr{};
            addr.sin_family = AF_INET;
            addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            addr.sin_port = htons(quint16(port));
            const bool listening = ::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
            ::close(fd);
            return listening;
        },
        kStartBoundMs)
        && m_process->state() == QProcess::Running;
}

void Broker::kill()
{
    if (!m_process)
        return;
    m_process->kill();
    m_process->waitForFinished(kStartBoundMs);
    m_process.reset();
}

Subscriber::Subscriber(int port, const QStringList &patterns) : m_patterns(patterns)
{
    static const int initialised = mosquitto_lib_init();
    (void)initialised;
    m_mosq = mosquitto_new(nullptr, true, this);
    mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_username_pw_set(m_mosq, Broker::kUser.toUtf8().constData(), Broker::kPassword.toUtf8().constData());
    mosquitto_connect_callback_set(m_mosq, &Subscriber::onConnect);
    mosquitto_message_callback_set(m_mosq, &Subscriber::onMessage);
    mosquitto_reconnect_delay_set(m_mosq, 1, 1, false);
    mosquitto_connect_async(m_mosq, "127.0.0.1", port, 30);
    mosquitto_loop_start(m_mosq);
}

Subscriber::~Subscriber()
{
    mosquitto_disconnect(m_mosq);
    mosquitto_loop_stop(m_mosq, false);
    mosquitto_destroy(m_mosq);
}

void Subscriber::onConnect(mosquitto *mosq, void *self, int rc)
{
    auto *s = static_cast<Subscriber *>(self);
    if (rc != 0)
        return;
    for (const QString &p : s->m_patterns)
        mosquitto_subscribe(mosq, nullptr, p.toUtf8().constData(), 1);
    std::lock_guard lock(s->m_mutex);
    s->m_connected = true;
    s->m_arrived.notify_all();
}

void Subscriber::onMessage(mosquitto *, void *self, const mosquitto_message *msg)
{
    auto *s = static_cast<Subscriber *>(self);
    std::lock_guard lock(s->m_mutex);
    s->m_messages.append({QString::fromUtf8(msg->topic),
                          QByteArray(static_cast<const char *>(msg->payload), msg->payloadlen), msg->retain,
                          std::chrono::steady_clock::now()});
    s->m_arrived.notify_all();
}

bool Subscriber::waitConnected(int boundMs)
{
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, std::chrono::milliseconds(boundMs), [this] { return m_connected; });
}

bool Subscriber::waitUntil(const std::function<bool(const QList<Message> &)> &done, int boundMs)
{
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, std::chrono::milliseconds(boundMs), [&] { return done(m_messages); });
}

bool Subscriber::waitForPayload(const QString &topic, const QByteArray &payload, int boundMs)
{
    return waitUntil(
        [&](const QList<Message> &all) {
            for (auto it = all.crbegin(); it != all.crend(); ++it)
                if (it->topic == topic)
                    return it->payload == payload;
            return false;
        },
        boundMs);
}

bool Subscriber::waitForMessage(const QString &topic, const QByteArray &text, int boundMs)
{
    return waitUntil(
        [&](const QList<Message> &all) {
            return std::any_of(all.begin(), all.end(),
                               [&](const Message &m) { return m.topic == topic && m.payload.contains(text); });
        },
        boundMs);
}

std::optional<QByteArray> Subscriber::latest(const QString &topic) const
{
    std::lock_guard lock(m_mutex);
    for (auto it = m_messages.crbegin(); it != m_messages.crend(); ++it)
        if (it->topic == topic)
            return it->payload;
    return std::nullopt;
}

QList<Message> Subscriber::messages() const
{
    std::lock_guard lock(m_mutex);
    return m_messages;
}

QList<Message> Subscriber::messagesUnder(const QString &topicPrefix) const
{
    QList<Message> out;
    for (const Message &m : messages())
        if (m.topic.startsWith(topicPrefix))
            out.append(m);
    return out;
}

void Subscriber::publish(const QString &topic, const QByteArray &payload, bool retain)
{
    mosquitto_publish(m_mosq, nullptr, topic.toUtf8().constData(), int(payload.size()), payload.constData(), 1,
                      retain);
}

BridgeProcess::BridgeProcess()
{
    static int count = 0;
    m_logFile = runDirectory().filePath(QStringLiteral("bridge-%1.log").arg(++count));
}

BridgeProcess::~BridgeProcess()
{
    if (running()) {
        m_process->kill();
        m_process->waitForFinished(kStartBoundMs);
    }
}

QString BridgeProcess::binaryPath() { return QStringLiteral(VANDORELLE_BINARY_DIR "/vandorelle-bridge"); }

bool BridgeProcess::start(const QStringList &args)
{
    m_process = std::make_unique<QProcess>();
    m_process->setStandardOutputFile(m_logFile, QIODevice::Append);
    m_process->setStandardErrorFile(m_logFile, QIODevice::Append);
    m_process->start(binaryPath(), args);
    return m_process->waitForStarted(kStartBoundMs);
}

QString BridgeProcess::log() const
{
    QFile f(m_logFile);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool BridgeProcess::waitForLog(const QString &text, int boundMs)
{
    return eventually([&] { return log().contains(text); }, boundMs);
}

void BridgeProcess::sendSignal(int signo)
{
    if (running())
        ::kill(pid_t(m_process->processId()), signo);
}

int BridgeProcess::waitForExit(int boundMs)
{
    if (!m_process)
        return -1;
    if (!m_process->waitForFinished(boundMs)) {
        m_process->kill();
        m_process->waitForFinished(kStartBoundMs);
        return -1;
    }
    return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
}

bool BridgeProcess::running() const { return m_process && m_process->state() == QProcess::Running; }

qint64 BridgeProcess::pid() const { return m_process ? m_process->processId() : 0; }

long BridgeProcess::memoryKiB(const char *field) const
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid()));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    return 0;
}

double BridgeProcess::cpuSeconds() const
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid()));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // After the name in parentheses (which may hold blanks): state is field 3, utime 14, stime 15.
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(::sysconf(_SC_CLK_TCK));
}

} // namespace vandorelle::test
