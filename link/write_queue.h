#pragma once

#include <QByteArray>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vandorelle {

// The write buffer shared by QueueText callers and the write thread, under one lock.
class WriteQueue {
public:
    explicit WriteQueue(int capacity) : m_capacity(capacity) { m_bytes.reserve(capacity); }

    enum class Result { Queued, Full, Refused };
    // All or nothing; waits up to timeout for room. Refused once stopped or failed.
    Result append(const QByteArray &bytes, std::chrono::milliseconds timeout);

    // Write thread: waits until there is something to send; false once stopped.
    bool waitForData();
    QByteArray front(int maxBytes) const;
    // Drops bytes that went out; true when that emptied the buffer.
    bool consume(qsizetype count);
    bool isEmpty() const;

    // The line is gone: drop what is queued and refuse more.
    void fail();
    void stop();

private:
    const int m_capacity;
    mutable std::mutex m_mutex;
    std::condition_variable m_dataQueued;
    std::condition_variable m_roomFreed;
    QByteArray m_bytes;
    bool m_stopped = false;
    bool m_failed = false;
};

} // namespace vandorelle
