#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

struct mosquitto;
struct mosquitto_message;

namespace vandorelle::bridge {

// The client library's global state, for the run of the program.
class MqttLibrary {
public:
    MqttLibrary();
    ~MqttLibrary();
    MqttLibrary(const MqttLibrary &) = delete;
    MqttLibrary &operator=(const MqttLibrary &) = delete;
};

// Delivered at least once: availability, discovery, subscriptions, the last will.
constexpr int kQosAcknowledged = 1;

// "host:port", an IPv6 address in brackets.
QString brokerLabel(const QString &host, int port);

struct Publication {
    QString topic;
    QByteArray payload; // empty on a retained topic: the broker forgets it
    bool retain = true;
    bool operator==(const Publication &) const = default;
};

struct MqttSettings {
    QString host;
    int port = 1883;
    QString clientId;
    QString user;
    QString password;
    QString caFile; // TLS when set
    QString certFile;
    QString keyFile;
    QString willTopic;
    QByteArray willPayload;
    int keepAliveS = 30;
};

// The broker session. Connecting, reading and writing run on a thread of their own, so that a
// slow or absent broker never holds up the line to the controller; everything it reports
// arrives as signals on the thread that owns the object. A lost session is taken up again
// with growing pauses (a quarter of a second, doubling up to four seconds).
class MqttClient : public QObject {
    Q_OBJECT
public:
    explicit MqttClient(MqttSettings settings, QObject *parent = nullptr);
    ~MqttClient() override;

    // Sets the client up and starts connecting; false with the reason when the settings cannot
    // work (a certificate file that cannot be loaded).
    bool start(QString &error);
    bool isConnected() const { return m_connected; }
    QString brokerLabel() const;

    // Without a session nothing is sent: everything is published afresh on the next one.
    void publish(const Publication &p, int qos = 0);
    void subscribe(const QString &pattern);
    // The last words: published with acknowledgement, waited for within boundMs, then the
    // session is closed and the thread ends. False when the thread is stuck in a connection
    // attempt: it is left running, and the program must end without running destructors.
    bool finish(const QList<Publication> &last, int boundMs);

    // Received messages not handled yet; beyond this many the newest are dropped.
    static constexpr int kMaxPendingMessages = 4096;

signals:
    void connected();
    void connectionLost(const QString &reason);
    // A connection attempt failed (the broker is down or unreachable); tried again by itself.
    void unreachable(const QString &reason);
    // The broker will not have us (user name or password, client id, certificate): trying
    // again would not help.
    void refused(int exitCode, const QString &reason);
    void message(const QString &topic, const QByteArray &payload, bool retained);
    void messagesDropped(int count);

private:
    void run();
    bool pause(int ms);
    QString lastLibraryError();

    static void onConnect(mosquitto *, void *self, int rc);
    static void onMessage(mosquitto *, void *self, const mosquitto_message *msg);
    static void onPublish(mosquitto *, void *self, int mid);
    static void onLog(mosquitto *, void *self, int level, const char *text);

    MqttSettings m_settings;
    mosquitto *m_mosq = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_disconnecting{false};
    std::atomic<bool> m_refused{false};
    std::atomic<bool> m_everConnected{false};
    std::atomic<int> m_pending{0};
    std::atomic<int> m_dropped{0};

    std::mutex m_mutex; // guards what follows
    std::condition_variable m_wake;
    std::set<int> m_unacknowledged;
    bool m_finished = false;
    // Apart: the library may log from within a call made under m_mutex.
    std::mutex m_logMutex;
    QString m_libraryError;
};

} // namespace vandorelle::bridge
