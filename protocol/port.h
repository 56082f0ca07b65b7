#pragma once

#include <QByteArray>

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
    // True while bytes we queued have not yet left the port; silence is counted from then.
    virtual bool outputPending() const { return false; }
};

} // namespace vandorelle
