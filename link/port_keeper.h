#pragma once

#include "config/settings_file.h"
#include "link/serial_port.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace vandorelle {

// Opens the chosen port at the controller's line settings and keeps it: a device that
// disappears (adapter pulled) or is not there yet is looked for and opened by itself once
// it is back, by its by-id name where it has one. Shared by every front end.
class PortKeeper : public QObject {
    Q_OBJECT
public:
    explicit PortKeeper(TVaComm &port, QObject *parent = nullptr);

    // Closes the port and sets it up for the choice: port number or device, 9600 baud, 8N1.
    // Stops looking for an earlier device. Throws EVaCommError (a refused change).
    void choose(const PortChoice &choice);
    // Opens what was chosen. Throws EVaCommError; when the device is not there, it is
    // looked for from then on (if reopening is on).
    void open();
    const PortChoice &choice() const { return m_choice; }

    // On by default; off, a vanished device stays closed.
    void setReopening(bool on);
    bool waitingForDevice() const { return m_retry.isActive(); }
    // Short enough that a returning device is polled again well within two seconds.
    static constexpr int kRetryIntervalMs = 250;

signals:
    void deviceLost(); // the open device went away; once per loss
    void deviceBack(); // open again after a loss, or the awaited device appeared

private:
    void onLineError(int errors);
    void tryAgain();
    void openedNow();

    TVaComm &m_port;
    PortChoice m_choice;
    QString m_reopenPath;
    QTimer m_retry;
    bool m_reopening = true;
};

} // namespace vandorelle
