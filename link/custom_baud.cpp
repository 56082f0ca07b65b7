// Kept apart: the kernel's termios2 header clashes with <termios.h>.
#include "link/serial_device.h"

#include <cerrno>

#if defined(__linux__)
#include <asm/termbits.h>
#include <sys/ioctl.h>
#endif

namespace vandorelle {

bool setCustomBaudrate(int fd, int rate)
{
#if defined(__linux__) && defined(BOTHER) && defined(TCGETS2)
    struct termios2 t {};
    if (::ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = static_cast<speed_t>(rate);
    t.c_ospeed = static_cast<speed_t>(rate);
    return ::ioctl(fd, TCSETS2, &t) == 0;
#else
    (void)fd;
    (void)rate;
    errno = EINVAL;
    return false;
#endif
}

} // namespace vandorelle
