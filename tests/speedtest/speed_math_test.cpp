// The arithmetic of the speed test: throttle codes, period to speed and the
// four-sample filter, checked case by case.

#include "speedtest/speed_math.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <vector>

namespace {

struct CodeCase {
    int position;
    bool armedBefore;
    int code;
    bool armedAfter;
};

TEST(ThrottleCode, CodesAndArming)
{
    const CodeCase cases[] = {
        // Armed: max(1, (P - 900) div 9).
        {900, true, 1, true},
        {901, true, 1, true},
        {902, true, 1, true},
        {908, true, 1, true},
        {909, true, 1, true},
        {917, true, 1, true},
        {918, true, 2, true},
        {919, true, 2, true},
        {920, true, 2, true},
        {927, true, 3, true},
        {1000, true, 11, true},
        {1500, true, 66, true},
        {2090, true, 132, true},
        {2099, true, 133, true},
        {2100, true, 133, true},
        // Not armed: the minimum code whatever the slider shows, until it is below 920.
        {1500, false, 1, false},
        {2100, false, 1, false},
        {920, false, 1, false},
        {919, false, 2, true},
        {918, false, 2, true},
        {900, false, 1, true},
    };
    for (const CodeCase& c : cases) {
        bool armed = c.armedBefore;
        EXPECT_EQ(speed::throttle_code(c.position, armed), c.code)
            << "position " << c.position << " armed " << c.armedBefore;
        EXPECT_EQ(armed, c.armedAfter) << "position " << c.position;
    }
}

TEST(ThrottleCode, SliderHeldHighSendsMinimumUntilMovedBelow920)
{
    const int positions[] = {1500, 1500, 1200, 920, 919, 1500, 1500, 2100};
    const int expected[] = {1, 1, 1, 1, 2, 66, 66, 133};
    bool armed = false;
    for (size_t i = 0; i < std::size(positions); ++i)
        EXPECT_EQ(speed::throttle_code(positions[i], armed), expected[i]) << "tick " << i;
}

TEST(ThrottleCode, EveryPositionGivesOneByteRisingWithTheSlider)
{
    int previous = 0;
    for (int p = speed::kSliderMin; p <= speed::kSliderMax; ++p) {
        bool armed = true;
        const int code = speed::throttle_code(p, armed);
        ASSERT_GE(code, 1) << p;
        ASSERT_LE(code, 133) << p;
        ASSERT_GE(code, previous) << p;
        previous = code;
    }
}

struct RpmCase {
    int64_t period;
    int poles;
    int32_t rpm;
};

TEST(PeriodToRpm, IntegerFormula)
{
    const RpmCase cases[] = {
        {1000, 14, 1428},  // 10000 div 7
        {1000, 2, 10000},  // one pole pair
        {1000, 24, 833},   // twelve pole pairs, 833.3 truncated
        {1, 2, 10000000},  // the shortest period
        {1, 24, 833333},   // 10000000 div 12
        {7, 14, 204081},   // 1428571 div 7
        {65535, 2, 152},   // 60000000 div 393210 = 152.59
        {65535, 24, 12},   // 152 div 12
        {40000, 24, 20},   // 250 div 12 = 20.8
        {2500, 4, 2000},   // 4000 div 2
        {333, 12, 5005},   // 30030 div 6
        {1000, 15, 1428},  // pole pairs are poles div 2
        {0, 2, 0},         // a standing motor answers period 0
        {0, 14, 0},        // ... whatever the pole count
        {0, 24, 0},        // ... whatever the pole count
    };
    for (const RpmCase& c : cases)
        EXPECT_EQ(speed::period_to_rpm(c.period, c.poles), c.rpm) << "T " << c.period << " poles " << c.poles;
}

struct DeviationCase {
    int32_t sample;
    int32_t held;
    bool deviates;
};

TEST(Deviation, TwentyPercentOfHeldValue)
{
    const DeviationCase cases[] = {
        {1201, 1000, true}, {1200, 1000, false}, {800, 1000, false}, {799, 1000, true}, {1000, 1000, false},
        {0, 1000, true},    {1000, 0, true},     {1, 0, true},       {0, 0, false},     {1002, 1001, false},
        {1202, 1001, true}, {1201, 1001, false}, {801, 1001, false}, {800, 1001, true}, {6, 5, false},
        {7, 5, true},       {4, 5, false},       {3, 5, true},
    };
    for (const DeviationCase& c : cases)
        EXPECT_EQ(speed::deviates(c.sample, c.held), c.deviates) << c.sample << " against " << c.held;
}

// For non-negative values the floating-point test equals 5 |S - held| > held.
TEST(Deviation, AgreesWithExactIntegerTestNearTheLimit)
{
    for (int32_t held = 0; held <= 200000; held += (held < 2000 ? 1 : 97)) {
        const int32_t band = held / 5 + 3;
        for (int32_t s : {held - band, held - band + 1, held - band + 2, held - band + 3, held + band - 3,
                          held + band - 2, held + band - 1, held + band}) {
            if (s < 0)
                continue;
            const bool exact = 5 * static_cast<int64_t>(std::abs(s - held)) > held;
            ASSERT_EQ(speed::deviates(s, held), exact) << s << " against " << held;
        }
    }
}

struct FilterCase {
    const char* name;
    int32_t value;  // held before the first sample
    int32_t count;
    std::vector<int32_t> samples;
    std::vector<std::optional<int32_t>> shown;  // per sample
    int32_t finalValue;
    int32_t finalCount;
};

TEST(RpmFilter, Sequences)
{
    const std::optional<int32_t> no;
    const FilterCase cases[] = {
        {"four consistent samples", 0, 0, {1000, 1100, 1050, 1000}, {no, no, no, 1025}, 1025, 0},
        {"weights one eighth to one half", 0, 0, {1000, 1200, 1200, 1200}, {no, no, no, 1175}, 1175, 0},
        {"sample of 1201 restarts", 0, 0, {1000, 1201}, {no, no}, 1201, 0},
        {"restart is overwritten by the next sample", 0, 0, {1000, 1201, 500}, {no, no, no}, 500, 1},
        {"sample of 1200 does not restart", 0, 0, {1000, 1200}, {no, no}, 1100, 2},
        {"deviation in the fourth sample shows nothing",
         0,
         0,
         {1000, 1000, 1000, 2000},
         {no, no, no, no},
         2000,
         0},
        {"averages truncate", 0, 0, {1001, 1002, 1002, 1002}, {no, no, no, 1001}, 1001, 0},
        {"two full cycles",
         0,
         0,
         {1000, 1000, 1000, 1000, 900, 900, 900, 900},
         {no, no, no, 1000, no, no, no, 900},
         900,
         0},
        {"a standing motor shows 0", 0, 0, {0, 0, 0, 0}, {no, no, no, 0}, 0, 0},
        {"motor stops: 0 restarts, four zeros show 0",
         0,
         0,
         {1000, 1000, 1000, 1000, 1000, 0, 0, 0, 0, 0},
         {no, no, no, 1000, no, no, no, no, no, 0},
         0,
         0},
        {"a cycle carried over from an earlier test", 1000, 2, {1000, 1000}, {no, 1000}, 1000, 0},
        {"carried-over cycle restarted by a new speed",
         1000,
         3,
         {3000, 3000, 3000, 3000, 3000},
         {no, no, no, no, 3000},
         3000,
         0},
    };
    for (const FilterCase& c : cases) {
        int32_t value = c.value;
        int32_t count = c.count;
        speed::RpmFilter filter{value, count};
        ASSERT_EQ(c.samples.size(), c.shown.size()) << c.name;
        for (size_t i = 0; i < c.samples.size(); ++i)
            EXPECT_EQ(filter.add(c.samples[i]), c.shown[i]) << c.name << ", sample " << i;
        EXPECT_EQ(value, c.finalValue) << c.name;
        EXPECT_EQ(count, c.finalCount) << c.name;
    }
}

}  // namespace
