#include "link/comm_errors.h"

#include <array>
#include <cstring>

namespace vandorelle {

namespace {

struct StepMessage {
    CommStep step;
    const char *format; // %1 the error code, %2 its text
};

constexpr std::array kStepMessages{
    StepMessage{CommStep::WriteDcb, "Error writing dcb (%1), %2"},
    StepMessage{CommStep::InitBuffers, "Error initializing buffers (%1), %2"},
    StepMessage{CommStep::SetTimeouts, "Error setting timeouts (%1), %2"},
    StepMessage{CommStep::SetEventMask, " Error setting EventMask (%1), %2"},
    StepMessage{CommStep::GetStatistics, "Error retrieving statistics (%1), %2"},
    StepMessage{CommStep::Write, "Write error (%1), %2"},
    StepMessage{CommStep::Read, "Read error (%1), %2"},
};

// strerror_r comes in a GNU and an XSI flavour; these pick the text from either.
[[maybe_unused]] const char *errorText(const char *result, const char *) { return result; }
[[maybe_unused]] const char *errorText(int result, const char *buffer)
{
    return result == 0 ? buffer : "Unknown error";
}

QString systemText(int err)
{
    char buffer[256] = {};
    return QString::fromLocal8Bit(errorText(strerror_r(err, buffer, sizeof buffer), buffer));
}

} // namespace

EVaCommError commError(CommStep step, int err)
{
    for (const StepMessage &entry : kStepMessages) {
        if (entry.step == step)
            return EVaCommError(QString::fromLatin1(entry.format).arg(QString::number(err), systemText(err)));
    }
    return EVaCommError(systemText(err));
}

EVaCommError deviceNotFound(const QString &device)
{
    return EVaCommError(QStringLiteral("Specified device not found (%1).").arg(device));
}

EVaCommError cantOpenDevice(const QString &device, int err)
{
    return EVaCommError(QStringLiteral("Can't open specified device %1").arg(device)
                        + QStringLiteral(" (Error %1, %2)").arg(QString::number(err), systemText(err)));
}

EVaCommError outputBufferFull(bool repeated)
{
    return EVaCommError(QStringLiteral("Output buffer is full. Please check comm status."), repeated);
}

EVaCommError portIsOpen()
{
    return EVaCommError(QStringLiteral("Can't perform this operation while port is open"));
}

} // namespace vandorelle
