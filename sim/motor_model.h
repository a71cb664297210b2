#pragma once
// A brushless motor on the ESC: its shaft speed follows the throttle with a lag,
// and the ESC reports it as the period of one sixth of an electrical turn.

#include <chrono>
#include <cstdint>
#include <random>

namespace sim {

class MotorModel {
public:
    using Clock = std::chrono::steady_clock;

    explicit MotorModel(int poles);

    void set_poles(int poles);
    int poles() const { return poles_; }

    // Throttle code 1 to 133 as sent in speed mode.
    void set_throttle(int code, Clock::time_point now);
    // The ESC leaves speed mode or loses power: the motor coasts down.
    void cut_power(Clock::time_point now);
    void stop_at_once();

    // True shaft speed in revolutions per minute.
    double rpm(Clock::time_point now);
    // Period in microseconds of one sixth of an electrical turn, with the small
    // jitter of a real measurement; 0 while the motor stands.
    uint16_t period(Clock::time_point now);

    static double target_rpm(int code);
    static constexpr double kFullThrottleRpm = 12000.0;
    static constexpr int kIdleCodes = 5;  // codes up to this one leave the motor standing

private:
    void advance(Clock::time_point now);

    int poles_;
    double rpm_ = 0.0;
    double target_ = 0.0;
    Clock::time_point last_;
    bool started_ = false;
    std::minstd_rand jitter_{12345};
};

}  // namespace sim
