#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QProcess;
struct mosquitto;
struct mosquitto_message;

namespace vandorelle::test {

// A TCP port on 127.0.0.1 that nothing listens on right now.
int freeTcpPort();

// Made with openssl for the test run: an authority, the broker's certificate for localhost
// and 127.0.0.1 signed by it, and a second authority that signed nothing.
struct TestCertificates {
    QString ca;
    QString serverCert;
    QString serverKey;
    QString otherCa;
    QString error; // empty when they were made
};
const TestCertificates &testCertificates();

// A real mosquitto on 127.0.0.1 with a password file: a plain listener, and a TLS one with
// the test certificates. Every wait is bounded.
class Broker {
public:
    static inline const QString kUser = QStringLiteral("bridge");
    static inline const QString kPassword = QStringLiteral("Tür zu, 42!");

    Broker();
    ~Broker();
    bool start();
    void kill(); // SIGKILL: gone without a word to its clients
    bool restart();
    int port() const { return m_port; }
    int tlsPort() const { return m_tlsPort; }
    QString error() const { return m_error; }
    // A file with the password on its first line, for --password-file.
    QString passwordFile(const QString &password = kPassword) const;

private:
    bool waitUntilListening(int port);
    QString m_dir;
    int m_port = 0;
    int m_tlsPort = 0;
    std::unique_ptr<QProcess> m_process;
    QString m_error;
};

struct Message {
    QString topic;
    QByteArray payload;
    bool retained = false;
    std::chrono::steady_clock::time_point arrived{};
};

// A client that subscribes and keeps everything it receives, in order.
class Subscriber {
public:
    Subscriber(int port, const QStringList &patterns);
    ~Subscriber();
    Subscriber(const Subscriber &) = delete;
    Subscriber &operator=(const Subscriber &) = delete;

    bool waitConnected(int boundMs = 15000);
    // Runs done() under the lock each time something arrives, until it holds or the bound.
    bool waitUntil(const std::function<bool(const QList<Message> &)> &done, int boundMs);
    bool waitForPayload(const QString &topic, const QByteArray &payload, int boundMs);
    // A message on the topic whose payload holds the text, among all that came.
    bool waitForMessage(const QString &topic, const QByteArray &text, int boundMs);
    // The last payload on the topic; none when nothing came on it.
    std::optional<QByteArray> latest(const QString &topic) const;
    QList<Message> messages() const;
    // Those on topics that begin so.
    QList<Message> messagesUnder(const QString &topicPrefix) const;
    void publish(const QString &topic, const QByteArray &payload, bool retain = false);

private:
    static void onConnect(mosquitto *, void *self, int rc);
    static void onMessage(mosquitto *, void *self, const mosquitto_message *msg);

    QStringList m_patterns;
    mosquitto *m_mosq = nullptr;
    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    QList<Message> m_messages;
    bool m_connected = false;
};

// build/vandorelle-bridge as a process of its own; what it logs goes to a file.
class BridgeProcess {
public:
    BridgeProcess();
    ~BridgeProcess();
    static QString binaryPath();

    bool start(const QStringList &args);
    QString log() const;
    bool waitForLog(const QString &text, int boundMs);
    void sendSignal(int signo);
    // The exit code; -1 when it did not end within the bound (it is killed then) or crashed.
    int waitForExit(int boundMs);
    bool running() const;
    qint64 pid() const;
    // A field of /proc/PID/status in KiB ("VmRSS", "VmHWM"); 0 when it cannot be read.
    long memoryKiB(const char *field) const;
    long residentKiB() const { return memoryKiB("VmRSS"); }
    // User and system time the process has had so far; negative when it cannot be read.
    double cpuSeconds() const;

private:
    std::unique_ptr<QProcess> m_process;
    QString m_logFile;
};

// The topics of discovery and state, for a bridge with this id.
struct BridgeTopics {
    QString id;
    QString prefix() const { return QStringLiteral("vandorelle/") + id; }
    QString of(const QString &suffix) const { return prefix() + u'/' + suffix; }
    QString discovery(const QString &component, const QString &object) const
    {
        return QStringLiteral("homeassistant/%1/vandorelle_%2/%3/config").arg(component, id, object);
    }
};

// Waits without a fixed sleep: looks at done() every few milliseconds until the bound.
bool eventually(const std::function<bool()> &done, int boundMs);

} // namespace vandorelle::test
