// Speed mode: throttle codes answered with the motor's period, and the motor
// model behind them.

#include "sim/motor_model.h"
#include "sim_fixture.h"

#include <memory>
#include <string>
#include <thread>

using namespace simtest;
using sim::MotorModel;

namespace {

// What the program makes of a period: rpm = 60000000 / (6 T) / (poles / 2).
int program_rpm(int t, int poles)
{
    return t == 0 ? 0 : (60000000 / (6 * t)) / (poles / 2);
}

int period_of(const Bytes& reply)
{
    return reply.size() == 2 ? reply[0] << 8 | reply[1] : -1;
}

class SpeedMode : public SimTest {
protected:
    int throttle(uint8_t code)
    {
        line().write({code});
        return period_of(line().read(2, 1000));
    }
};

TEST_F(SpeedMode, StandingMotorAnswersZero)
{
    start();
    line().ask(hex("06"));
    EXPECT_TRUE(sim().in_speed_mode());
    EXPECT_EQ(throttle(0x01), 0);
    EXPECT_EQ(sim().motor_rpm(), 0);
}

TEST_F(SpeedMode, PeriodMatchesTheModelSpeedForEachPoleCount)
{
    for (int poles : {2, 14, 24}) {
        SCOPED_TRACE(poles);
        sim::Options o = fast_options();
        o.poles = poles;
        start(o);
        line().ask(hex("06"));
        throttle(0x85);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        // The motor is still speeding up: its speed at the request lies
        // between the two readings around it.
        const int before = sim().motor_rpm();
        const int t = throttle(0x85);
        const int after = sim().motor_rpm();
        ASSERT_GT(t, 0);
        EXPECT_GE(program_rpm(t, poles), before * 0.99 - 2);
        EXPECT_LE(program_rpm(t, poles), after * 1.01 + 2);
    }
}

TEST_F(SpeedMode, SpeedRisesWithLagAndThrottle)
{
    start();
    line().ask(hex("06"));
    throttle(0x30);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    throttle(0x30);
    const int early = sim().motor_rpm();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    throttle(0x30);
    const int settled = sim().motor_rpm();
    EXPECT_GT(early, 0);
    EXPECT_LT(early, settled / 2) << "the motor needs time to reach its speed";
    EXPECT_NEAR(settled, MotorModel::target_rpm(0x30), MotorModel::target_rpm(0x30) * 0.05);

    throttle(0x85);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    throttle(0x85);
    EXPECT_GT(sim().motor_rpm(), settled * 2);
}

TEST_F(SpeedMode, RequestCodesAreThrottleCodesInSpeedMode)
{
    // 0x35 is the probe outside speed mode and throttle code 53 inside it.
    start();
    line().ask(hex("06"));
    EXPECT_EQ(line().ask(hex("35")).size(), 2u);
    EXPECT_EQ(line().ask(hex("50")).size(), 2u);
    EXPECT_EQ(to_hex(line().ask(hex("FF"))), "");
    EXPECT_FALSE(sim().in_speed_mode());
    EXPECT_EQ(to_hex(line().ask(hex("35"))), "2501");
}

TEST_F(SpeedMode, CodesOutsideTheThrottleRangeAreIgnored)
{
    start();
    line().ask(hex("06"));
    EXPECT_EQ(to_hex(line().ask(hex("00"))), "");
    EXPECT_EQ(to_hex(line().ask(hex("86"))), "");
    EXPECT_EQ(to_hex(line().ask(hex("FE"))), "");
    EXPECT_EQ(line().ask(hex("85")).size(), 2u);
}

TEST_F(SpeedMode, LeavingLetsTheMotorCoastToAStop)
{
    start();
    line().ask(hex("06"));
    throttle(0x20);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    throttle(0x20);
    ASSERT_GT(sim().motor_rpm(), 0);
    line().ask(hex("FF"));
    std::this_thread::sleep_for(std::chrono::milliseconds(1600));
    EXPECT_EQ(sim().motor_rpm(), 0);
}

// The program closing the port is the card seeing DTR drop: it starts afresh
// unless someone else still holds the port.
struct Reopen {
    const char* name;
    const char* before;  // sent before the close
    bool other_holder;   // a second open of the port outlives the close
    const char* after;   // sent on the port opened again
    const char* reply;   // "" and not in speed mode: a fresh card; "period": a throttle answer
};

class PortClose : public SpeedMode, public ::testing::WithParamInterface<Reopen> {};

TEST_P(PortClose, CardStartsAfreshOnlyWhenNobodyHoldsThePort)
{
    const Reopen& r = GetParam();
    start();
    line().ask(hex(r.before));
    const bool speed = sim().in_speed_mode();
    if (speed) {
        throttle(0x40);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        throttle(0x40);
        ASSERT_GT(sim().motor_rpm(), 0);
    }
    std::unique_ptr<PtyClient> other;
    if (r.other_holder)
        other = std::make_unique<PtyClient>(sim().port_path());
    line_.reset();
    PtyClient again(sim().port_path());
    const Bytes reply = again.ask(hex(r.after));
    if (std::string(r.reply) == "period") {
        EXPECT_EQ(reply.size(), 2u);
        EXPECT_EQ(sim().in_speed_mode(), speed);
    } else {
        EXPECT_EQ(to_hex(reply), r.reply);
        EXPECT_FALSE(sim().in_speed_mode());
        EXPECT_EQ(sim().motor_rpm(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(SpeedMode, PortClose,
                         ::testing::Values(Reopen{"SpeedModeEnds", "06", false, "35", "2501"},
                                           Reopen{"SearchFindsTheCard", "06", false, "3550", "250150031012"},
                                           Reopen{"FirmwareWriteEnds", "0C0014", false, "35", "2501"},
                                           Reopen{"SecondHolderKeepsSpeedMode", "06", true, "35", "period"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The model itself, on a clock of its own.
TEST(MotorModelTest, IdleCodesLeaveTheMotorStanding)
{
    MotorModel m(14);
    const auto t0 = MotorModel::Clock::now();
    for (int code : {1, 2, 5}) {
        m.set_throttle(code, t0);
        EXPECT_EQ(m.period(t0 + std::chrono::seconds(5)), 0) << code;
    }
    m.set_throttle(6, t0);
    EXPECT_GT(m.period(t0 + std::chrono::seconds(10)), 0);
}

TEST(MotorModelTest, PeriodIsClampedToSixteenBits)
{
    // Just above idle a two-pole motor turns so slowly that its period does
    // not fit into two bytes.
    MotorModel m(2);
    const auto t0 = MotorModel::Clock::now();
    m.set_throttle(6, t0);
    EXPECT_EQ(m.period(t0 + std::chrono::seconds(20)), 65535);
    m.set_throttle(133, t0 + std::chrono::seconds(20));
    const int t = m.period(t0 + std::chrono::seconds(40));
    EXPECT_NEAR(t, 60000000.0 / (6 * MotorModel::kFullThrottleRpm), 60000000.0 / (6 * 12000.0) * 0.01);
}

TEST(MotorModelTest, JitterStaysSmall)
{
    MotorModel m(14);
    const auto t0 = MotorModel::Clock::now();
    m.set_throttle(100, t0);
    const auto later = t0 + std::chrono::seconds(20);
    const double expected = 60000000.0 / (6 * MotorModel::target_rpm(100) * 7);
    int lowest = 65535, highest = 0;
    for (int i = 0; i < 200; ++i) {
        const int t = m.period(later);
        lowest = std::min(lowest, t);
        highest = std::max(highest, t);
    }
    EXPECT_LT(lowest, highest) << "a real measurement is never perfectly steady";
    EXPECT_GT(lowest, expected * 0.99);
    EXPECT_LT(highest, expected * 1.01);
}

}  // namespace
