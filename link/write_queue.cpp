#include "link/write_queue.h"

namespace vandorelle {

WriteQueue::Result WriteQueue::append(const QByteArray &bytes, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    if (m_stopped || m_failed)
        return Result::Refused;
    // More than the whole buffer never fits; waiting would only delay the same answer.
    if (bytes.size() > m_capacity)
        return Result::Full;
    const bool ready = m_roomFreed.wait_for(lock, timeout, [&] {
        return m_stopped || m_failed || m_bytes.size() + bytes.size() <= m_capacity;
    });
    if (m_stopped || m_failed)
        return Result::Refused;
    if (!ready)
        return Result::Full;
    // Copied, never shared: the caller's array may be released on another thread.
    m_bytes.append(bytes.constData(), bytes.size());
    m_dataQueued.notify_one();
    return Result::Queued;
}

bool WriteQueue::waitForData()
{
    std::unique_lock lock(m_mutex);
    m_dataQueued.wait(lock, [&] { return m_stopped || (!m_failed && !m_bytes.isEmpty()); });
    return !m_stopped;
}

QByteArray WriteQueue::front(int maxBytes) const
{
    std::lock_guard lock(m_mutex);
    // A deep copy: the write thread then shares nothing with the buffer outside the lock.
    return QByteArray(m_bytes.constData(), qMin(qsizetype(maxBytes), m_bytes.size()));
}

bool WriteQueue::consume(qsizetype count)
{
    std::lock_guard lock(m_mutex);
    // After fail() the bytes in flight are gone from the buffer already.
    if (m_failed || count <= 0)
        return false;
    m_bytes.remove(0, count);
    m_roomFreed.notify_all();
    return m_bytes.isEmpty();
}

bool WriteQueue::isEmpty() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes.isEmpty();
}

void WriteQueue::fail()
{
    std::lock_guard lock(m_mutex);
    m_failed = true;
    m_bytes.clear();
    m_roomFreed.notify_all();
    m_dataQueued.notify_all();
}

void WriteQueue::stop()
{
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    m_bytes.clear();
    m_roomFreed.notify_all();
    m_dataQueued.notify_all();
}

} // namespace vandorelle
