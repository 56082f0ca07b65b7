#pragma once

#include <QtGlobal>

#include <deque>
#include <functional>

namespace vandorelle::sim {

constexpr char kXon = 0x11;  // DC1
constexpr char kXoff = 0x13; // DC3

// The controller's receive buffer, of a fixed size, with XON/XOFF flow control: XOFF
// when it is three quarters full, XON when it has drained to a quarter. A character
// that finds it full is lost, as on the real device, and counted.
class ReceiveBuffer {
public:
    using FlowSink = std::function<void(char)>;

    explicit ReceiveBuffer(int capacity);

    void setFlowSink(FlowSink sink) { flow_ = std::move(sink); }

    // False when the character was lost for want of room.
    bool put(char c);
    // The oldest character; the buffer must not be empty.
    char take();

    bool isEmpty() const { return chars_.empty(); }
    int size() const { return int(chars_.size()); }
    int capacity() const { return capacity_; }
    // XOFF sent and no XON since.
    bool holdingOff() const { return holdingOff_; }
    // Characters the line may bring before the next XOFF; 0 while holding off.
    int roomBeforeHoldOff() const;
    qint64 lost() const { return lost_; }

private:
    int capacity_;
    int holdOffLevel_;
    int resumeLevel_;
    std::deque<char> chars_;
    bool holdingOff_ = false;
    qint64 lost_ = 0;
    FlowSink flow_;
};

} // namespace vandorelle::sim
