#include "cli/trace.h"

#include "link/serial_port.h"

namespace vandorelle::cli {

QString TraceWriter::open(const QString &path)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        return m_file.errorString();
    return {};
}

QByteArray TraceWriter::escaped(QByteArrayView data)
{
    static const char kHex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(data.size());
    for (const char c : data) {
        const auto b = static_cast<unsigned char>(c);
        // The backslash is escaped too, so that a logged "\x0D" is never ambiguous.
        if (b >= 0x20 && b < 0x7F && b != '\\') {
            out += c;
        } else {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
    }
    return out;
}

QByteArray TraceWriter::line(const QDateTime &when, Direction direction, QByteArrayView text)
{
    const char *tag = direction == Direction::Sent ? "TX" : direction == Direction::Received ? "RX" : "--";
    QByteArray out = when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
    out += ' ';
    out += tag;
    out += ' ';
    out += text;
    out += '\n';
    return out;
}

void TraceWriter::bytes(Direction direction, QByteArrayView data)
{
    if (isOpen())
        append(line(QDateTime::currentDateTime(), direction, escaped(data)));
}

void TraceWriter::note(const QString &text)
{
    if (isOpen())
        append(line(QDateTime::currentDateTime(), Direction::Note, escaped(text.toUtf8())));
}

void TraceWriter::append(const QByteArray &line)
{
    // Flushed line by line: the log must be complete up to the moment something went wrong.
    m_file.write(line);
    m_file.flush();
}

bool TracingPort::QueueText(const QByteArray &bytes)
{
    bool queued = false;
    try {
        queued = m_port.QueueText(bytes);
    } catch (const EVaCommError &e) {
        m_trace.bytes(TraceWriter::Direction::Sent, bytes);
        m_trace.note(QStringLiteral("the port refused the write above: ") + e.message());
        throw;
    }
    m_trace.bytes(TraceWriter::Direction::Sent, bytes);
    if (!queued)
        m_trace.note(QStringLiteral("the port did not take the write above"));
    return queued;
}

bool TracingPort::isOpen() const
{
    return m_port.isOpen();
}

qint64 TracingPort::msSinceOutputDrained() const
{
    return m_port.msSinceOutputDrained();
}

QByteArray TracingPort::ReadAvailable()
{
    const QByteArray bytes = m_port.ReadAvailable();
    if (!bytes.isEmpty())
        m_trace.bytes(TraceWriter::Direction::Received, bytes);
    return bytes;
}

} // namespace vandorelle::cli
