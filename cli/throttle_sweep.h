#pragma once
// speed --sweep: the throttle held at each step for a while, and each step's
// speed as the mean of the samples measured in its second half, when the
// motor has had time to settle.

#include "speedtest/speed_tick.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace cli {

struct SweepPlan {
    int from = 0;  // microseconds of throttle signal
    int to = 0;
    int step = 0;
    int seconds = 2;  // per step
};

inline constexpr int64_t kMaxSweepSeconds = 24 * 3600;

// Reads FROM:TO:STEP[:SECONDS], at most 24 h in all; false with the reason in *error.
bool parse_sweep(const QString& text, SweepPlan* out, QString* error);

class ThrottleSweep {
public:
    explicit ThrottleSweep(const SweepPlan& plan);

    // From FROM towards TO by STEP; TO itself when a step lands on it.
    const std::vector<int>& throttles() const { return throttles_; }
    int throttle() const { return throttles_[index_]; }
    bool finished() const { return index_ >= throttles_.size(); }
    // How long the whole sweep takes, in ms.
    int durationMs() const { return static_cast<int>(throttles_.size()) * stepMs_; }

    // Takes the record of a tick. A tick at another throttle (before arming,
    // or still under way when the step changed) is not the step's. The tick
    // that ends the current step returns its line, "throttle=US rpm=N" ("rpm=-"
    // when no sample came), and the sweep moves on to the next step.
    std::optional<QString> take(const SpeedTick& tick);

private:
    std::vector<int> throttles_;
    int stepMs_;
    size_t index_ = 0;
    std::optional<int64_t> stepStartMs_;
    int64_t sum_ = 0;
    int64_t samples_ = 0;
};

}  // namespace cli
