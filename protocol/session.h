#pragma once

#include "config/store.h"
#include "protocol/device_family.h"
#include "protocol/live_values.h"
#include "protocol/port.h"
#include "protocol/status_model.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

namespace vandorelle {

// Views that a decoded record asks to be redrawn. The tabs connect to Session::followUp.
enum class FollowUp {
    Beschattung,
    DaemmerungMorgen,
    DaemmerungAbend,
    Wind,
    Regen,
    Reversierung,
    TastAutomatik,
    ProportionaleTemperatur,
    InnenTemperatur,
    Heizung,
    Feuchtigkeit,
    AussenTemperatur,
    AlarmPattern,   // alarm bank display, bank page back to 1
    Gruppen,        // group check boxes of the shown bank
    MotorNamen,     // one name changed
    Parameters,     // global parameter selectors and Soft_GZS
    Schedule,       // switching-time table changed
    LiveValues,     // sensor displays
};

using ValueList = std::array<int32_t, 16>;

// Everything the controller link shares between the window, the command line and the
// exchanges: the store, the status texts, the device family, the receive side and the
// character counters. UI thread only.
class Session : public QObject {
    Q_OBJECT
public:
    Session(ConfigStore &store, StatusModel &status, QObject *parent = nullptr);

    ConfigStore &store;
    StatusModel &status;
    DeviceFlags flags;
    LiveValues live;

    void setPort(Port *port) { m_port = port; }
    Port *port() const { return m_port; }
    // Encodes the text as Windows-1252 and queues it; false when there is no open port.
    bool send(const QString &text);

    // The receive event: appends the bytes to ReceiveBuffer, cuts and dispatches every
    // complete frame, updates the counters. count is what the port reported.
    void receive(const QByteArray &bytes, int count);

    // Receive side state
    QByteArray ReceiveBuffer;
    QString LastPayload;
    int32_t RxCount = 0;
    int32_t TxCount = 0;
    int firmwareNumber = 0;      // e.g. 7090; meaningful once firmwareKnown
    bool firmwareKnown = false;  // an "sfi" answer arrived in this connection
    bool noConnection = true;    // supervisor: link lost (transfer buttons do nothing)
    bool sendInProgress = false; // send-all running: timers skip their work
    bool readAllRunning = false; // read-all running: progress bar follows RxCount
    bool luxMean = false;        // Lux display mode "mean" instead of "current"

    void addTx(int characters); // TxCount += characters; panel 12 "T " + TxCount

signals:
    void followUp(vandorelle::FollowUp what);
    // "    Lese Daten von Steuerung ... " + caption: line 7 of both schedule lists.
    void readProgressLine(const QString &line);
    void rxCountChanged(int32_t rxCount);
    void scheduleStartMarker();
    void scheduleEndMarker();       // "sfs" with weekday 255: read-all ends
    void timeSignalEnded();         // "sts"
    // Every frame after its built-in handling, in arrival order (after the counters of its
    // receive event): logbook records, "stc" acknowledgements and diagnostics listen here.
    void frameHandled(const QString &tag, const QString &payload);

private:
    Port *m_port = nullptr;
};

} // namespace vandorelle
