// The sweep's steps and its per-step mean, on made-up ticks.

#include "cli/throttle_sweep.h"
#include "testing/qstring_printer.h"

#include <gtest/gtest.h>

namespace {

TEST(ThrottleSweep, StepsGoFromFromTowardsTo)
{
    struct Case {
        cli::SweepPlan plan;
        std::vector<int> steps;
    };
    const Case cases[] = {
        {{900, 1000, 30, 2}, {900, 930, 960, 990}},
        {{1000, 1200, 100, 2}, {1000, 1100, 1200}},
        {{1500, 1200, 100, 2}, {1500, 1400, 1300, 1200}},
        {{1000, 1000, 5, 1}, {1000}},
        {{900, 2100, 1200, 1}, {900, 2100}},
    };
    for (const Case& c : cases) {
        const cli::ThrottleSweep sweep(c.plan);
        EXPECT_EQ(sweep.throttles(), c.steps) << c.plan.from << ":" << c.plan.to << ":" << c.plan.step;
        EXPECT_EQ(sweep.durationMs(), static_cast<int>(c.steps.size()) * c.plan.seconds * 1000);
    }
}

TEST(ThrottleSweep, EachStepIsTheMeanOfItsSecondHalf)
{
    cli::ThrottleSweep sweep({1000, 1100, 100, 1});
    auto tick = [](int64_t ms, int throttle, std::optional<int32_t> rpm) {
        return SpeedTick{ms, throttle, 0, rpm ? std::optional<int64_t>(1) : std::nullopt, rpm, {}};
    };
    // Before the step's throttle, ticks do not count; the step starts with its first tick.
    EXPECT_EQ(sweep.take(tick(0, 900, 5000)), std::nullopt);
    EXPECT_EQ(sweep.take(tick(100, 1000, 100)), std::nullopt);
    EXPECT_EQ(sweep.take(tick(599, 1000, 9999)), std::nullopt);  // first half
    EXPECT_EQ(sweep.take(tick(600, 1000, 2000)), std::nullopt);
    EXPECT_EQ(sweep.take(tick(700, 1000, {})), std::nullopt);  // unanswered
    EXPECT_EQ(sweep.take(tick(800, 1000, 2001)), std::nullopt);
    EXPECT_EQ(sweep.take(tick(1100, 1000, 2002)), QStringLiteral("throttle=1000 rpm=2001"));
    EXPECT_EQ(sweep.throttle(), 1100);
    EXPECT_FALSE(sweep.finished());
    // A tick still at the old throttle belongs to no step.
    EXPECT_EQ(sweep.take(tick(1105, 1000, 2002)), std::nullopt);
    EXPECT_EQ(sweep.take(tick(1110, 1100, {})), std::nullopt);
    EXPECT_EQ(sweep.take(tick(2110, 1100, {})), QStringLiteral("throttle=1100 rpm=-"));
    EXPECT_TRUE(sweep.finished());
    EXPECT_EQ(sweep.take(tick(2115, 1100, 3000)), std::nullopt);
}

}  // namespace
