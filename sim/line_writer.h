#pragma once

#include "sim/line_pace.h"

#include <QByteArray>
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
    // XON or XOFF of our own receive side: goes out ahead of every waiting frame, also
    // while the tool holds our output.
    void sendFlowControl(char c);
    // The tool's XOFF (true) and XON (false).
    void holdOutput(bool held);
    bool outputHeld() const { return held_; }
    qint64 pendingBytes() const { return pendingBytes_; }
    void setWarningLogger(Logger logger) { warn_ = std::move(logger); }

    // Stray characters for the garbage fault: never "start_" or "ende_", no control bytes.
    static QByteArray garbage(std::mt19937 &rng);

private:
    void flush();
    bool flushFlowControl();
    void waitUntilWritable();
    void scheduleFlush();

    int fd_;
    LinePace pace_;
    TransportFaults faults_;
    std::mt19937 rng_;
    std::deque<QByteArray> queue_;
    QByteArray flowControl_;
    qint64 pendingBytes_ = 0;
    int framesSent_ = 0;
    bool held_ = false;
    QTimer paceTimer_;
    QSocketNotifier writable_;
    Logger warn_;
};

} // namespace vandorelle::sim
