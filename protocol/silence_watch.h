#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace vandorelle {

// Panel 5 texts when an exchange gave up on a silent or vanished controller.
inline const QString kZeitueberschreitung = QStringLiteral("Zeitüberschreitung");
inline const QString kVerbindungUnterbrochen = QStringLiteral("Verbindung unterbrochen");

class Session;

// Ends an exchange that makes no progress for its time-out. Progress is what the exchange
// calls progress (a valid frame of its own), never mere bytes, so a line that delivers only
// noise ends it as well. Silence is counted from the moment the last byte we queued has left
// the port: a long batch of our own on a slow line is not a silent controller. A device that
// disappears ends the exchange at once.
class SilenceWatch : public QObject {
    Q_OBJECT
public:
    enum class Reason { Silence, LineLost };

    SilenceWatch(Session &session, int intervalMs, QObject *parent = nullptr);

    void setInterval(int milliseconds) { m_interval = milliseconds; }
    int interval() const { return m_interval; }

    void start();    // armed; counts from now
    void progress(); // the exchange moved on
    void stop();
    bool armed() const { return m_armed; }

signals:
    void expired(vandorelle::SilenceWatch::Reason reason);

private:
    void check();
    void expire(Reason reason);

    Session &m_session;
    QTimer m_timer;
    QElapsedTimer m_sinceProgress;
    QElapsedTimer m_sinceOutputSeen; // when our own bytes were last seen still going out
    int m_interval;
    bool m_armed = false;
};

// The opening of the message when an exchange gave up, e.g. for "Das Lesen der Daten":
// "Die Steuerung hat nicht mehr geantwortet. Das Lesen der Daten wurde abgebrochen."
QString gaveUpText(SilenceWatch::Reason reason, const QString &exchange);

} // namespace vandorelle
