// Opening and closing: the messages, what each failure leaves behind, one
// owner per port, and re-opening.

#include "comm_test_support.h"
#include "fake_port.h"
#include "serial/data_block.h"

#include <QElapsedTimer>
#include <QTemporaryFile>

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

std::string openError(TComm& comm)
{
    try {
        comm.OpenComm();
    } catch (const ECommsError& e) {
        return e.what();
    }
    return "(opened)";
}

// Sends one byte each way and checks both arrive.
void expectWorking(TComm& comm, PtyPair& pty, CommRecorder& rec)
{
    const QByteArray before = rec.received();
    ASSERT_TRUE(comm.SendData("\x5A", 1));
    EXPECT_EQ(pty.readMaster(1, 5000), QByteArray("\x5A"));
    pty.writeMaster("\xA5");
    EXPECT_TRUE(waitUntil([&] { return rec.received() == before + "\xA5"; }, 5000));
}

// The system's reason travels with the fixed message, on the exception and
// on the component.
TEST(TCommOpen, FailuresRaiseTheirMessageAndLeaveTheComponentClosed)
{
    QTemporaryFile regular;
    ASSERT_TRUE(regular.open());
    const struct {
        QString name;
        std::string message;
        int systemError;
        std::string reason;
    } cases[] = {
        {"ttyNoSuchPort0", "Error opening serial port", ENOENT, "No such file or directory"},
        {"COM1", "Error opening serial port", ENOENT, "No such file or directory"},
        {"/dev/no/such/device", "Error opening serial port", ENOENT, "No such file or directory"},
        {regular.fileName(), "File handle is not a comm handle ", ENOTTY, "Inappropriate ioctl for device"},
        {"/dev/null", "File handle is not a comm handle ", ENOTTY, "Inappropriate ioctl for device"},
        {"null", "File handle is not a comm handle ", ENOTTY, "Inappropriate ioctl for device"},
    };
    for (const auto& c : cases) {
        TComm comm;
        comm.SetCommName(c.name);
        try {
            comm.OpenComm();
            ADD_FAILURE() << "opened " << c.name.toStdString();
        } catch (const ECommsError& e) {
            EXPECT_EQ(e.what(), c.message) << c.name.toStdString();
            EXPECT_EQ(e.systemError(), c.systemError) << c.name.toStdString();
            EXPECT_EQ(e.systemReason(), c.reason) << c.name.toStdString();
        }
        EXPECT_EQ(comm.LastOpenError(), c.systemError);
        EXPECT_FALSE(comm.IsOpen());
        EXPECT_FALSE(comm.SendData("x", 1));
    }
}

TEST(TCommOpen, AValidNameOpensAfterAFailedOpen)
{
    PtyPair pty;
    TComm comm;
    CommRecorder rec(comm);
    comm.SetCommName("ttyNoSuchPort0");
    EXPECT_EQ(openError(comm), "Error opening serial port");
    // A name without a leading slash is looked up in /dev.
    comm.SetCommName(pty.slavePath().mid(QStringLiteral("/dev/").size()));
    ASSERT_NO_THROW(comm.OpenComm());
    EXPECT_TRUE(comm.IsOpen());
    EXPECT_EQ(comm.LastOpenError(), 0);
    expectWorking(comm, pty, rec);
}

TEST(TCommOpen, OpeningAnOpenComponentRaisesAndKeepsThePortWorking)
{
    PtyPair pty;
    TComm comm;
    CommRecorder rec(comm);
    comm.SetCommName(pty.slavePath());
    comm.OpenComm();
    EXPECT_EQ(openError(comm), "This serial port already opened");
    EXPECT_TRUE(comm.IsOpen());
    expectWorking(comm, pty, rec);
}

TEST(TCommOpen, ASecondComponentCannotOpenAPortInUse)
{
    PtyPair pty;
    TComm first;
    first.SetCommName(pty.slavePath());
    first.OpenComm();
    TComm second;
    second.SetCommName(pty.slavePath());
    EXPECT_EQ(openError(second), "Error opening serial port");
    // Busy, not "try again": what the lock held by the first one means.
    EXPECT_EQ(second.LastOpenError(), EBUSY);
    EXPECT_FALSE(second.IsOpen());

    first.CloseComm();
    EXPECT_NO_THROW(second.OpenComm());
}

TEST(TCommOpen, CloseIsHarmlessWhenClosedAndReopenStartsAfresh)
{
    PtyPair pty;
    TComm comm;
    CommRecorder rec(comm);
    comm.CloseComm();  // never opened
    comm.SetCommName(pty.slavePath());
    for (int round = 0; round < 3; ++round) {
        ASSERT_NO_THROW(comm.OpenComm()) << round;
        expectWorking(comm, pty, rec);
        comm.CloseComm();
        comm.CloseComm();
        EXPECT_FALSE(comm.IsOpen());
        EXPECT_FALSE(comm.SendData("x", 1));
    }
}

TEST(TCommOpen, DestroyingAnOpenComponentClosesThePort)
{
    PtyPair pty;
    {
        auto comm = std::make_unique<TComm>();
        comm->SetCommName(pty.slavePath());
        comm->OpenComm();
        comm->SendData("abc", 3);
    }
    TComm next;
    next.SetCommName(pty.slavePath());
    EXPECT_NO_THROW(next.OpenComm());
}

TEST(TCommOpen, PortNamesFormDevicePaths)
{
    const struct {
        QString name;
        std::string path;
    } cases[] = {
        {"ttyUSB0", "/dev/ttyUSB0"},      {"COM2", "/dev/COM2"},      {"pts/7", "/dev/pts/7"},
        {"/dev/ttyACM1", "/dev/ttyACM1"}, {"/tmp/link", "/tmp/link"},
    };
    for (const auto& c : cases) {
        auto layer = std::make_shared<FakePortLayer>();
        layer->openResult = OpenStatus::OpenFailed;
        TComm comm(nullptr, layer);
        comm.SetCommName(c.name);
        EXPECT_EQ(openError(comm), "Error opening serial port");
        ASSERT_EQ(layer->openedPaths.size(), 1u);
        EXPECT_EQ(layer->openedPaths[0], c.path);
    }
}

TEST(TCommOpen, FailuresAfterTheDeviceOpenedCloseItAgain)
{
    const struct {
        bool failQueueSizes;
        bool failCloseEvent;
        std::string message;
    } cases[] = {
        {true, false, "Cannot setup comm buffer"},
        {false, true, "Unable to create event"},
    };
    for (const auto& c : cases) {
        auto layer = std::make_shared<FakePortLayer>();
        layer->failQueueSizes = c.failQueueSizes;
        layer->failCloseEvent = c.failCloseEvent;
        TComm comm(nullptr, layer);
        EXPECT_EQ(openError(comm), c.message);
        EXPECT_FALSE(comm.IsOpen());
        ASSERT_TRUE(layer->current);
        EXPECT_TRUE(layer->current->closed()) << c.message;
        EXPECT_FALSE(comm.SendData("x", 1));
    }
}

TEST(TCommOpen, OpenPurgesBothSidesThenAppliesTimeoutsAndLineSettings)
{
    auto layer = std::make_shared<FakePortLayer>();
    TComm comm(nullptr, layer);
    comm.OpenComm();
    FakePort& port = *layer->current;
    ASSERT_FALSE(port.purges().empty());
    EXPECT_EQ(port.purges().front(), 0xFu);
    EXPECT_EQ(port.timeoutApplies(), 1);
    EXPECT_EQ(port.lineApplies(), 1);
    comm.CloseComm();
    // Receive side (abort and clear input) first, then the transmit side.
    const std::vector<unsigned> p = port.purges();
    EXPECT_NE(std::find(p.begin(), p.end(), 0xAu), p.end());
    EXPECT_NE(std::find(p.begin(), p.end(), 0x5u), p.end());
    EXPECT_TRUE(port.closed());
}

// A real UART reports modem lines, so its receive side blocks in a wait that
// poll() cannot include; closing must still end it at once.
TEST(TCommOpen, CloseEndsAWaitForModemLinesPromptly)
{
    const int probe = ::open("/dev/ttyS0", O_RDWR | O_NONBLOCK | O_NOCTTY);
    if (probe < 0) {
        GTEST_SKIP() << "no /dev/ttyS0";
    }
    ::close(probe);
    TComm comm;
    comm.SetCommName("ttyS0");
    try {
        comm.OpenComm();
    } catch (const ECommsError& e) {
        GTEST_SKIP() << e.what();
    }
    settle(50);  // let the receive side enter its wait
    QElapsedTimer timer;
    timer.start();
    comm.CloseComm();
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_FALSE(comm.IsOpen());
}

}  // namespace
