#pragma once

#include "protocol/port.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QFile>
#include <QString>

namespace vandorelle {
class TVaComm;
}

namespace vandorelle::cli {

// The line log a user sends when something goes wrong: one line per read or write with a
// millisecond time stamp and the direction; printable bytes as text, others as \xNN.
class TraceWriter {
public:
    enum class Direction { Sent, Received, Note };

    // Appends to the file; an empty string on success, else the system's error.
    QString open(const QString &path);
    bool isOpen() const { return m_file.isOpen(); }

    void bytes(Direction direction, QByteArrayView data);
    void note(const QString &text);

    static QByteArray escaped(QByteArrayView data);
    static QByteArray line(const QDateTime &when, Direction direction, QByteArrayView text);

private:
    void append(const QByteArray &line);

    QFile m_file;
};

// The serial port as the protocol sees it, with every write and read passing the trace.
class TracingPort : public Port {
public:
    TracingPort(TVaComm &port, TraceWriter &trace) : m_port(port), m_trace(trace) {}

    bool QueueText(const QByteArray &bytes) override;
    bool isOpen() const override;
    // What the port holds, for the receive event.
    QByteArray ReadAvailable() override;
    qint64 msSinceOutputDrained() const override;

private:
    TVaComm &m_port;
    TraceWriter &m_trace;
};

} // namespace vandorelle::cli
