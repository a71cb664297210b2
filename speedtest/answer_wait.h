#pragma once
// How long a speed tick waits for the ESC's answer. A pseudo-terminal or a
// direct port answers within a few milliseconds, and the wait is the design's
// 20 ms. A USB-serial adapter holds received bytes back (an FTDI chip up to its
// 16 ms latency timer), so an answer can come later than that; the wait then
// grows to cover the slowest of the port's recent answers, plus a margin, up
// to a cap, and shrinks again as the slow answers age out.

#include <array>

namespace speed {

class AnswerWait {
public:
    static constexpr int kFloorMs = 20;
    static constexpr int kMarginMs = 5;
    static constexpr int kCapMs = 60;
    static constexpr int kRecent = 8;  // answers remembered

    int ms() const;
    // An answer came whole this long after its code was sent.
    void answered(int ms);

private:
    std::array<int, kRecent> recent_{};
    int next_ = 0;
};

}  // namespace speed
