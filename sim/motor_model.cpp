#include "sim/motor_model.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {
constexpr double kLagSeconds = 0.35;  // time constant of the speed's approach to its target
constexpr double kStandRpm = 100.0;   // below this a coasting motor has stopped
constexpr double kJitterFraction = 0.004;
}  // namespace

MotorModel::MotorModel(int poles) : poles_(std::max(2, poles)) {}

void MotorModel::set_poles(int poles)
{
    poles_ = std::max(2, poles);
}

double MotorModel::target_rpm(int code)
{
    if (code <= kIdleCodes)
        return 0.0;
    code = std::min(code, 133);
    return kFullThrottleRpm * (code - kIdleCodes) / (133 - kIdleCodes);
}

void MotorModel::advance(Clock::time_point now)
{
    if (!started_) {
        started_ = true;
        last_ = now;
        return;
    }
    const double dt = std::chrono::duration<double>(now - last_).count();
    if (dt <= 0)
        return;
    last_ = now;
    rpm_ += (target_ - rpm_) * (1.0 - std::exp(-dt / kLagSeconds));
    if (target_ == 0.0 && rpm_ < kStandRpm)
        rpm_ = 0.0;
}

void MotorModel::set_throttle(int code, Clock::time_point now)
{
    advance(now);
    target_ = target_rpm(code);
}

void MotorModel::cut_power(Clock::time_point now)
{
    advance(now);
    target_ = 0.0;
}

void MotorModel::stop_at_once()
{
    rpm_ = 0.0;
    target_ = 0.0;
}

double MotorModel::rpm(Clock::time_point now)
{
    advance(now);
    return rpm_;
}

uint16_t MotorModel::period(Clock::time_point now)
{
    advance(now);
    if (rpm_ <= 0.0)
        return 0;
    std::uniform_real_distribution<double> noise(-kJitterFraction, kJitterFraction);
    const double measured = rpm_ * (1.0 + noise(jitter_));
    // The program turns T back into rpm as 60000000 / (6 T) / (poles / 2).
    const double t = 60000000.0 / (6.0 * measured * (poles_ / 2));
    return static_cast<uint16_t>(std::clamp(std::lround(t), 1L, 65535L));
}

}  // namespace sim
