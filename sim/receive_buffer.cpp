#include "sim/receive_buffer.h"

#include <algorithm>

namespace vandorelle::sim {

ReceiveBuffer::ReceiveBuffer(int capacity)
    : capacity_(std::max(1, capacity)),
      holdOffLevel_((3 * capacity_ + 3) / 4),
      resumeLevel_(capacity_ / 4)
{
}

bool ReceiveBuffer::put(char c)
{
    if (size() >= capacity_) {
        ++lost_;
        return false;
    }
    chars_.push_back(c);
    if (!holdingOff_ && size() >= holdOffLevel_) {
        holdingOff_ = true;
        if (flow_) flow_(kXoff);
    }
    return true;
}

char ReceiveBuffer::take()
{
    const char c = chars_.front();
    chars_.pop_front();
    if (holdingOff_ && size() <= resumeLevel_) {
        holdingOff_ = false;
        if (flow_) flow_(kXon);
    }
    return c;
}

int ReceiveBuffer::roomBeforeHoldOff() const
{
    return holdingOff_ ? 0 : std::max(0, holdOffLevel_ - size());
}

} // namespace vandorelle::sim
