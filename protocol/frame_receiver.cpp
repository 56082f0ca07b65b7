#include "protocol/frame_receiver.h"

#include <algorithm>

namespace vandorelle {

namespace {
qsizetype find(const QByteArray &buf, QByteArrayView marker, qsizetype from, qsizetype to)
{
    if (to - from < marker.size())
        return -1;
    const qsizetype at = QByteArrayView(buf).sliced(from, to - from).indexOf(marker);
    return at < 0 ? -1 : from + at;
}
} // namespace

void FrameReceiver::append(QByteArrayView bytes)
{
    m_buf.append(bytes);
}

void FrameReceiver::consumeTo(qsizetype position)
{
    m_head = std::min(position, m_buf.size());
    m_endScan = std::max(m_endScan, m_head);
    m_startScan = std::max(m_startScan, m_head);
}

std::optional<FrameReceiver::Cut> FrameReceiver::next()
{
    const qsizetype size = m_buf.size();
    const qsizetype end = find(m_buf, kEnd, std::max(m_head, m_endScan), size);
    if (end < 0) {
        m_endScan = std::max(m_head, size - (kEnd.size() - 1));
        const qsizetype start = find(m_buf, kStart, std::max(m_head, m_startScan), size);
        if (start < 0) {
            m_startScan = std::max(m_head, size - (kStart.size() - 1));
            consumeTo(std::max(m_head, size - (kStart.size() - 1)));
            return std::nullopt;
        }
        m_startScan = start;
        if (size - start <= kMaxFrameLength)
            return std::nullopt;
        // Abandon the broken frame; a later "start_" may still begin a good one.
        consumeTo(start + 1);
        return Cut{Cut::Garbage, {}, {}};
    }

    // "start_" and "ende_" cannot overlap, so the frame's start lies wholly before its end.
    const qsizetype start = find(m_buf, kStart, std::max(m_head, m_startScan), end);
    consumeTo(end + kEnd.size());
    if (start < 0)
        return Cut{Cut::Garbage, {}, {}};

    const qsizetype tagFrom = start + kStart.size();
    const qsizetype tagTo = std::min(tagFrom + 3, end);
    Cut cut;
    cut.tag = m_buf.sliced(tagFrom, tagTo - tagFrom);
    if (end > tagTo)
        cut.payload = m_buf.sliced(tagTo, end - tagTo);
    return cut;
}

void FrameReceiver::compact()
{
    if (m_head == 0)
        return;
    m_buf.remove(0, m_head);
    m_endScan -= m_head;
    m_startScan -= m_head;
    m_head = 0;
}

} // namespace vandorelle
