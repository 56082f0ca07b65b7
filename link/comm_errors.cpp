#include "link/comm_errors.h"

#include <QFile>

#include <array>
#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <vector>

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

// Serial devices belong to this group on Debian and its relatives.
const QString kUsualGroup = QStringLiteral("dialout");

// The group whose members may open the device; the usual one when the node says nothing useful.
QString deviceGroup(const QString &device)
{
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0 || st.st_gid == 0)
        return kUsualGroup;
    std::vector<char> buffer(16384);
    group entry{};
    group *found = nullptr;
    if (getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return kUsualGroup;
    return QString::fromLocal8Bit(found->gr_name);
}

struct OpenRemedy {
    std::initializer_list<int> errors;
    const char *text; // %1 the device, %2 its group
};

const OpenRemedy kOpenRemedies[] = {
    {{EACCES, EPERM},
     "Keine Berechtigung für %1: Zugriff haben nur Mitglieder der Gruppe „%2“.\n"
     "Abhilfe: sudo usermod -aG %2 $USER eingeben, dann ab- und wieder anmelden."},
    {{EBUSY, EWOULDBLOCK},
     "Das Gerät %1 wird schon von einem anderen Programm benutzt.\n"
     "Abhilfe: das andere Programm (z. B. ein Terminalprogramm) beenden und die Schnittstelle erneut wählen."},
    {{ENOENT},
     "Das Gerät %1 ist nicht vorhanden.\n"
     "Abhilfe: den Adapter einstecken oder eine vorhandene Schnittstelle wählen."},
    {{ENXIO, ENODEV, EIO},
     "Unter %1 antwortet keine Schnittstelle.\n"
     "Abhilfe: eine vorhandene Schnittstelle wählen."},
};

QString openRemedy(const QString &device, int err)
{
    for (const OpenRemedy &entry : kOpenRemedies) {
        for (int e : entry.errors) {
            if (e == err) {
                const QString text = QString::fromUtf8(entry.text);
                return text.contains(QLatin1String("%2")) ? text.arg(device, deviceGroup(device)) : text.arg(device);
            }
        }
    }
    return {};
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
    return EVaCommError(QStringLiteral("Specified device not found (%1).").arg(device), ENOENT,
                        openRemedy(device, ENOENT));
}

EVaCommError cantOpenDevice(const QString &device, int err)
{
    return EVaCommError(QStringLiteral("Can't open specified device %1").arg(device)
                            + QStringLiteral(" (Error %1, %2)").arg(QString::number(err), systemText(err)),
                        err, openRemedy(device, err));
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
