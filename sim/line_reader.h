#pragma once

#include "sim/line_pace.h"

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <functional>

namespace vandorelle::sim {

class LineWriter;

// Takes the tool's characters from the line no faster than the baud rate allows, and
// only as many as the controller has room for before its XOFF. While the controller
// holds the line off nothing is taken: what the tool wrote waits in the terminal, as
// it would in the PC's transmit queue. The tool's own XON and XOFF stop and start the
// writer and never reach the controller.
class LineReader : public QObject {
public:
    using Sink = std::function<void(const QByteArray &data)>;
    using Room = std::function<int()>;

    LineReader(int fd, int baud, LineWriter &writer, Sink sink, Room room, QObject *parent = nullptr);

    // The controller has room again; takes up reading after the current event.
    void resume();

private:
    void pump();
    void deliver(const char *bytes, qint64 count);
    void waitForData();
    void waitForCredit();
    void waitForRoom();

    int fd_;
    LinePace pace_;
    LineWriter &writer_;
    Sink sink_;
    Room room_;
    QTimer paceTimer_;
    QSocketNotifier readable_;
};

} // namespace vandorelle::sim
