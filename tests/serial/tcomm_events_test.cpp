// What only a scripted port can produce: line errors, modem line changes,
// failing reads and writes, a handle closed under the threads, and blocks
// that are still on their way when the port closes.

#include "comm_test_support.h"
#include "fake_port.h"
#include "serial/data_block.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Step = FakePort::ReadStep;

class TCommFake : public ::testing::Test {
protected:
    void SetUp() override
    {
        comm.OpenComm();
        port = layer->current.get();
        ASSERT_TRUE(waitUntil([&] { return rec.count('S') == 1; }, 5000));
    }
    void TearDown() override
    {
        comm.CloseComm();
        settle(0);
        EXPECT_EQ(DataBlock::liveCount(), 0);
    }

    std::shared_ptr<FakePortLayer> layer = std::make_shared<FakePortLayer>();
    TComm comm{nullptr, layer};
    CommRecorder rec{comm};
    FakePort* port = nullptr;
};

TEST_F(TCommFake, NotificationsRunInPostingOrderOnTheMainThread)
{
    port->pushRead(Step{"ab"});
    port->pushRead(Step{"cd", kLineErrorFrame | kLineErrorOverrun});
    port->pushRead(Step{"e"});
    ASSERT_TRUE(waitUntil([&] { return rec.count('D') == 3; }, 5000));
    EXPECT_EQ(rec.kinds(), "SDEDD");
    EXPECT_EQ(rec.of('E')[0].value, 0x000Au);
    EXPECT_EQ(rec.received(), "abcde");
    for (const auto& e : rec.entries) {
        EXPECT_TRUE(e.onMainThread) << e.kind;
    }
}

TEST_F(TCommFake, LineErrorsAreReportedAndReceptionGoesOn)
{
    const uint32_t flags[] = {kLineErrorFrame, kLineErrorParity, kLineErrorOverrun, kLineErrorBreak,
                              kLineErrorFrame | kLineErrorParity | kLineErrorRxOver};
    for (uint32_t f : flags) {
        port->pushRead(Step{"x", f});
    }
    port->pushRead(Step{"after"});
    ASSERT_TRUE(waitUntil([&] { return rec.received() == "xxxxxafter"; }, 5000));
    const auto errors = rec.of('E');
    ASSERT_EQ(errors.size(), std::size(flags));
    for (size_t i = 0; i < errors.size(); ++i) {
        EXPECT_EQ(errors[i].value, flags[i]);
    }
    EXPECT_EQ(rec.count('H'), 0);
}

TEST_F(TCommFake, ModemLineChangesRaiseCarrierRingOrBoth)
{
    const struct {
        uint32_t events;
        uint32_t modem;
    } cases[] = {{kEventCarrier, 8}, {kEventRing, 4}, {kEventCarrier | kEventRing, 12}};
    for (const auto& c : cases) {
        port->pushLineEvent({c.events});
        ASSERT_TRUE(
            waitUntil([&] { return !rec.of('M').empty() && rec.of('M').back().value == c.modem; }, 5000));
    }
    EXPECT_EQ(rec.count('M'), 3);
    port->pushRead(Step{"still"});
    EXPECT_TRUE(waitUntil([&] { return rec.received() == "still"; }, 5000));
}

// A failed read, and the end of input of a line hung up (a terminal whose
// other side has gone: an adapter pulled out reads as that), each ask for
// one hang-up and end reception until the port is opened again.
TEST_F(TCommFake, AFailedOrEndedReadRequestsOneHangupAndStopsReceptionUntilReopened)
{
    int hangups = 0;
    QByteArray received;
    for (const IoStatus ending : {IoStatus::Failed, IoStatus::EndOfData}) {
        SCOPED_TRACE(ending == IoStatus::Failed ? "failed" : "end of input");
        port->pushRead(Step{"before"});
        port->pushRead(Step{{}, 0, ending});
        port->pushRead(Step{"lost"});
        received += "before";
        ASSERT_TRUE(waitUntil([&] { return rec.count('H') == hangups + 1; }, 5000));
        settle(200);
        EXPECT_EQ(rec.count('H'), ++hangups);
        EXPECT_EQ(rec.received(), received);
        EXPECT_TRUE(comm.IsOpen());
        // The transmit side is independent of the receive side.
        EXPECT_TRUE(comm.SendData("tx", 2));
        EXPECT_TRUE(waitUntil([&] { return port->written() == "tx"; }, 5000));

        comm.CloseComm();
        comm.OpenComm();
        port = layer->current.get();
        port->pushRead(Step{"again"});
        received += "again";
        EXPECT_TRUE(waitUntil([&] { return rec.received() == received; }, 5000));
    }
}

TEST_F(TCommFake, ThreadsEndWithoutNotificationOnAnInvalidHandle)
{
    port->pushRead(Step{{}, 0, IoStatus::InvalidHandle});
    port->setWriteStatus(IoStatus::InvalidHandle);
    EXPECT_TRUE(comm.SendData("x", 1));
    settle(200);
    EXPECT_EQ(rec.kinds(), "S");
    EXPECT_FALSE(comm.SendData("y", 1));  // the transmit thread has ended
    EXPECT_TRUE(comm.SendIdle());
}

TEST_F(TCommFake, AnUnexpectedLineEventEndsTheReceiveSideWithOneHangup)
{
    const struct {
        FakePort::LineStep step;
    } cases[] = {{{0, IoStatus::Ok}}, {{0, IoStatus::Failed}}};
    for (const auto& c : cases) {
        port->pushLineEvent(c.step);
        ASSERT_TRUE(waitUntil([&] { return rec.count('H') == 1; }, 5000));
        port->pushRead(Step{"lost"});
        settle(100);
        EXPECT_EQ(rec.count('H'), 1);
        EXPECT_EQ(rec.received(), "");
        EXPECT_EQ(rec.count('M'), 0);
        comm.CloseComm();
        rec.entries.clear();
        comm.OpenComm();
        port = layer->current.get();
        ASSERT_TRUE(waitUntil([&] { return rec.count('S') == 1; }, 5000));
    }
}

TEST_F(TCommFake, AFailedWriteRequestsAHangupAndRefusesFurtherBlocks)
{
    port->holdWrites(true);
    ASSERT_TRUE(comm.SendData("first", 5));
    ASSERT_TRUE(port->waitForWriteStarted(5000ms));
    ASSERT_TRUE(comm.SendData("second", 6));  // queued behind the failing one
    port->setWriteStatus(IoStatus::Failed);
    port->holdWrites(false);
    ASSERT_TRUE(waitUntil([&] { return rec.count('H') == 1; }, 5000));
    settle(100);
    EXPECT_EQ(rec.kinds(), "SH");
    EXPECT_FALSE(comm.SendData("third", 5));
    EXPECT_TRUE(comm.SendIdle());
    EXPECT_TRUE(comm.IsOpen());
    EXPECT_EQ(port->written(), "");
    EXPECT_EQ(DataBlock::liveCount(), 0);  // the failed block and the queued one
}

TEST_F(TCommFake, NoQueueEmptyNotificationWhileABlockIsBeingWritten)
{
    port->holdWrites(true);
    ASSERT_TRUE(comm.SendData("one", 3));
    ASSERT_TRUE(port->waitForWriteStarted(5000ms));
    ASSERT_TRUE(comm.SendData("two", 3));
    ASSERT_TRUE(comm.SendData("three", 5));
    settle(100);
    EXPECT_EQ(rec.count('S'), 1);
    EXPECT_FALSE(comm.SendIdle());
    port->holdWrites(false);
    ASSERT_TRUE(waitUntil([&] { return rec.count('S') == 2; }, 5000));
    settle(100);
    EXPECT_EQ(rec.count('S'), 2);
    EXPECT_EQ(port->written(), "onetwothree");
    EXPECT_TRUE(comm.SendIdle());
}

TEST_F(TCommFake, CloseDuringAWriteRaisesNothingAndReleasesTheQueuedBlocks)
{
    port->holdWrites(true);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(comm.SendData("block", 5));
    }
    ASSERT_TRUE(port->waitForWriteStarted(5000ms));
    QElapsedTimer timer;
    timer.start();
    comm.CloseComm();
    EXPECT_LT(timer.elapsed(), 1000);
    settle(100);
    EXPECT_EQ(rec.kinds(), "S");
    EXPECT_EQ(DataBlock::liveCount(), 0);
    EXPECT_EQ(port->written(), "");
}

TEST_F(TCommFake, ABlockReceivedJustBeforeCloseIsDeliveredAfterIt)
{
    port->pushRead(Step{"late"});
    // The second read starts only after the first block was posted.
    ASSERT_TRUE(port->waitForReadCalls(2, 5000ms));
    comm.CloseComm();
    EXPECT_EQ(rec.received(), "");
    EXPECT_TRUE(waitUntil([&] { return rec.received() == "late"; }, 5000));
    EXPECT_TRUE(rec.of('D')[0].zeroAfter);
}

TEST_F(TCommFake, ReadsLongerThanABlockAreSplit)
{
    const QByteArray big = pattern(5000, 9);
    port->pushRead(Step{big});
    ASSERT_TRUE(waitUntil([&] { return rec.received().size() == big.size(); }, 5000));
    EXPECT_EQ(rec.received(), big);
    std::vector<int> sizes;
    for (const auto& d : rec.of('D')) {
        sizes.push_back(d.bytes.size());
    }
    EXPECT_EQ(sizes, (std::vector<int>{2048, 2048, 904}));
}

TEST(TCommFakeLifetime, BlocksNotYetDeliveredAreReleasedWithTheComponent)
{
    auto layer = std::make_shared<FakePortLayer>();
    {
        TComm comm(nullptr, layer);
        CommRecorder rec(comm);
        comm.OpenComm();
        layer->current->pushRead(Step{"never handled"});
        ASSERT_TRUE(layer->current->waitForReadCalls(2, 5000ms));
        EXPECT_EQ(DataBlock::liveCount(), 1);
    }
    EXPECT_EQ(DataBlock::liveCount(), 0);
    EXPECT_TRUE(layer->current->closed());
}

TEST(TCommFakeLifetime, AReceiveSideWithoutLineEventsStillReads)
{
    auto layer = std::make_shared<FakePortLayer>();
    layer->lineEvents = false;
    TComm comm(nullptr, layer);
    CommRecorder rec(comm);
    comm.OpenComm();
    layer->current->pushLineEvent({kEventCarrier});  // nobody waits for it
    layer->current->pushRead(Step{"data"});
    ASSERT_TRUE(waitUntil([&] { return rec.received() == "data"; }, 5000));
    settle(50);
    EXPECT_EQ(rec.count('M'), 0);
}

}  // namespace
