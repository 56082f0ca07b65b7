#pragma once

namespace vandorelle {

// A pipe whose read end turns readable for good once signalled; threads put it beside
// the device in poll() so they can be stopped at any moment.
class WakePipe {
public:
    WakePipe() = default;
    ~WakePipe();
    WakePipe(const WakePipe &) = delete;
    WakePipe &operator=(const WakePipe &) = delete;

    bool open(); // false with errno set
    void signal();
    int readFd() const { return m_fds[0]; }
    // Sleeps up to timeoutMs; true when signalled.
    bool waitFor(int timeoutMs) const;

private:
    int m_fds[2] = {-1, -1};
};

} // namespace vandorelle
