#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <termios.h>

namespace vandorelle::test {

// A pseudo-terminal standing in for the controller's end of the serial line.
// The slave path is what the port opens; the test plays the far end on the master.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    const QString &slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }

    void writeMaster(const QByteArray &bytes);
    // Reads until count bytes have come or the limit has passed.
    QByteArray readMaster(qsizetype count, std::chrono::milliseconds limit = std::chrono::seconds(10));
    // What has arrived by now (waits briefly for stragglers).
    QByteArray drainMaster(std::chrono::milliseconds settle = std::chrono::milliseconds(100));
    void closeMaster();

    // The slave's line settings as the port left them.
    termios slaveSettings() const;

private:
    int m_master = -1;
    int m_slave = -1; // held so the line survives the port closing and reopening
    QString m_slavePath;
};

} // namespace vandorelle::test
