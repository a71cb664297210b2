// Line timing with pacing on: replies leave no earlier than a 19200-baud line
// allows. Lower bounds are exact; upper bounds are generous for a busy machine.

#include "sim_fixture.h"

using namespace simtest;
using std::chrono::duration;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

namespace {

constexpr double kByteMs = 10.0 * 1000.0 / 19200.0;  // 8N1: ten bits a byte

double ms_since(Clock::time_point t0)
{
    return duration<double, std::milli>(Clock::now() - t0).count();
}

class Pacing : public SimTest {
protected:
    void start_paced(int turnaround_ms)
    {
        sim::Options o;
        o.turnaround_ms = turnaround_ms;
        start(o);
    }
};

TEST_F(Pacing, SettingsReplyTakesRequestPlusReplyLineTime)
{
    start_paced(2);
    const auto t0 = Clock::now();
    line().write(hex("0D"));
    const Bytes reply = line().read(9, 2000);
    const double took = ms_since(t0);
    EXPECT_EQ(to_hex(reply), "430000010000010200");
    EXPECT_GE(took, (1 + 9) * kByteMs + 2 - 0.2);
    EXPECT_LT(took, 500);
}

TEST_F(Pacing, ImageBlockMustArriveWholeBeforeTheReply)
{
    start_paced(0);
    line().ask(hex("0C 00 13"), 50);
    const auto t0 = Clock::now();
    line().write(Bytes(64, 0xA5));
    EXPECT_EQ(to_hex(line().read(1, 2000)), "59");
    EXPECT_GE(ms_since(t0), 65 * kByteMs - 0.2);
}

TEST_F(Pacing, TurnaroundIsAddedBeforeTheReply)
{
    start_paced(150);
    const auto t0 = Clock::now();
    line().write(hex("35"));
    EXPECT_EQ(to_hex(line().read(2, 3000)), "2501");
    const double took = ms_since(t0);
    EXPECT_GE(took, 150 + 3 * kByteMs - 0.2);
    EXPECT_LT(took, 1500);
}

TEST_F(Pacing, ReadBackStreamsAtLineRate)
{
    // The first 960 bytes of the read-back take half a second on the line.
    start_paced(2);
    const auto t0 = Clock::now();
    line().write(hex("0B"));
    const Bytes part = line().read(960, 5000);
    const double took = ms_since(t0);
    ASSERT_GE(part.size(), 960u);
    const Bytes held = sim().flash();
    EXPECT_TRUE(Bytes(held.begin(), held.begin() + part.size()) == part);
    EXPECT_GE(took, 961 * kByteMs - 0.2);
    EXPECT_LT(took, 961 * kByteMs * 1.5 + 200);
}

TEST_F(Pacing, UnpacedRepliesComeAtOnce)
{
    start();
    const auto t0 = Clock::now();
    line().write(Bytes(64, 0x35));
    EXPECT_EQ(line().read(128, 2000).size(), 128u);
    EXPECT_LT(ms_since(t0), 64 * kByteMs) << "64 probes answered faster than the line could carry them";
}

}  // namespace
