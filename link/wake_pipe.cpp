#include "link/wake_pipe.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace vandorelle {

WakePipe::~WakePipe()
{
    for (int fd : m_fds) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool WakePipe::open()
{
    if (::pipe(m_fds) != 0)
        return false;
    for (int fd : m_fds) {
        if (::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0 || ::fcntl(fd, F_SETFL, O_NONBLOCK) != 0)
            return false;
    }
    return true;
}

void WakePipe::signal()
{
    const char byte = 1;
    // A full pipe is signalled already.
    while (::write(m_fds[1], &byte, 1) < 0 && errno == EINTR) {
    }
}

bool WakePipe::waitFor(int timeoutMs) const
{
    pollfd fd{m_fds[0], POLLIN, 0};
    int n;
    while ((n = ::poll(&fd, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    return n > 0;
}

} // namespace vandorelle
