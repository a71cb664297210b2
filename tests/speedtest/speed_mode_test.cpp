// The modes and the speed poll through a FakeView against the simulator's
// motor, run as a console program runs them.

#include "speedtest/speed_math.h"
#include "speedtest/speed_mode.h"
#include "testing/event_wait.h"
#include "testing/qstring_printer.h"
#include "testing/sim_session.h"

#include <algorithm>

namespace {

using SpeedModeOnLink = SimSessionTest;

TEST_F(SpeedModeOnLink, SpeedModeDrivesTheMotorAndShowsItsSpeedUntilParameterMode)
{
    SpeedMode& speed = s().speed();
    speed.set_pole_count(14);
    speed.set_throttle(900);  // arms the throttle
    speed.switch_mode(OperationMode::Speed);
    EXPECT_TRUE(s().speedModeOn()) << "the stop path must know a motor may turn";
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
    EXPECT_FALSE(s().speedModeOn());
    EXPECT_EQ(view_.mode, OperationMode::Parameter);
    EXPECT_EQ(view_.status, QStringLiteral("Wait user command"));
    EXPECT_FALSE(s().pollTimer().isActive());
    ASSERT_TRUE(wait_until([&] { return sim_->received().back() == 0xFF; }, 1000));
    EXPECT_FALSE(sim_->in_speed_mode());
}

// What a USB adapter does to the answers: each comes late by a fixed time.
// Inside the old 18-20 ms band none was ever measured; now every one is, and
// a fast card keeps its rate. Answers that trickle in, a byte at a time, are
// taken whole, never a byte of one with a byte of the next. A card that then
// stops answering: within a second the box shows "-" instead of the last
// speed, the status says why, and the next answer brings both back.
TEST_F(SpeedModeOnLink, LateAnswersAreMeasuredAndAStaleSpeedIsNotShown)
{
    struct Row {
        int lateMs;
        int byteGapMs;
        int minSamplesPerSecond;
    };
    const Row rows[] = {{0, 0, 50}, {17, 0, 18}, {19, 0, 18}, {21, 0, 16}, {23, 0, 16}, {0, 80, 8}};
    s().speed().set_pole_count(14);
    s().speed().set_throttle(900);
    s().speed().switch_mode(OperationMode::Speed);
    ASSERT_TRUE(wait_until([&] { return s().speed().throttle_armed(); }, 2000));
    s().speed().set_throttle(1500);
    ASSERT_TRUE(wait_until([&] { return view_.rotateSpeed.toInt() > 3000; }, 5000));
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "answers " << row.lateMs << " ms late, bytes " << row.byteGapMs
                                        << " ms apart");
        sim_->change_faults([&](sim::Faults& f) {
            f.reply_delay_ms = row.lateMs;
            f.split_reply_gap_ms = row.byteGapMs;
        });
        settle(200);  // the wait adapts
        const int before = s().speed().measured_samples();
        settle(1000);
        const int samples = s().speed().measured_samples() - before;
        EXPECT_GE(samples, row.minSamplesPerSecond);
        RecordProperty("samples_per_second_" + std::to_string(row.lateMs), samples);
        EXPECT_EQ(view_.status, QStringLiteral("Testing rotate speed.."));
        const int model = sim_->motor_rpm();
        EXPECT_NEAR(view_.rotateSpeed.toInt(), model, 0.05 * model) << view_.rotateSpeed.toStdString();
    }

    sim_->change_faults([&](sim::Faults& f) {
        f.reply_delay_ms = 0;
        f.split_reply_gap_ms = 0;
        f.silent_card = true;
    });
    EXPECT_TRUE(wait_until([&] { return view_.rotateSpeed == QStringLiteral("-"); }, 1000));
    EXPECT_EQ(view_.status, QStringLiteral("ESC speed answers stopped"));
    sim_->change_faults([&](sim::Faults& f) { f.silent_card = false; });
    EXPECT_TRUE(wait_until([&] { return view_.rotateSpeed.toInt() > 3000; }, 1000)) << view_.rotateSpeed.toStdString();
    EXPECT_EQ(view_.status, QStringLiteral("Testing rotate speed.."));
}

TEST_F(SpeedModeOnLink, EveryTickLeavesARecordOfWhatWasSentAndAnswered)
{
    std::vector<SpeedTick> ticks;
    s().speed().onTick = [&](const SpeedTick& t) { ticks.push_back(t); };
    s().speed().set_pole_count(14);
    s().speed().set_throttle(1500);  // not armed yet: the minimum code goes out
    s().speed().switch_mode(OperationMode::Speed);
    ASSERT_TRUE(wait_until([&] { return ticks.size() >= 10; }, 2000));
    s().speed().set_throttle(900);
    ASSERT_TRUE(wait_until([&] { return ticks.back().throttleUs == 900; }, 1000));
    s().speed().set_throttle(1500);
    ASSERT_TRUE(wait_until([&] { return ticks.back().shownRpm.value_or(0) > 1000; }, 4000));
    sim_->set_no_reply_to(1);  // one tick goes unanswered
    const size_t before = ticks.size();
    ASSERT_TRUE(wait_until([&] { return ticks.size() >= before + 5; }, 1000));
    s().speed().switch_mode(OperationMode::Parameter);
    ASSERT_TRUE(wait_until([&] { return sim_->received().back() == 0xFF; }, 1000));
    const size_t recorded = ticks.size();

    // The codes recorded are the codes on the line, in order, and nothing else.
    std::vector<uint8_t> wire = sim_->received();
    ASSERT_EQ(wire.size(), recorded + 2);
    EXPECT_EQ(wire.front(), 0x06);
    EXPECT_EQ(wire.back(), 0xFF);
    int unanswered = 0;
    for (size_t i = 0; i < recorded; ++i) {
        const SpeedTick& t = ticks[i];
        EXPECT_EQ(t.code, wire[i + 1]) << i;
        if (i > 0)
            EXPECT_GE(t.timeMs, ticks[i - 1].timeMs) << i;
        EXPECT_EQ(t.period.has_value(), t.sampleRpm.has_value()) << i;
        if (t.period)
            EXPECT_EQ(*t.sampleRpm, speed::period_to_rpm(*t.period, 14)) << i;
        else
            ++unanswered;
    }
    EXPECT_GE(unanswered, 1);
    EXPECT_EQ(ticks.front().throttleUs, 1500);
    EXPECT_EQ(ticks.front().code, 1) << "unarmed";
    EXPECT_LT(ticks.front().timeMs, 100);
    EXPECT_EQ(ticks.back().code, 0x42);
    EXPECT_EQ(QString::number(*ticks.back().shownRpm), view_.rotateSpeed);
}

}  // namespace
