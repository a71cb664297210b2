// Bytes both ways over a pseudo-terminal with the real threads: order,
// completeness, block sizes, the thread that runs the handlers, and the
// transmit-queue-empty notifications.

#include "comm_test_support.h"
#include "serial/data_block.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <thread>

namespace {

class TCommPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        comm.SetCommName(pty.slavePath());
        LineSettings line;
        line.baudRate = 19200;
        line.outX = line.inX = false;  // 0x11/0x13 in the data must pass
        comm.SetLine(line);
        Timeouts timeouts;
        timeouts.readInterval = 1;
        comm.SetIoTimeouts(timeouts);
        comm.OpenComm();
        // The one notification that every open brings.
        ASSERT_TRUE(waitUntil([&] { return rec.count('S') == 1; }, 5000));
    }

    PtyPair pty;
    TComm comm;
    CommRecorder rec{comm};
};

TEST_F(TCommPty, BlocksLeaveWholeAndInCallOrder)
{
    const QByteArray a = pattern(3000, 1);
    const QByteArray b = pattern(3000, 2);
    const QByteArray c(1, '\0');
    ASSERT_TRUE(comm.SendData(a.constData(), a.size()));
    ASSERT_TRUE(comm.SendData(b.constData(), b.size()));
    ASSERT_TRUE(comm.SendData(c.constData(), c.size()));
    const QByteArray all = a + b + c;
    EXPECT_EQ(pty.readMaster(all.size(), 10000), all);
}

TEST_F(TCommPty, TheLargestBlockArrivesWhole)
{
    const QByteArray big = pattern(65535, 3);
    ASSERT_TRUE(comm.SendData(big.constData(), 65535));
    const QByteArray got = pty.readMaster(65535, 10000);
    ASSERT_EQ(got.size(), 65535);
    EXPECT_EQ(got, big);
    EXPECT_EQ(pty.readMaster(1, 200), QByteArray());  // and nothing more
}

TEST_F(TCommPty, ABurstArrivesInOrderInBlocksOfAtMost2048Bytes)
{
    const QByteArray burst = pattern(10000, 5);
    std::thread writer([&] { pty.writeMaster(burst); });
    const bool all = waitUntil([&] { return rec.received().size() >= burst.size(); }, 10000);
    writer.join();
    ASSERT_TRUE(all);
    settle(50);
    EXPECT_EQ(rec.received(), burst);
    const auto blocks = rec.of('D');
    EXPECT_GE(blocks.size(), 5u);  // 10000 bytes need at least five blocks
    for (const auto& b : blocks) {
        EXPECT_GE(b.bytes.size(), 1);
        EXPECT_LE(b.bytes.size(), 2048);
        EXPECT_EQ(b.value, static_cast<uint32_t>(b.bytes.size()));
        EXPECT_TRUE(b.zeroAfter);
        EXPECT_TRUE(b.onMainThread);
    }
}

TEST_F(TCommPty, BytesSeparatedByAPauseArriveAsSeparateBlocks)
{
    pty.writeMaster("\x01\x02");
    ASSERT_TRUE(waitUntil([&] { return rec.received().size() == 2; }, 5000));
    pty.writeMaster("\x03");
    ASSERT_TRUE(waitUntil([&] { return rec.received().size() == 3; }, 5000));
    EXPECT_EQ(rec.received(), QByteArray("\x01\x02\x03"));
    EXPECT_EQ(rec.of('D').back().bytes, QByteArray("\x03"));
}

TEST_F(TCommPty, QuickSendsEndWithOneMoreQueueEmptyNotification)
{
    settle(100);
    EXPECT_EQ(rec.count('S'), 1);  // nothing written yet: only the one after open
    for (const char* s : {"one", "two", "three"}) {
        ASSERT_TRUE(comm.SendData(s, 3));
    }
    EXPECT_EQ(pty.readMaster(9, 5000), QByteArray("onetwothr"));
    ASSERT_TRUE(waitUntil([&] { return rec.count('S') >= 2; }, 5000));
    settle(100);
    // One per time the queue ran dry after writing: at least one, at most three.
    EXPECT_GE(rec.count('S'), 2);
    EXPECT_LE(rec.count('S'), 4);
    EXPECT_TRUE(comm.SendIdle());
    EXPECT_EQ(rec.count('H'), 0);
}

TEST_F(TCommPty, SendDataRefusesEmptyBlocksAndAClosedPort)
{
    EXPECT_FALSE(comm.SendData("x", 0));
    EXPECT_TRUE(comm.SendIdle());
    comm.CloseComm();
    EXPECT_FALSE(comm.SendData("x", 1));
    EXPECT_EQ(pty.readMaster(1, 200), QByteArray());
}

TEST_F(TCommPty, CloseDuringALongWriteReturnsPromptlyAndRaisesNothing)
{
    // Nobody reads the master, so the pseudo-terminal fills and the
    // transmit thread stays inside a write.
    const QByteArray big = pattern(65535, 7);
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(comm.SendData(big.constData(), big.size()));
    }
    settle(200);
    EXPECT_FALSE(comm.SendIdle());
    const size_t events = rec.entries.size();

    QElapsedTimer timer;
    timer.start();
    comm.CloseComm();
    EXPECT_LT(timer.elapsed(), 1000);
    settle(200);
    EXPECT_EQ(rec.entries.size(), events) << rec.kinds();
    EXPECT_TRUE(comm.SendIdle());
    EXPECT_EQ(DataBlock::liveCount(), 0);  // the blocks still queued are released
}

}  // namespace
