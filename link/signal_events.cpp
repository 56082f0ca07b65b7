#include "link/signal_events.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vandorelle {

namespace {

int g_pipe[2] = {-1, -1};

void onSignal(int signo)
{
    const int saved = errno;
    const char byte = char(signo);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

SignalEvents::SignalEvents(QObject *parent) : QObject(parent) {}

SignalEvents::~SignalEvents()
{
    for (int signo : m_handled)
        std::signal(signo, SIG_DFL);
}

bool SignalEvents::install(std::initializer_list<int> signos)
{
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signo : signos) {
        if (::sigaction(signo, &action, nullptr) != 0)
            return false;
        m_handled.push_back(signo);
    }
    if (!m_notifier) {
        m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &SignalEvents::readSignals);
    }
    return true;
}

void SignalEvents::readSignals()
{
    char signo = 0;
    while (::read(g_pipe[0], &signo, 1) == 1)
        emit received(int(signo));
}

} // namespace vandorelle
