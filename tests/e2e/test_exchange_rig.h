#pragma once

#include "link/serial_port.h"
#include "protocol/read_all.h"
#include "protocol/send_all.h"
#include "protocol/session.h"
#include "support/emulator.h"

#include <QStringList>

#include <cstdint>
#include <functional>

namespace vandorelle::test {

// Model strings of the device families (characters 9, 13, 14, 15, 16 count).
inline const QString kFullModel = QStringLiteral("VC-7000 WGS-9STG 32M");
inline const QString kConservatoryModel = QStringLiteral("VC-7000 W---9--- 32M");
inline const QString kShadingRadioModel = QStringLiteral("VC-7000 R---9SF- 32M");
inline const QString kPlainModel = QStringLiteral("VC-7000 R---4--- 8M");

bool waitUntil(const std::function<bool()> &done, int timeoutMs);

// Counts what the session hands to the port.
class CountingPort : public Port {
public:
    explicit CountingPort(Port &inner) : m_inner(inner) {}
    bool QueueText(const QByteArray &bytes) override
    {
        bytes_ += bytes.size();
        return m_inner.QueueText(bytes);
    }
    bool isOpen() const override { return m_inner.isOpen(); }
    QByteArray ReadAvailable() override { return m_inner.ReadAvailable(); }
    qint64 msSinceOutputDrained() const override { return m_inner.msSinceOutputDrained(); }
    qint64 bytes_ = 0;

private:
    Port &m_inner;
};

// The tool's core on the real serial port, talking to the emulated controller.
class ExchangeRig {
public:
    ExchangeRig();
    ~ExchangeRig();

    // Starts the emulator with the options, opens the port on it, asks for model and date
    // and takes the device family from the model. False with why() on failure.
    bool connect(const QStringList &simOptions);
    QString why() const { return m_why; }

    // Runs the exchange until it finishes or the bound; true when it finished.
    bool readAll(int boundMs = 30000);
    bool sendAll(int boundMs = 30000);

    Emulator emulator;
    ConfigStore store;
    StatusModel status;
    Session session{store, status};
    TVaComm port;
    CountingPort counting{port};
    ReadAllExchange readExchange{session};
    SendAllExchange sendExchange{session};

    bool lastCompleted = false;
    QString lastMessage;
    QStringList errorTexts; // every text panel 5 showed
    qint64 bytesReceived = 0;    // what the port delivered (RxCount adds the events' counts)
    qint64 longestReceiveNs = 0; // the longest receive event, batches sent from it included

private:
    bool runUntilFinished(const std::function<bool()> &start, int boundMs);
    bool m_finished = false;
    QString m_why;
};

// A configuration in which nearly every field differs from the start values, with codes
// inside their ranges and a schedule whose group entries stand on each of their days.
ConfigStore distinctiveStore(uint32_t seed);

// Its schedule replaced by 240 single-day entries, all on Monday: the controller's whole
// memory in one weekday batch (about 7.4 kB, 7.7 s at 9600 baud).
ConfigStore withFullMonday(ConfigStore store);

// What a read from a controller holding `sent` leaves in a store that held `before`,
// for the device family: the records the family reads come from `sent` (names as the
// first 12 characters), the others stay; nothing pending.
ConfigStore expectedAfterRead(const ConfigStore &before, const ConfigStore &sent, const DeviceFlags &flags);

// Both stores compared field group by field group; empty when equal, else what differs.
// Names compare without trailing blanks.
QString storeDifference(const ConfigStore &expected, const ConfigStore &actual);

} // namespace vandorelle::test
