#pragma once

#include <QByteArray>

#include <limits>

namespace vandorelle {

// What the protocol needs of a serial line. The serial port implements it; tests use a fake
// that records every write.
class Port {
public:
    virtual ~Port() = default;
    // Queues the bytes; false when the port is closed (nothing is sent).
    virtual bool QueueText(const QByteArray &bytes) = 0;
    virtual bool isOpen() const = 0;
    // Everything received and not yet taken.
    virtual QByteArray ReadAvailable() = 0;
    // How long ago the last byte we queued left the port, in milliseconds; 0 while bytes are
    // still on their way. Silence of the far end is counted from then.
    virtual qint64 msSinceOutputDrained() const { return std::numeric_limits<qint64>::max(); }
};

} // namespace vandorelle
