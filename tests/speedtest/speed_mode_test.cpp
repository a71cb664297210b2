// The modes and the speed poll through a FakeView against the simulator's
// motor, run as a console program runs them.

#include "speedtest/speed_mode.h"
#include "testing/event_wait.h"
#include "testing/qstring_printer.h"
#include "testing/sim_link.h"

#include <algorithm>

namespace {

class SpeedModeOnLink : public SimLinkTest {
protected:
    void SetUp() override
    {
        SimLinkTest::SetUp();
        speed_ = std::make_unique<SpeedMode>(*link_, st_, view_, timer3_);
        QObject::connect(&timer3_, &WindowTimer::tick,
                         [this] { link_->run_command([this] { speed_->Timer3Timer(); }, CommandKind::SpeedTick); });
        link_->start_speed_test = [this] { speed_->start_speed_test(); };
    }
    void TearDown() override
    {
        timer3_.stop();
        speed_.reset();
        SimLinkTest::TearDown();
    }
    WindowTimer timer3_{5, Qt::PreciseTimer};
    std::unique_ptr<SpeedMode> speed_;
};

TEST_F(SpeedModeOnLink, SpeedModeDrivesTheMotorAndShowsItsSpeedUntilParameterMode)
{
    speed_->UpDown1Click(14);
    speed_->TrackBar1Change(900);  // arms the throttle
    speed_->RadioButton2Click();
    EXPECT_EQ(view_.mode, OperationMode::Speed);
    EXPECT_EQ(view_.status, QStringLiteral("Testing rotate speed.."));
    ASSERT_TRUE(wait_until([&] { return sim_->received().size() >= 3; }, 2000));
    EXPECT_EQ(sim_->received().front(), 0x06);

    speed_->TrackBar1Change(1500);
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

    speed_->RadioButton1Click();
    EXPECT_EQ(view_.mode, OperationMode::Parameter);
    EXPECT_EQ(view_.status, QStringLiteral("Wait user command"));
    EXPECT_FALSE(timer3_.isActive());
    ASSERT_TRUE(wait_until([&] { return sim_->received().back() == 0xFF; }, 1000));
    EXPECT_FALSE(sim_->in_speed_mode());
}

}  // namespace
