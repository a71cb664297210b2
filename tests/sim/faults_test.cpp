// Each fault switch, on and off again, as the program's side of the line sees it.

#include "sim_fixture.h"

#include <functional>
#include <thread>

using namespace simtest;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

namespace {

struct ReplyFault {
    const char* name;
    std::function<void(sim::Simulator&, bool on)> toggle;
    const char* request;
    const char* faulty;  // the reply with the fault on
    const char* sound;   // the reply once it is off again
};

class ReplyFaults : public SimTest, public ::testing::WithParamInterface<ReplyFault> {};

TEST_P(ReplyFaults, OnThenOff)
{
    const ReplyFault& f = GetParam();
    start();
    f.toggle(sim(), true);
    EXPECT_EQ(to_hex(line().ask(hex(f.request))), f.faulty);
    f.toggle(sim(), false);
    EXPECT_EQ(to_hex(line().ask(hex(f.request))), f.sound);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReplyFaults,
    ::testing::Values(
        ReplyFault{"SilentCardProbe", [](sim::Simulator& s, bool on) { s.change_faults([&](sim::Faults& f) { f.silent_card = on; }); }, "35", "",
                   "2501"},
        ReplyFault{"SilentCardIdentify", [](sim::Simulator& s, bool on) { s.change_faults([&](sim::Faults& f) { f.silent_card = on; }); }, "50", "",
                   "50031012"},
        ReplyFault{"ExtraTrailingBytes", [](sim::Simulator& s, bool on) { s.change_faults([&](sim::Faults& f) { f.extra_trailing_bytes = on; }); },
                   "35", "250100", "2501"},
        ReplyFault{"ExtraTrailingByteOnAWriteAck",
                   [](sim::Simulator& s, bool on) { s.change_faults([&](sim::Faults& f) { f.extra_trailing_bytes = on; }); }, "03430000010000010200", "5500",
                   "55"},
        ReplyFault{"CorruptNextReply", [](sim::Simulator& s, bool on) { s.change_faults([&](sim::Faults& f) { f.corrupt_next_reply = on; }); }, "0D",
                   "BC0000010000010200", "430000010000010200"},
        ReplyFault{"OverrideProbe",
                   [](sim::Simulator& s, bool on) {
                       on ? s.change_faults([&](sim::Faults& f) { f.reply_overrides[0x35] = {0x25, 0x02}; }) : s.change_faults([&](sim::Faults& f) { f.reply_overrides.erase(0x35); });
                   },
                   "35", "2502", "2501"},
        ReplyFault{"OverrideWithSilence",
                   [](sim::Simulator& s, bool on) {
                       on ? s.change_faults([&](sim::Faults& f) { f.reply_overrides[0x50] = {}; }) : s.change_faults([&](sim::Faults& f) { f.reply_overrides.erase(0x50); });
                   },
                   "50", "", "50031012"},
        ReplyFault{"WriteAck", [](sim::Simulator& s, bool on) { s.set_write_ack(on ? 0x00 : 0x55); },
                   "03430000010000010200", "00", "55"}),
    [](const auto& info) { return std::string(info.param.name); });

class Faults : public SimTest {};

TEST_F(Faults, CorruptionHitsOnlyTheNextReply)
{
    start();
    sim().change_faults([&](sim::Faults& f) { f.corrupt_next_reply = true; });
    EXPECT_EQ(to_hex(line().ask(hex("35"))), "DA01");
    EXPECT_EQ(to_hex(line().ask(hex("35"))), "2501");
}

TEST_F(Faults, NoReplyToTheNthRequestCountedFromNow)
{
    start();
    line().ask(hex("35"));  // requests before the switch do not count
    sim().set_no_reply_to(2);
    EXPECT_EQ(to_hex(line().ask(hex("35"))), "2501");
    EXPECT_EQ(to_hex(line().ask(hex("0D"))), "");
    EXPECT_EQ(to_hex(line().ask(hex("0D"))), "430000010000010200");
    sim().set_no_reply_to(1);
    sim().set_no_reply_to(0);
    EXPECT_EQ(to_hex(line().ask(hex("35"))), "2501");
}

TEST_F(Faults, UnansweredWriteStillStores)
{
    start();
    sim().set_no_reply_to(1);
    EXPECT_EQ(to_hex(line().ask(hex("03430100000000000000"))), "");
    EXPECT_EQ(sim().settings()[0], 1);
}

TEST_F(Faults, ReplyDelay)
{
    start();
    sim().change_faults([&](sim::Faults& f) { f.reply_delay_ms = 300; });
    const auto t0 = Clock::now();
    line().write(hex("35"));
    const Bytes reply = line().read(2, 3000);
    const auto took = duration_cast<milliseconds>(Clock::now() - t0).count();
    EXPECT_EQ(to_hex(reply), "2501");
    EXPECT_GE(took, 300);
    EXPECT_LT(took, 2000);
    sim().change_faults([&](sim::Faults& f) { f.reply_delay_ms = 0; });
    const auto t1 = Clock::now();
    line().write(hex("35"));
    line().read(2, 3000);
    EXPECT_LT(duration_cast<milliseconds>(Clock::now() - t1).count(), 250);
}

TEST_F(Faults, SplitReplyComesByteByByteWithGaps)
{
    start();
    sim().change_faults([&](sim::Faults& f) { f.split_reply_gap_ms = 40; });
    const auto t0 = Clock::now();
    line().write(hex("0D"));
    Bytes got;
    size_t first_chunk = 0;
    while (got.size() < 9) {
        const Bytes chunk = line().read_chunk(2000);
        if (chunk.empty())
            break;
        if (first_chunk == 0)
            first_chunk = chunk.size();
        got.insert(got.end(), chunk.begin(), chunk.end());
    }
    const auto took = duration_cast<milliseconds>(Clock::now() - t0).count();
    EXPECT_EQ(to_hex(got), "430000010000010200");
    EXPECT_LT(first_chunk, 9u) << "the reply must not arrive in one piece";
    EXPECT_GE(took, 8 * 40);
    sim().change_faults([&](sim::Faults& f) { f.split_reply_gap_ms = 0; });
    const auto t1 = Clock::now();
    EXPECT_EQ(to_hex(line().ask(hex("0D"), 30)), "430000010000010200");
    EXPECT_LT(duration_cast<milliseconds>(Clock::now() - t1).count(), 250);
}

TEST_F(Faults, HangUpAfterNBytes)
{
    start();
    sim().change_faults([&](sim::Faults& f) { f.hangup_after_bytes = 3; });
    EXPECT_EQ(to_hex(line().ask(hex("35"))), "2501");
    EXPECT_EQ(to_hex(line().ask(hex("35"))), "2501");
    line().write(hex("35"));
    EXPECT_TRUE(line().hung_up(1000));
    EXPECT_EQ(to_hex(sim().received()), "353535");
}

TEST_F(Faults, HangUpAtOnce)
{
    start();
    EXPECT_FALSE(line().hung_up(50));
    sim().change_faults([&](sim::Faults& f) { f.hangup_after_bytes = 0; });
    EXPECT_TRUE(line().hung_up(1000));
}

struct BlockFault {
    const char* name;
    std::function<void(sim::Simulator&)> set;
    std::vector<const char*> replies;  // to blocks 1, 2, 3, ...
};

class BlockFaults : public SimTest, public ::testing::WithParamInterface<BlockFault> {};

TEST_P(BlockFaults, RepliesToEachBlock)
{
    const BlockFault& f = GetParam();
    start();
    f.set(sim());
    EXPECT_EQ(to_hex(line().ask(hex("0C 00 13"))), "59");
    for (size_t i = 0; i < f.replies.size(); ++i)
        EXPECT_EQ(to_hex(line().ask(Bytes(64, static_cast<uint8_t>(i)))), f.replies[i]) << "block " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BlockFaults,
    ::testing::Values(BlockFault{"TwoReadyInOneBlock",
                                 [](sim::Simulator& s) {
                                     s.change_faults([&](sim::Faults& f) { f.block_replies[2] = {0x59, 0x59}; });
                                 },
                                 {"59", "5959", "59"}},
                      BlockFault{"ReadyAndDoneInOneBlock",
                                 [](sim::Simulator& s) {
                                     s.change_faults([&](sim::Faults& f) { f.block_replies[1] = {0x59, 0x55}; });
                                 },
                                 // Having said it is done, the ESC takes the next bytes as a request.
                                 {"5955", ""}},
                      BlockFault{"StopAfterBlock",
                                 [](sim::Simulator& s) { s.change_faults([&](sim::Faults& f) { f.stop_after_block = 2; }); },
                                 {"59", "59", "", ""}},
                      BlockFault{"ClearedBlockReply",
                                 [](sim::Simulator& s) {
                                     s.change_faults([&](sim::Faults& f) { f.block_replies[1] = {0x00}; });
                                     s.change_faults([&](sim::Faults& f) { f.block_replies.erase(1); });
                                 },
                                 {"59", "59"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Faults, FlippedReadBackByte)
{
    start();
    const Bytes held = sim().flash();
    sim().change_faults([&](sim::Faults& f) { f.flip_readback_byte = 100; });
    line().write(hex("0B"));
    Bytes back = line().read(6144, 3000);
    ASSERT_EQ(back.size(), 6144u);
    EXPECT_EQ(back[100], held[100] ^ 0xFF);
    back[100] ^= 0xFF;
    EXPECT_TRUE(back == held) << "only that one byte differs";

    sim().change_faults([&](sim::Faults& f) { f.flip_readback_byte = -1; });
    line().write(hex("0B"));
    EXPECT_TRUE(line().read(6144, 3000) == held);
}

}  // namespace
