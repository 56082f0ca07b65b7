#include "support/pty_pair.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <unistd.h>

namespace vandorelle::test {

using Clock = std::chrono::steady_clock;

PtyPair::PtyPair()
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    // No echo of what the far end writes before the port has set the line up.
    termios t{};
    ::tcgetattr(m_slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(m_slave, TCSANOW, &t);
    m_slavePath = QFile::decodeName(name);
}

PtyPair::~PtyPair()
{
    closeMaster();
    if (m_slave >= 0)
        ::close(m_slave);
}

void PtyPair::writeMaster(const QByteArray &bytes)
{
    qsizetype done = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (done < bytes.size() && Clock::now() < deadline) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            throw std::runtime_error("write to pty master failed");
        } else {
            pollfd fd{m_master, POLLOUT, 0};
            ::poll(&fd, 1, 50);
        }
    }
}

QByteArray PtyPair::readMaster(qsizetype count, std::chrono::milliseconds limit)
{
    QByteArray got;
    const auto deadline = Clock::now() + limit;
    char buffer[4096];
    while (got.size() < count && Clock::now() < deadline) {
        pollfd fd{m_master, POLLIN, 0};
        if (::poll(&fd, 1, 20) <= 0)
            continue;
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0)
            got.append(buffer, n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            break;
    }
    return got;
}

QByteArray PtyPair::drainMaster(std::chrono::milliseconds settle)
{
    QByteArray got;
    for (;;) {
        const QByteArray more = readMaster(1 << 20, settle);
        if (more.isEmpty())
            return got;
        got += more;
    }
}

void PtyPair::closeMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

termios PtyPair::slaveSettings() const
{
    termios t{};
    ::tcgetattr(m_slave, &t);
    return t;
}

} // namespace vandorelle::test
