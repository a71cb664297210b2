// Card and settings requests, byte for byte, through the pseudo-terminal.

#include "sim_fixture.h"

#include <thread>

using namespace simtest;

namespace {

struct Exchange {
    const char* name;
    bool esc_present;
    bool zero_id;  // 50 00 00 00 instead of 50 alone without an ESC
    uint8_t type, hw, fw;
    const char* request;
    const char* reply;  // empty: nothing at all
};

class AnswerTable : public SimTest, public ::testing::WithParamInterface<Exchange> {};

TEST_P(AnswerTable, RepliesExactly)
{
    const Exchange& e = GetParam();
    sim::Options o = fast_options();
    o.esc_present = e.esc_present;
    o.zero_id_without_esc = e.zero_id;
    o.type = e.type;
    o.hw_version = e.hw;
    o.fw_version = e.fw;
    start(o);
    EXPECT_EQ(to_hex(line().ask(hex(e.request))), e.reply);
    EXPECT_EQ(to_hex(sim().received()), e.request);
}

INSTANTIATE_TEST_SUITE_P(
    CardRequests, AnswerTable,
    ::testing::Values(Exchange{"Probe", true, false, 3, 0x10, 0x12, "35", "2501"},
                      Exchange{"ProbeWithoutEsc", false, false, 3, 0x10, 0x12, "35", "2501"},
                      Exchange{"Identify", true, false, 3, 0x10, 0x12, "50", "50031012"},
                      Exchange{"IdentifyOtherModel", true, false, 0x0A, 0x1A, 0x2F, "50", "500A1A2F"},
                      Exchange{"IdentifyWithoutEsc", false, false, 3, 0x10, 0x12, "50", "50"},
                      Exchange{"IdentifyWithoutEscZeroId", false, true, 3, 0x10, 0x12, "50", "50000000"},
                      Exchange{"ReadDefaults", true, false, 3, 0x10, 0x12, "0D", "430000010000010200"},
                      Exchange{"ReadWithoutEsc", false, false, 3, 0x10, 0x12, "0D", ""},
                      Exchange{"WriteWithoutEsc", false, false, 3, 0x10, 0x12, "03430000010000010200", ""},
                      Exchange{"WriteAlone", true, false, 3, 0x10, 0x12, "03", ""},
                      Exchange{"Write", true, false, 3, 0x10, 0x12, "03430101020203040501", "55"},
                      Exchange{"SpeedEntryIsSilent", true, false, 3, 0x10, 0x12, "06", ""},
                      Exchange{"LeaveSpeedIsSilent", true, false, 3, 0x10, 0x12, "FF", ""},
                      Exchange{"FirmwarePrepareIsSilent", true, false, 3, 0x10, 0x12, "07", ""},
                      Exchange{"ThrottleOutsideSpeedMode", true, false, 3, 0x10, 0x12, "40", ""},
                      Exchange{"ThrottleWithoutEsc", false, false, 3, 0x10, 0x12, "0640", ""},
                      Exchange{"SixInSpeedModeIsAThrottleCode", true, false, 3, 0x10, 0x12, "0606", "0000"}),
    [](const auto& info) { return std::string(info.param.name); });

class Settings : public SimTest {};

TEST_F(Settings, WrittenFrameIsStoredAndReadBack)
{
    start();
    EXPECT_EQ(to_hex(line().ask(hex("03"))), "");
    EXPECT_EQ(to_hex(line().ask(hex("43 01 01 02 02 03 04 05 01"))), "55");
    EXPECT_EQ((sim().settings()), (std::array<uint8_t, 8>{1, 1, 2, 2, 3, 4, 5, 1}));
    EXPECT_EQ(to_hex(line().ask(hex("0D"))), "430101020203040501");
}

TEST_F(Settings, SetSettingsIsWhatTheEscReports)
{
    start();
    sim().set_settings({0, 1, 2, 3, 0, 1, 4, 1});
    EXPECT_EQ(to_hex(line().ask(hex("0D"))), "430001020300010401");
}

TEST_F(Settings, WriteAckCanBeChanged)
{
    start();
    sim().set_write_ack(0x66);
    EXPECT_EQ(to_hex(line().ask(hex("03430000010000010200"))), "66");
}

TEST_F(Settings, LoneWriteRequestIsNotAFrame)
{
    // "03" followed by something other than 0x43 is no write: the next byte is
    // a request of its own and nothing is stored.
    start();
    EXPECT_EQ(to_hex(line().ask(hex("03 0D"))), "430000010000010200");
    EXPECT_EQ((sim().settings()), (std::array<uint8_t, 8>{0, 0, 1, 0, 0, 1, 2, 0}));
    EXPECT_EQ(sim().request_count(), 2);
}

class Reassembly : public SimTest {};

TEST_F(Reassembly, FrameSplitAcrossWritesIsAnsweredOnceComplete)
{
    start();
    const Bytes pieces[] = {hex("03"), hex("43 02"), hex("00 01 02 00 01 02"), hex("01")};
    for (size_t i = 0; i < std::size(pieces); ++i) {
        line().write(pieces[i]);
        const Bytes got = line().read_until_quiet(40);
        EXPECT_EQ(to_hex(got), i + 1 == std::size(pieces) ? "55" : "") << "after piece " << i;
    }
    EXPECT_EQ((sim().settings()), (std::array<uint8_t, 8>{2, 0, 1, 2, 0, 1, 2, 1}));
}

TEST_F(Reassembly, RequestsJoinedInOneWriteAreAnsweredInOrder)
{
    start();
    EXPECT_EQ(to_hex(line().ask(hex("35 50 0D"))),
              "2501"
              "50031012"
              "430000010000010200");
    EXPECT_EQ(to_hex(line().ask(hex("03 43 01 00 00 00 00 00 00 00 0D"))),
              "55"
              "430100000000000000");
    EXPECT_EQ(sim().request_count(), 5);
}

TEST_F(Reassembly, FirmwareStartSplitIsAnsweredAfterItsLastByte)
{
    start();
    line().write(hex("0C"));
    EXPECT_EQ(to_hex(line().read_until_quiet(40)), "");
    line().write(hex("00"));
    EXPECT_EQ(to_hex(line().read_until_quiet(40)), "");
    EXPECT_EQ(to_hex(line().ask(hex("14"))), "59");
}

TEST_F(Reassembly, ReceivedKeepsEveryByteInOrder)
{
    start();
    line().ask(hex("35"));
    line().ask(hex("03 43"));
    line().ask(hex("00 00 01 00 00 01 02 00 50"));
    EXPECT_EQ(to_hex(sim().received()), "350343000001000001020050");
    sim().clear_received();
    line().ask(hex("0D"));
    EXPECT_EQ(to_hex(sim().received()), "0D");
}

class Unasked : public SimTest {};

TEST_F(Unasked, UnplugSendsLone50AndTheEscStopsAnswering)
{
    start();
    sim().unplug();
    EXPECT_EQ(to_hex(line().read_until_quiet(100)), "50");
    EXPECT_EQ(to_hex(line().ask(hex("50"))), "50");
    EXPECT_EQ(to_hex(line().ask(hex("0D"))), "");
    EXPECT_EQ(to_hex(line().ask(hex("35"))), "2501");
}

TEST_F(Unasked, PlugSendsTheIdentificationAndTheEscAnswersAgain)
{
    sim::Options o = fast_options();
    o.esc_present = false;
    start(o);
    sim().plug(0x05, 0x11, 0x13);
    EXPECT_EQ(to_hex(line().read_until_quiet(100)), "50051113");
    EXPECT_EQ(to_hex(line().ask(hex("50"))), "50051113");
    EXPECT_EQ(to_hex(line().ask(hex("0D"))), "430000010000010200");
}

TEST_F(Unasked, SendRawGoesOutUnchanged)
{
    start();
    sim().send_raw(hex("25 01 50 03"));
    EXPECT_EQ(to_hex(line().read_until_quiet(100)), "25015003");
    EXPECT_EQ(sim().request_count(), 0);
}

TEST_F(Unasked, UnplugLeavesSpeedMode)
{
    start();
    line().ask(hex("06"));
    ASSERT_TRUE(sim().in_speed_mode());
    sim().unplug();
    line().read_until_quiet(100);
    EXPECT_FALSE(sim().in_speed_mode());
    EXPECT_EQ(sim().motor_rpm(), 0);
}

}  // namespace
