#pragma once

#include "link/serial_port.h"

namespace vandorelle {

// Steps whose failure carries the system's error code and text.
enum class CommStep {
    WriteDcb,        // line settings, modem lines
    InitBuffers,     // flushing the queues
    SetTimeouts,     // non-blocking reads
    SetEventMask,    // the wake channel of the threads
    GetStatistics,   // input count, error counters
    Write,
    Read,
};

EVaCommError commError(CommStep step, int err);
EVaCommError deviceNotFound(const QString &device);
EVaCommError cantOpenDevice(const QString &device, int err);
EVaCommError outputBufferFull(bool repeated = false);
EVaCommError portIsOpen();

} // namespace vandorelle
