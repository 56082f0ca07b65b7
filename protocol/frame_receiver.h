#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace vandorelle {

// Collects the received bytes and cuts "start_" + tag + payload + "ende_" frames from them,
// in arrival order. Every scan resumes where the previous one stopped, so the cost is
// linear in the bytes received however they are chunked.
class FrameReceiver {
public:
    struct Cut {
        enum Kind {
            Frame,   // a complete frame; tag and payload are set
            Garbage, // bytes that can never belong to a frame were dropped
        };
        Kind kind = Frame;
        QByteArray tag;
        QByteArray payload;
    };

    static constexpr QByteArrayView kStart = "start_";
    static constexpr QByteArrayView kEnd = "ende_";
    // No frame of the controller comes near this; a "start_" that has waited this long for
    // its "ende_" belonged to a frame that was broken off.
    static constexpr qsizetype kMaxFrameLength = 4096;

    void append(QByteArrayView bytes);
    // The next frame or garbage drop, in buffer order; nullopt when nothing more can be cut
    // until more bytes arrive. Without a "start_" only the last five bytes are kept (they
    // may begin one).
    std::optional<Cut> next();
    // The bytes not yet consumed.
    QByteArrayView pending() const { return QByteArrayView(m_buf).sliced(m_head); }
    // Frees the consumed front of the buffer.
    void compact();

private:
    void consumeTo(qsizetype position);

    QByteArray m_buf;
    qsizetype m_head = 0;
    // Scans resume here: no "ende_" starts in [m_head, m_endScan), no "start_" in
    // [m_head, m_startScan).
    qsizetype m_endScan = 0;
    qsizetype m_startScan = 0;
};

} // namespace vandorelle
