#pragma once

#include "protocol/session.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace vandorelle {

// "Steuerung --> PC": fires every read request of the device family in one burst and lets
// the receive side decode the answers; the schedule's end marker ends it. When the line
// stays silent for the time-out, it ends anyway and leaves every record pending, because
// the store then mixes old and received values.
// The window and the command line both drive it; it touches no widget.
class ReadAllExchange : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 10000;

    explicit ReadAllExchange(Session &session, QObject *parent = nullptr);

    // Starts the exchange with the session's device flags. False (and nothing happens) when
    // there is no connection or an exchange is already running.
    bool start();
    bool running() const { return m_running; }

    // Silence after which the exchange gives up; tests shorten it.
    void setTimeoutInterval(int milliseconds) { m_silence.setInterval(milliseconds); }
    int timeoutInterval() const { return m_silence.interval(); }

    // Characters the family's complete answer is expected to bring (the progress maximum).
    static int expectedCharacters(const DeviceFlags &flags);

    // The German text for the user when the controller stopped answering.
    static QString timeoutMessage();

signals:
    // After the schedule reset, before the requests go out.
    void started(int maximum);
    void progress(int receivedCharacters);
    // completed: the end marker arrived; otherwise message says what went wrong.
    void finished(bool completed, const QString &message);

private:
    void onCharacters();
    void onEndMarker();
    void onSilence();
    void end();

    Session &m_session;
    QTimer m_silence;
    bool m_running = false;
};

// Panel 5 text when an exchange gave up on a silent controller.
inline const QString kZeitueberschreitung = QStringLiteral("Zeitüberschreitung");

} // namespace vandorelle
