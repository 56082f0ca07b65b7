#pragma once

#include <QByteArray>

namespace vandorelle {

// What the protocol needs of a serial line: queue bytes for transmission.
// The serial port implements it; tests use a fake that records every write.
class Port {
public:
    virtual ~Port() = default;
    // Queues the bytes; false when the port is closed (nothing is sent).
    virtual bool QueueText(const QByteArray &bytes) = 0;
    virtual bool isOpen() const = 0;
};

} // namespace vandorelle
