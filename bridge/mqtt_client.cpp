#include "bridge/mqtt_client.h"

#include "bridge/bridge_config.h"
#include "bridge/log.h"

#include <mosquitto.h>

#include <QMetaObject>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace vandorelle::bridge {

namespace {

constexpr int kFirstRetryMs = 250;
constexpr int kMaxRetryMs = 4000;
constexpr int kLoopTimeoutMs = 1000;

QByteArray utf8(const QString &s) { return s.toUtf8(); }
const char *orNull(const QByteArray &b) { return b.isEmpty() ? nullptr : b.constData(); }

// The reason of a failed call, errno taken right after it.
QString reasonOf(int rc, int savedErrno)
{
    if (rc == MOSQ_ERR_ERRNO)
        return QString::fromLocal8Bit(std::strerror(savedErrno));
    return QString::fromUtf8(mosquitto_strerror(rc));
}

QString refusalText(int rc)
{
    switch (rc) {
    case 1: return QStringLiteral("it does not speak MQTT 3.1.1");
    case 2: return QStringLiteral("it does not accept the client id");
    case 4: return QStringLiteral("bad user name or password");
    // Mosquitto answers a wrong password so, not with 4.
    case 5: return QStringLiteral("not authorised (wrong user name or password, or a user it does not admit)");
    default: return QString::fromUtf8(mosquitto_connack_string(rc));
    }
}

} // namespace

MqttLibrary::MqttLibrary() { mosquitto_lib_init(); }
MqttLibrary::~MqttLibrary() { mosquitto_lib_cleanup(); }

MqttClient::MqttClient(MqttSettings settings, QObject *parent) : QObject(parent), m_settings(std::move(settings)) {}

MqttClient::~MqttClient()
{
    if (m_thread.joinable())
        finish({}, 0);
    if (m_mosq)
        mosquitto_destroy(m_mosq);
}

QString brokerLabel(const QString &host, int port)
{
    return (host.contains(u':') ? u'[' + host + u']' : host) + u':' + QString::number(port);
}

QString MqttClient::brokerLabel() const { return bridge::brokerLabel(m_settings.host, m_settings.port); }

bool MqttClient::start(QString &error)
{
    m_mosq = mosquitto_new(utf8(m_settings.clientId).constData(), true, this);
    if (!m_mosq) {
        error = QStringLiteral("cannot set up the MQTT client: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    mosquitto_threaded_set(m_mosq, true);
    mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    // A command should reach the line without waiting for more to send.
    mosquitto_int_option(m_mosq, MOSQ_OPT_TCP_NODELAY, 1);
    mosquitto_connect_callback_set(m_mosq, &MqttClient::onConnect);
    mosquitto_message_callback_set(m_mosq, &MqttClient::onMessage);
    mosquitto_publish_callback_set(m_mosq, &MqttClient::onPublish);
    mosquitto_log_callback_set(m_mosq, &MqttClient::onLog);

    if (!m_settings.user.isEmpty()) {
        const QByteArray user = utf8(m_settings.user);
        const QByteArray password = utf8(m_settings.password);
        mosquitto_username_pw_set(m_mosq, user.constData(), orNull(password));
    }
    if (!m_settings.caFile.isEmpty()) {
        const QByteArray ca = utf8(m_settings.caFile);
        const QByteArray cert = utf8(m_settings.certFile);
        const QByteArray key = utf8(m_settings.keyFile);
        const int rc = mosquitto_tls_set(m_mosq, ca.constData(), nullptr, orNull(cert), orNull(key), nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            const QString detail = lastLibraryError();
            error = QStringLiteral("cannot use the TLS files (ca-file %1%2): %3")
                        .arg(m_settings.caFile,
                             m_settings.certFile.isEmpty()
                                 ? QString()
                                 : QStringLiteral(", cert-file %1, key-file %2").arg(m_settings.certFile, m_settings.keyFile),
                             detail.isEmpty() ? reasonOf(rc, errno) : detail);
            return false;
        }
    }
    if (!m_settings.willTopic.isEmpty()) {
        const QByteArray topic = utf8(m_settings.willTopic);
        mosquitto_will_set(m_mosq, topic.constData(), int(m_settings.willPayload.size()),
                           m_settings.willPayload.constData(), kQosAcknowledged, true);
    }
    m_thread = std::thread([this] { run(); });
    return true;
}

void MqttClient::run()
{
    const QByteArray host = utf8(m_settings.host);
    int retryMs = kFirstRetryMs;
    bool first = true;
    QString lastUnreachable;
    while (!m_stop && !m_disconnecting) {
        int rc = first ? mosquitto_connect(m_mosq, host.constData(), m_settings.port, m_settings.keepAliveS)
                       : mosquitto_reconnect(m_mosq);
        int savedErrno = errno;
        first = false;
        while (rc == MOSQ_ERR_SUCCESS && !m_stop) {
            rc = mosquitto_loop(m_mosq, kLoopTimeoutMs, 1);
            savedErrno = errno;
        }
        const bool hadSession = m_connected.exchange(false);
        if (m_stop || m_refused || m_disconnecting)
            break;
        QString reason = reasonOf(rc, savedErrno);
        if (rc == MOSQ_ERR_TLS) {
            const QString detail = lastLibraryError();
            if (!detail.isEmpty())
                reason = detail;
            // Certificates that were never accepted will not be accepted by trying again; once a
            // session stood, a failed handshake is a broker restarting.
            if (!m_everConnected) {
                m_refused = true;
                QMetaObject::invokeMethod(this, [this, reason] {
                    emit refused(ExitTlsRefused,
                                 QStringLiteral("the TLS connection to the broker at %1 failed: %2 (is ca-file the "
                                                "authority that signed the broker's certificate?)")
                                     .arg(brokerLabel(), reason));
                }, Qt::QueuedConnection);
                break;
            }
        }
        if (hadSession) {
            retryMs = kFirstRetryMs;
            lastUnreachable.clear();
            QMetaObject::invokeMethod(this, [this, reason] { emit connectionLost(reason); }, Qt::QueuedConnection);
        } else if (reason != lastUnreachable) { // said once per reason, not on every attempt
            lastUnreachable = reason;
            QMetaObject::invokeMethod(this, [this, reason] { emit unreachable(reason); }, Qt::QueuedConnection);
        }
        if (!pause(retryMs))
            break;
        retryMs = std::min(retryMs * 2, kMaxRetryMs);
    }
    std::lock_guard lock(m_mutex);
    m_finished = true;
    m_wake.notify_all();
}

bool MqttClient::pause(int ms)
{
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stop || m_disconnecting; });
}

void MqttClient::onConnect(mosquitto *, void *self, int rc)
{
    auto *client = static_cast<MqttClient *>(self);
    if (rc == 0) {
        client->m_connected = true;
        client->m_everConnected = true;
        QMetaObject::invokeMethod(client, [client] { emit client->connected(); }, Qt::QueuedConnection);
        return;
    }
    client->m_refused = true;
    const QString user = client->m_settings.user;
    const QString text = QStringLiteral("the broker at %1 refused the connection: %2%3")
                             .arg(client->brokerLabel(), refusalText(rc),
                                  user.isEmpty() ? QStringLiteral(" (no user name given)")
                                                 : QStringLiteral(" (user \"%1\")").arg(user));
    QMetaObject::invokeMethod(client, [client, text] { emit client->refused(ExitBrokerRefused, text); },
                              Qt::QueuedConnection);
}

void MqttClient::onMessage(mosquitto *, void *self, const mosquitto_message *msg)
{
    auto *client = static_cast<MqttClient *>(self);
    if (client->m_pending.fetch_add(1) >= kMaxPendingMessages) {
        client->m_pending.fetch_sub(1);
        if (client->m_dropped.fetch_add(1) == 0)
            QMetaObject::invokeMethod(client, [client] { emit client->messagesDropped(client->m_dropped.exchange(0)); },
                                      Qt::QueuedConnection);
        return;
    }
    const QString topic = QString::fromUtf8(msg->topic);
    const QByteArray payload(static_cast<const char *>(msg->payload), msg->payloadlen);
    const bool retained = msg->retain;
    QMetaObject::invokeMethod(client, [client, topic, payload, retained] {
        client->m_pending.fetch_sub(1);
        emit client->message(topic, payload, retained);
    }, Qt::QueuedConnection);
}

void MqttClient::onPublish(mosquitto *, void *self, int mid)
{
    auto *client = static_cast<MqttClient *>(self);
    std::lock_guard lock(client->m_mutex);
    client->m_unacknowledged.erase(mid);
    client->m_wake.notify_all();
}

void MqttClient::onLog(mosquitto *, void *self, int level, const char *text)
{
    auto *client = static_cast<MqttClient *>(self);
    if (level & (MOSQ_LOG_ERR | MOSQ_LOG_WARNING)) {
        std::lock_guard lock(client->m_logMutex);
        client->m_libraryError = QString::fromUtf8(text);
    }
}

QString MqttClient::lastLibraryError()
{
    std::lock_guard lock(m_logMutex);
    return std::exchange(m_libraryError, QString());
}

void MqttClient::publish(const Publication &p, int qos)
{
    if (!m_connected)
        return;
    const QByteArray topic = utf8(p.topic);
    mosquitto_publish(m_mosq, nullptr, topic.constData(), int(p.payload.size()), p.payload.constData(), qos,
                      p.retain);
}

void MqttClient::subscribe(const QString &pattern)
{
    if (m_connected)
        mosquitto_subscribe(m_mosq, nullptr, utf8(pattern).constData(), kQosAcknowledged);
}

bool MqttClient::finish(const QList<Publication> &last, int boundMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    if (m_connected) {
        for (const Publication &p : last) {
            int mid = 0;
            const QByteArray topic = utf8(p.topic);
            // Held under the lock so that an acknowledgement cannot overtake the bookkeeping.
            std::lock_guard lock(m_mutex);
            if (mosquitto_publish(m_mosq, &mid, topic.constData(), int(p.payload.size()), p.payload.constData(),
                                  kQosAcknowledged, p.retain) == MOSQ_ERR_SUCCESS)
                m_unacknowledged.insert(mid);
        }
        std::unique_lock lock(m_mutex);
        m_wake.wait_until(lock, deadline, [this] { return m_unacknowledged.empty() || m_finished; });
    }
    if (!m_thread.joinable())
        return true;
    // The loop writes the DISCONNECT and ends: the broker forgets the last will.
    m_disconnecting = true;
    mosquitto_disconnect(m_mosq);
    std::unique_lock lock(m_mutex);
    m_wake.notify_all();
    const auto drained = std::max(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(kLoopTimeoutMs));
    if (!m_wake.wait_until(lock, drained, [this] { return m_finished; })) {
        m_stop = true;
        m_wake.notify_all();
        // A connection attempt may hang on an unreachable host: not waited for beyond this.
        m_wake.wait_for(lock, std::chrono::milliseconds(kLoopTimeoutMs * 2), [this] { return m_finished; });
    }
    lock.unlock();
    if (m_finished) {
        m_thread.join();
        return true;
    }
    m_thread.detach();
    m_mosq = nullptr; // still in use by the thread: left to the end of the program
    return false;
}

} // namespace vandorelle::bridge
