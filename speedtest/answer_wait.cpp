#include "speedtest/answer_wait.h"

#include <algorithm>

namespace speed {

int AnswerWait::ms() const
{
    const int slowest = *std::max_element(recent_.begin(), recent_.end());
    return std::clamp(slowest + kMarginMs, kFloorMs, kCapMs);
}

void AnswerWait::answered(int ms)
{
    recent_[next_] = ms;
    next_ = (next_ + 1) % kRecent;
}

}  // namespace speed
