#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <deque>
#include <functional>
#include <random>

namespace vandorelle::sim {

// Deliberate faults in how the frames reach the line.
struct TransportFaults {
    bool splitBytes = false;  // every byte its own write
    bool mergeFrames = false; // everything pending in one write, across frame boundaries
    bool garbage = false;     // a few stray characters before every frame
    int silenceAfter = -1;    // nothing more after this many frames; -1 never
};

// Writes frames to the line no faster than the baud rate allows (ten bits a
// character), one frame per write unless a fault says otherwise.
class LineWriter : public QObject {
public:
    using Logger = std::function<void(const QString &)>;

    LineWriter(int fd, int baud, TransportFaults faults, uint32_t seed, QObject *parent = nullptr);

    void send(const QByteArray &frame);
    qint64 pendingBytes() const { return pendingBytes_; }
    void setWarningLogger(Logger logger) { warn_ = std::move(logger); }

    // Stray characters for the garbage fault: never "start_" or "ende_", no control bytes.
    static QByteArray garbage(std::mt19937 &rng);

private:
    void flush();
    void refillCredit();
    void scheduleFlush();

    int fd_;
    double bytesPerMs_; // 0: no pacing
    TransportFaults faults_;
    std::mt19937 rng_;
    std::deque<QByteArray> queue_;
    qint64 pendingBytes_ = 0;
    int framesSent_ = 0;
    double credit_ = 0;
    qint64 lastRefillMs_ = 0;
    QElapsedTimer clock_;
    QTimer pace_;
    QSocketNotifier writable_;
    Logger warn_;
};

} // namespace vandorelle::sim
