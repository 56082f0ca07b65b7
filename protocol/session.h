#pragma once

#include "config/store.h"
#include "protocol/device_family.h"
#include "protocol/follow_up.h"
#include "protocol/frame_receiver.h"
#include "protocol/live_values.h"
#include "protocol/port.h"
#include "protocol/status_model.h"
#include "protocol/value_list.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>

namespace vandorelle {

struct RecordKind;

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
    // A port that cannot take the text throws its own error (a full write buffer).
    bool send(const QString &text);

    // The receive event: appends the bytes, updates the counters (count is what the port
    // reported), then cuts every complete frame in arrival order, handles it and announces it
    // through frameHandled before the next. Safe to call from a listener: the bytes are then
    // handled by the running event, in order.
    void receive(const QByteArray &bytes, int count);
    // The port's receive event: takes what the port holds and counts exactly those bytes (the
    // event's own count may be smaller than what has arrived by now).
    void receiveAvailable();
    // The device went away (adapter pulled, far end closed): exchanges end at once.
    void reportLineLost() { emit lineLost(); }

    // Received bytes not yet consumed.
    QByteArrayView ReceiveBuffer() const { return m_receiver.pending(); }
    // Payload of the most recently cut frame, less what ParseValueList consumed of it.
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
    // payload is the whole payload, also when the record failed its check; accepted is false
    // for a record that failed its check or whose numbers could not be read.
    void frameHandled(const QString &tag, const QString &payload, bool accepted);
    void lineLost();

private:
    struct Frame {
        QString tag;
        QString payload;
        bool accepted = true;
    };
    Frame handleFrame(const FrameReceiver::Cut &cut);
    bool dispatch(const RecordKind &kind, const QString &tag);
    void countReceived(int count);

    Port *m_port = nullptr;
    FrameReceiver m_receiver;
    int m_uncounted = 0; // characters reported but not yet added to RxCount
    int32_t m_shownTxCount = 0;
    QString m_shownTxText;
    bool m_receiving = false;
};

} // namespace vandorelle
