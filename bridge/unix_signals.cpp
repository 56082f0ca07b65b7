#include "bridge/unix_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vandorelle::bridge {

namespace {

int g_pipe[2] = {-1, -1};

void onSignal(int signo)
{
    const int saved = errno;
    const char byte = char(signo);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

constexpr int kHandled[] = {SIGTERM, SIGINT, SIGHUP, SIGUSR1, SIGUSR2};

} // namespace

UnixSignals::UnixSignals(QObject *parent) : QObject(parent)
{
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signo : kHandled)
        ::sigaction(signo, &action, nullptr);
    // A broker that goes away mid-write must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UnixSignals::readSignals);
}

UnixSignals::~UnixSignals()
{
    for (int signo : kHandled)
        std::signal(signo, SIG_DFL);
    for (int &fd : g_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void UnixSignals::readSignals()
{
    char signo = 0;
    while (::read(g_pipe[0], &signo, 1) == 1) {
        switch (signo) {
        case SIGTERM: emit terminate(QStringLiteral("SIGTERM")); break;
        case SIGINT: emit terminate(QStringLiteral("SIGINT")); break;
        case SIGHUP: emit terminate(QStringLiteral("SIGHUP")); break;
        case SIGUSR1: emit release(); break;
        case SIGUSR2: emit takeBack(); break;
        default: break;
        }
    }
}

} // namespace vandorelle::bridge
