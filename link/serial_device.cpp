#include "link/serial_device.h"

#include "link/comm_errors.h"

#include <QFile>

#include <array>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#ifdef __linux__
#include <linux/serial.h>
#endif

namespace vandorelle {

namespace {

struct RateEntry {
    Baudrate setting;
    int rate;
};

constexpr std::array kRates{
    RateEntry{Baudrate::br110, 110},       RateEntry{Baudrate::br300, 300},
    RateEntry{Baudrate::br600, 600},       RateEntry{Baudrate::br1200, 1200},
    RateEntry{Baudrate::br2400, 2400},     RateEntry{Baudrate::br4800, 4800},
    RateEntry{Baudrate::br9600, 9600},     RateEntry{Baudrate::br14400, 14400},
    RateEntry{Baudrate::br19200, 19200},   RateEntry{Baudrate::br38400, 38400},
    RateEntry{Baudrate::br56000, 56000},   RateEntry{Baudrate::br57600, 57600},
    RateEntry{Baudrate::br115200, 115200}, RateEntry{Baudrate::br128000, 128000},
    RateEntry{Baudrate::br256000, 256000},
};

struct SpeedEntry {
    int rate;
    speed_t speed;
};

constexpr std::array kSpeeds{
    SpeedEntry{50, B50},         SpeedEntry{75, B75},         SpeedEntry{110, B110},
    SpeedEntry{134, B134},       SpeedEntry{150, B150},       SpeedEntry{200, B200},
    SpeedEntry{300, B300},       SpeedEntry{600, B600},       SpeedEntry{1200, B1200},
    SpeedEntry{1800, B1800},     SpeedEntry{2400, B2400},     SpeedEntry{4800, B4800},
    SpeedEntry{9600, B9600},     SpeedEntry{19200, B19200},   SpeedEntry{38400, B38400},
    SpeedEntry{57600, B57600},   SpeedEntry{115200, B115200}, SpeedEntry{230400, B230400},
#ifdef B460800
    SpeedEntry{460800, B460800},
#endif
#ifdef B921600
    SpeedEntry{921600, B921600},
#endif
};

constexpr tcflag_t kDataBits[] = {0 /* db4: no such size */, CS5, CS6, CS7, CS8};

#ifdef CMSPAR
constexpr tcflag_t kStickParity = CMSPAR;
#else
constexpr tcflag_t kStickParity = 0;
#endif

constexpr tcflag_t kFramingBits = CSIZE | PARENB | PARODD | CSTOPB | kStickParity;

[[noreturn]] void failDcb(int err) { throw commError(CommStep::WriteDcb, err); }

// Rate, data bits, parity and stop bits into t; throws on what termios cannot express.
void setFraming(termios &t, const LineSettings &settings, bool *needsCustomRate)
{
    const auto bits = static_cast<size_t>(settings.databits);
    if (bits >= std::size(kDataBits) || kDataBits[bits] == 0)
        failDcb(EINVAL);
    tcflag_t cflag = kDataBits[bits];
    switch (settings.parity) {
    case Parity::paNone: break;
    case Parity::paOdd: cflag |= PARENB | PARODD; break;
    case Parity::paEven: cflag |= PARENB; break;
    case Parity::paMark:
    case Parity::paSpace:
        if (kStickParity == 0)
            failDcb(EINVAL);
        cflag |= PARENB | kStickParity | (settings.parity == Parity::paMark ? PARODD : 0);
        break;
    }
    // Two stop bits become one and a half on a UART set to five data bits.
    if (settings.stopbits != Stopbits::sb1)
        cflag |= CSTOPB;
    t.c_cflag = (t.c_cflag & ~kFramingBits) | cflag;

    const int rate = bitsPerSecond(settings);
    if (rate <= 0)
        failDcb(EINVAL);
    *needsCustomRate = true;
    for (const SpeedEntry &entry : kSpeeds) {
        if (entry.rate == rate) {
            cfsetispeed(&t, entry.speed);
            cfsetospeed(&t, entry.speed);
            *needsCustomRate = false;
        }
    }
}

void writeTermios(int fd, const termios &wanted, const LineSettings &settings, bool needsCustomRate)
{
    if (tcsetattr(fd, TCSANOW, &wanted) != 0)
        failDcb(errno);
    if (needsCustomRate && !setCustomBaudrate(fd, bitsPerSecond(settings)))
        failDcb(errno ? errno : EINVAL);
    // tcsetattr succeeds when any part was taken; a driver that cannot do the framing drops it.
    termios actual{};
    if (tcgetattr(fd, &actual) != 0)
        failDcb(errno);
    if ((actual.c_cflag & kFramingBits) != (wanted.c_cflag & kFramingBits))
        failDcb(EINVAL);
}

bool modemControlUnsupported(int err) { return err == ENOTTY || err == EINVAL; }

int systemOpen(const char *path, int flags) { return ::open(path, flags); }

std::atomic<DeviceOpenCall> g_openCall{systemOpen};

} // namespace

DeviceOpenCall setDeviceOpenCall(DeviceOpenCall call)
{
    return g_openCall.exchange(call ? call : systemOpen);
}

int bitsPerSecond(const LineSettings &settings)
{
    if (settings.baudrate == Baudrate::brUser)
        return settings.userBaudrate;
    for (const RateEntry &entry : kRates) {
        if (entry.setting == settings.baudrate)
            return entry.rate;
    }
    return 0;
}

int openSerialDevice(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = g_openCall.load()(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT)
            throw deviceNotFound(path);
        throw cantOpenDevice(path, err);
    }
    // TIOCEXCL keeps others out, except privileged ones; the lock covers those that also lock.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        throw cantOpenDevice(path, err);
    }
#ifdef TIOCEXCL
    ::ioctl(fd, TIOCEXCL);
#endif
    return fd;
}

void configureSerialDevice(int fd, const LineSettings &settings)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        failDcb(errno);
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
#ifdef CRTSCTS
    t.c_cflag &= ~CRTSCTS;
#endif
    t.c_iflag &= ~(IXANY | INPCK);
    t.c_iflag |= IXON | IXOFF;
    t.c_cc[VSTART] = 17;
    t.c_cc[VSTOP] = 19;
    // A read returns at once with what has arrived.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    bool needsCustomRate = false;
    setFraming(t, settings, &needsCustomRate);
    // Output stopped by an XOFF for an earlier user stays stopped until IXON goes off once.
    termios released = t;
    released.c_iflag &= ~IXON;
    if (tcsetattr(fd, TCSANOW, &released) != 0)
        failDcb(errno);
    writeTermios(fd, t, settings, needsCustomRate);

    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd, TIOCMBIC, &lines) != 0 && !modemControlUnsupported(errno))
        failDcb(errno);

    // A fresh port starts with empty queues and output running, whatever an earlier user left.
    if (tcflush(fd, TCIOFLUSH) != 0 || tcflow(fd, TCOON) != 0)
        throw commError(CommStep::InitBuffers, errno);

    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0)
        throw commError(CommStep::SetTimeouts, errno);
}

void applyLineSettings(int fd, const LineSettings &settings)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        failDcb(errno);
    bool needsCustomRate = false;
    setFraming(t, settings, &needsCustomRate);
    writeTermios(fd, t, settings, needsCustomRate);
}

void closeSerialDevice(int fd)
{
    if (fd < 0)
        return;
    tcflush(fd, TCOFLUSH);
#ifdef TIOCNXCL
    ::ioctl(fd, TIOCNXCL);
#endif
    ::close(fd);
}

int inputQueueCount(int fd)
{
    int count = 0;
    if (::ioctl(fd, FIONREAD, &count) != 0)
        throw commError(CommStep::GetStatistics, errno);
    return count;
}

bool LineErrorCounters::reset(int fd)
{
    m_supported = true;
    try {
        takeNew(fd);
    } catch (const EVaCommError &) {
        m_supported = false;
    }
    return m_supported;
}

int LineErrorCounters::takeNew(int fd)
{
    if (!m_supported)
        return 0;
#if defined(__linux__) && defined(TIOCGICOUNT)
    serial_icounter_struct counts{};
    if (::ioctl(fd, TIOCGICOUNT, &counts) != 0) {
        if (modemControlUnsupported(errno)) {
            m_supported = false; // a pseudo-terminal counts nothing
            return 0;
        }
        throw commError(CommStep::GetStatistics, errno);
    }
    const struct {
        int now;
        int *last;
        int bit;
    } counters[] = {
        {counts.frame, &m_frame, LineError::Frame},
        {counts.overrun, &m_overrun, LineError::Overrun},
        {counts.parity, &m_parity, LineError::Parity},
        {counts.brk, &m_brk, LineError::Break},
        {counts.buf_overrun, &m_bufOverrun, LineError::RxOver},
    };
    int errors = 0;
    for (const auto &counter : counters) {
        if (counter.now != *counter.last)
            errors |= counter.bit;
        *counter.last = counter.now;
    }
    return errors;
#else
    (void)fd;
    m_supported = false;
    return 0;
#endif
}

} // namespace vandorelle
