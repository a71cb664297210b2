// Every operation behind the USB adapters users plug the card into: the
// simulator's adapter model holds the card's replies back as the chip would,
// and each cell must still succeed.

#include "cli_fixture.h"
#include "sim/motor_model.h"

namespace {

class AdapterMatrixSlow : public CliTest {};

TEST_F(AdapterMatrixSlow, EveryOperationSucceedsBehindEveryAdapter)
{
    const char* const presets[] = {"none", "ftdi-1ms", "ftdi-16ms", "ch340"};
    for (const char* preset : presets) {
        SCOPED_TRACE(preset);
        sim::Options o = unpaced_options();
        if (const auto adapter = sim::adapter_preset(preset))
            o.adapter = *adapter;
        ASSERT_NO_FATAL_FAILURE(start_sim(o));
        ASSERT_TRUE(sim::Simulator::write_sample_images(xdg("XDG_DATA_HOME", "zelt/firmware").toStdString(), "1.3"));

        const CliRun identify = cli({"identify", "--port", "PORT"});
        EXPECT_EQ(identify.status, 0) << identify.err.toStdString();
        EXPECT_TRUE(identify.out.contains("model=ESC_T03\n")) << identify.out.toStdString();

        const CliRun write = cli({"write", "--port", "PORT", "5=1"});
        EXPECT_EQ(write.status, 0) << write.err.toStdString();
        EXPECT_EQ(sim_->settings()[4], 1);

        const CliRun read = cli({"read", "--port", "PORT"});
        EXPECT_EQ(read.status, 0) << read.err.toStdString();
        EXPECT_TRUE(read.out.contains("Brake Mode=")) << read.out.toStdString();

        const CliRun flash = cli({"flash", "--yes", "--port", "PORT"}, 60000);
        EXPECT_EQ(flash.status, 0) << flash.err.toStdString();
        EXPECT_EQ(sim_->fw_version(), 0x13);

        const CliRun speed =
            cli({"speed", "--throttle", "1500", "--poles", "14", "--seconds", "3", "--port", "PORT"});
        EXPECT_EQ(speed.status, 0) << speed.err.toStdString();
        // The last second's speed is the motor's, near its speed for 1500 us.
        const QStringList lines = speed.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty());
        const double target = sim::MotorModel::target_rpm(0x42);
        EXPECT_NEAR(lines.last().mid(4).toInt(), target, 0.1 * target) << speed.out.toStdString();
        EXPECT_EQ(sim_->received().back(), 0xFF);
    }
}

}  // namespace
