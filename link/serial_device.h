#pragma once

#include "link/serial_port.h"

#include <QString>

namespace vandorelle {

struct LineSettings {
    Baudrate baudrate = Baudrate::br1200;
    int userBaudrate = 1200;
    Databits databits = Databits::db8;
    Parity parity = Parity::paNone;
    Stopbits stopbits = Stopbits::sb1;
};

// The bits per second a setting stands for.
int bitsPerSecond(const LineSettings &settings);

// Opens the device for exclusive, non-blocking use; throws EVaCommError.
int openSerialDevice(const QString &path);

// The open(2) that openSerialDevice calls. Tests put in one that fails as the system would
// for a user without permission: they run as root, whom no mode bits stop. nullptr restores
// open(2); returns the call in use before.
using DeviceOpenCall = int (*)(const char *path, int flags);
DeviceOpenCall setDeviceOpenCall(DeviceOpenCall call);

// Full set-up after opening: line settings, flow control, modem lines, queues, non-blocking
// reads. Throws EVaCommError; the caller closes the device.
void configureSerialDevice(int fd, const LineSettings &settings);

// Re-applies rate and framing to an open device; throws EVaCommError.
void applyLineSettings(int fd, const LineSettings &settings);

// Discards unsent output (so close cannot wait on a stopped line), releases exclusivity, closes.
void closeSerialDevice(int fd);

// Bytes waiting in the input queue; throws EVaCommError.
int inputQueueCount(int fd);

// Tracks the driver's error counters (where it keeps any) and reports what is new.
class LineErrorCounters {
public:
    // Takes the current counts as the base; returns false when the device keeps none.
    bool reset(int fd);
    // LineError bits for every counter that grew since the last call; throws EVaCommError.
    int takeNew(int fd);

private:
    bool m_supported = false;
    int m_frame = 0, m_overrun = 0, m_parity = 0, m_brk = 0, m_bufOverrun = 0;
};

// Implemented where the platform allows rates that have no speed constant.
bool setCustomBaudrate(int fd, int rate);

} // namespace vandorelle
