// The modes and the speed poll through a FakeView against the simulator's
// motor, run as a console program runs them.

#include "speedtest/speed_mode.h"
#include "testing/event_wait.h"
#include "testing/qstring_printer.h"
#include "testing/sim_session.h"

#include <algorithm>

namespace {

using SpeedModeOnLink = SimSessionTest;

TEST_F(SpeedModeOnLink, SpeedModeDrivesTheMotorAndShowsItsSpeedUntilParameterMode)
{
    SpeedMode& speed = s().speed;
    speed.set_pole_count(14);
    speed.set_throttle(900);  // arms the throttle
    speed.switch_mode(OperationMode::Speed);
    EXPECT_EQ(view_.mode, OperationMode::Speed);
    EXPECT_EQ(view_.status, QStringLiteral("Testing rotate speed.."));
    ASSERT_TRUE(wait_until([&] { return sim_->received().size() >= 3; }, 2000));
    EXPECT_EQ(sim_->received().front(), 0x06);

    speed.set_throttle(1500);
    EXPECT_EQ(view_.throttleText, QStringLiteral("1500us"));
    EXPECT_EQ(view_.poleCountText, QStringLiteral("14"));
    ASSERT_TRUE(wait_until([&] { return sim_->received().back() == 0x42; }, 1000));
    // Within 3 % of the motor's speed once it has spun up.
    EXPECT_TRUE(wait_until(
        [&] {
            const int model = sim_->motor_rpm();
            return model > 5000 && std::abs(view_.rotateSpeed.toInt() - model) <= 0.03 * model;
        },
        8000))
        << view_.rotateSpeed.toStdString() << " against " << sim_->motor_rpm();

    speed.switch_mode(OperationMode::Parameter);
    EXPECT_EQ(view_.mode, OperationMode::Parameter);
    EXPECT_EQ(view_.status, QStringLiteral("Wait user command"));
    EXPECT_FALSE(s().pollTimer.isActive());
    ASSERT_TRUE(wait_until([&] { return sim_->received().back() == 0xFF; }, 1000));
    EXPECT_FALSE(sim_->in_speed_mode());
}

}  // namespace
