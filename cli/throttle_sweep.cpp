#include "cli/throttle_sweep.h"

#include "speedtest/speed_math.h"

#include <QStringList>
#include <cmath>
#include <cstdlib>

namespace cli {

bool parse_sweep(const QString& text, SweepPlan* out, QString* error)
{
    std::vector<int> numbers;
    bool whole = true;
    for (const QString& part : text.split(QLatin1Char(':'))) {
        bool ok = false;
        numbers.push_back(part.toInt(&ok));
        whole = whole && ok;
    }
    if (!whole || (numbers.size() != 3 && numbers.size() != 4)) {
        *error =
            QStringLiteral("speed needs --sweep FROM:TO:STEP[:SECONDS] in whole numbers, not %1").arg(text);
        return false;
    }
    for (const int throttle : {numbers[0], numbers[1]}) {
        if (throttle < speed::kSliderMin || throttle > speed::kSliderMax) {
            *error = QStringLiteral("speed --sweep needs FROM and TO from %1 to %2, not %3")
                         .arg(speed::kSliderMin)
                         .arg(speed::kSliderMax)
                         .arg(throttle);
            return false;
        }
    }
    const int range = speed::kSliderMax - speed::kSliderMin;
    if (numbers[2] < 1 || numbers[2] > range) {
        *error = QStringLiteral("speed --sweep needs a STEP from 1 to %1, not %2").arg(range).arg(numbers[2]);
        return false;
    }
    if (numbers.size() == 4 && (numbers[3] < 1 || numbers[3] > 3600)) {
        *error = QStringLiteral("speed --sweep needs SECONDS from 1 to 3600, not %1").arg(numbers[3]);
        return false;
    }
    const int seconds = numbers.size() == 4 ? numbers[3] : 2;
    // Checked before the timers that bound the run are set: they count in
    // milliseconds and cannot take a longer time.
    const int64_t steps = std::abs(numbers[1] - numbers[0]) / numbers[2] + 1;
    if (steps * seconds > kMaxSweepSeconds) {
        *error = QStringLiteral("speed --sweep takes at most 24 h in all; %1 is %2 steps of %3 s, %4 h")
                     .arg(text)
                     .arg(steps)
                     .arg(seconds)
                     .arg(static_cast<double>(steps * seconds) / 3600, 0, 'f', 1);
        return false;
    }
    out->from = numbers[0];
    out->to = numbers[1];
    out->step = numbers[2];
    out->seconds = seconds;
    return true;
}

ThrottleSweep::ThrottleSweep(const SweepPlan& plan) : stepMs_(plan.seconds * 1000)
{
    const int direction = plan.to >= plan.from ? 1 : -1;
    for (int t = plan.from; direction * (plan.to - t) >= 0; t += direction * plan.step)
        throttles_.push_back(t);
}

std::optional<QString> ThrottleSweep::take(const SpeedTick& tick)
{
    if (finished() || tick.throttleUs != throttle())
        return std::nullopt;
    if (!stepStartMs_)
        stepStartMs_ = tick.timeMs;
    const int64_t into = tick.timeMs - *stepStartMs_;
    if (into >= stepMs_ / 2 && tick.sampleRpm) {
        sum_ += *tick.sampleRpm;
        ++samples_;
    }
    if (into < stepMs_)
        return std::nullopt;

    const QString rpm = samples_ > 0 ? QString::number(std::llround(static_cast<double>(sum_) / samples_))
                                     : QStringLiteral("-");
    const QString line = QStringLiteral("throttle=%1 rpm=%2").arg(throttle()).arg(rpm);
    ++index_;
    stepStartMs_.reset();
    sum_ = 0;
    samples_ = 0;
    return line;
}

}  // namespace cli
