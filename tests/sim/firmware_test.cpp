// Firmware write and read-back through the pseudo-terminal.

#include "sim_fixture.h"

#include <thread>

using namespace simtest;

namespace {

constexpr int kBlock = 64;
constexpr int kBlocks = 96;

// An image holding every byte value, the request codes among them, so that a
// device that read block data as requests would answer wrongly.
Bytes test_image()
{
    Bytes image(kBlock * kBlocks);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>((i * 31 + i / 256) & 0xFF);
    return image;
}

Bytes block_of(const Bytes& image, int n)  // n counts from 1
{
    return Bytes(image.begin() + (n - 1) * kBlock, image.begin() + n * kBlock);
}

class Firmware : public SimTest {
protected:
    // Sends blocks first..last, expecting `ready` after each but the 96th.
    void send_blocks(const Bytes& image, int first, int last)
    {
        for (int n = first; n <= last; ++n) {
            line().write(block_of(image, n));
            ASSERT_EQ(to_hex(line().read(1, 2000)), n == kBlocks ? "55" : "59") << "block " << n;
        }
    }
};

TEST_F(Firmware, FullWriteReadsBackExactlyAndReportsTheNewVersion)
{
    start();
    const Bytes image = test_image();
    EXPECT_EQ(to_hex(line().ask(hex("07"))), "");
    EXPECT_EQ(to_hex(line().ask(hex("0C 00 13"))), "59");
    send_blocks(image, 1, kBlocks);
    EXPECT_EQ(to_hex(line().read_until_quiet(60)), "") << "nothing after the final 55";

    line().write(hex("0B"));
    const Bytes back = line().read(image.size(), 3000);
    EXPECT_TRUE(back == image);
    EXPECT_EQ(to_hex(line().read_until_quiet(60)), "") << "nothing after the 6144 bytes";
    EXPECT_TRUE(sim().flash() == image);
    EXPECT_EQ(sim().fw_version(), 0x13);
    EXPECT_EQ(to_hex(line().ask(hex("50"))), "50031013");
}

TEST_F(Firmware, ReadBackBeforeAnyWriteGivesTheFactoryFirmware)
{
    start();
    line().write(hex("0B"));
    const Bytes back = line().read(6144, 3000);
    EXPECT_EQ(to_hex(line().read_until_quiet(60)), "");
    EXPECT_TRUE(back == sim().flash());
    EXPECT_FALSE(back == test_image());
}

TEST_F(Firmware, VersionChangesOnlyWithTheLastBlock)
{
    start();
    const Bytes image = test_image();
    line().ask(hex("0C 00 13"));
    send_blocks(image, 1, kBlocks - 1);
    EXPECT_EQ(to_hex(line().ask(hex("50"))), "") << "a request byte inside a write is block data";
    EXPECT_EQ(sim().fw_version(), 0x12);
}

TEST_F(Firmware, BlockSplitAcrossWritesIsOneBlock)
{
    start();
    const Bytes image = test_image();
    line().ask(hex("0C 00 13"));
    const Bytes block = block_of(image, 1);
    line().write(Bytes(block.begin(), block.begin() + 10));
    EXPECT_EQ(to_hex(line().read_until_quiet(40)), "");
    line().write(Bytes(block.begin() + 10, block.begin() + 63));
    EXPECT_EQ(to_hex(line().read_until_quiet(40)), "");
    line().write(Bytes(block.begin() + 63, block.end()));
    EXPECT_EQ(to_hex(line().read(1)), "59");
}

TEST_F(Firmware, StartJoinedWithTheFirstBlock)
{
    start();
    const Bytes image = test_image();
    Bytes joined = hex("0C 00 13");
    const Bytes block = block_of(image, 1);
    joined.insert(joined.end(), block.begin(), block.end());
    EXPECT_EQ(to_hex(line().ask(joined)), "5959");
}

TEST_F(Firmware, FillBlocksAfterCompletionAreAccepted)
{
    start();
    const Bytes image = test_image();
    line().ask(hex("0C 00 13"));
    send_blocks(image, 1, kBlocks);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(to_hex(line().ask(Bytes(kBlock, 0xFF))), "55") << "fill block " << i;
    EXPECT_TRUE(sim().flash() == image);
    line().write(hex("0B"));
    EXPECT_TRUE(line().read(6144, 3000) == image);
}

TEST_F(Firmware, AbandonedWriteEndsWhenTheLineGoesQuiet)
{
    start();
    const Bytes image = test_image();
    line().ask(hex("0C 00 13"));
    send_blocks(image, 1, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(1300));
    EXPECT_EQ(to_hex(line().ask(hex("35"))), "2501");
    EXPECT_EQ(sim().fw_version(), 0x12);
}

}  // namespace
