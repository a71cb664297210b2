// Properties: the constructor's values, when a change reaches an open port,
// and how the line settings look on a real terminal afterwards.

#include "comm_test_support.h"
#include "fake_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

namespace {

TEST(TCommProperties, ConstructorValues)
{
    TComm c;
    EXPECT_EQ(c.CommName(), "COM2");
    EXPECT_EQ(c.Line().baudRate, 9600u);
    EXPECT_EQ(c.IoTimeouts().readInterval, 100u);
    EXPECT_TRUE(c.SendIdle());
    EXPECT_FALSE(c.IsOpen());
    EXPECT_FALSE(c.OnReceiveData || c.OnReceiveError || c.OnModemStateChange || c.OnRequestHangup ||
                 c.OnSendDataEmpty);
}

// What setting the line settings or time-outs does on an open port.
struct SetterCase {
    const char* name;
    std::function<void(LineSettings&, Timeouts&)> change;
    int lineApplies;     // re-applications of the line settings
    int timeoutApplies;  // re-applications of the time-outs
};

TEST(TCommProperties, ChangesReachAnOpenPortOnlyWhereTheyShould)
{
    const SetterCase cases[] = {
        {"the values already held", [](LineSettings&, Timeouts&) {}, 0, 0},
        {"baud rate", [](LineSettings& l, Timeouts&) { l.baudRate = 19200; }, 1, 0},
        {"flow control and line levels",
         [](LineSettings& l, Timeouts&) {
             l.outX = l.inX = false;
             l.dtr = TDtrControl::DtrDisable;
             l.rts = TRtsControl::RtsTransmissionAvailable;
         },
         1, 0},
        {"read interval", [](LineSettings&, Timeouts& t) { t.readInterval = 1; }, 0, 1},
        {"write constant", [](LineSettings&, Timeouts& t) { t.writeTotalConstant = 6; }, 0, 1},
        {"parity alone is only stored", [](LineSettings& l, Timeouts&) { l.parity = TParity::Even; }, 0, 0},
        {"parity with another setting",
         [](LineSettings& l, Timeouts&) { l.parity = TParity::Even, l.stopBits = TStopBits::_2; }, 1, 0},
    };
    for (const SetterCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto layer = std::make_shared<FakePortLayer>();
        TComm comm(nullptr, layer);
        comm.OpenComm();
        FakePort& port = *layer->current;
        LineSettings line = comm.Line();
        Timeouts timeouts = comm.IoTimeouts();
        c.change(line, timeouts);
        comm.SetLine(line);
        comm.SetIoTimeouts(timeouts);
        EXPECT_EQ(port.lineApplies(), 1 + c.lineApplies);
        EXPECT_EQ(port.timeoutApplies(), 1 + c.timeoutApplies);
        if (c.lineApplies > 0)
            EXPECT_EQ(port.lastLine(), line);
        if (c.timeoutApplies > 0)
            EXPECT_EQ(port.lastTimeouts(), timeouts);
        EXPECT_EQ(comm.Line(), line);

        // The stored values are what the next open applies.
        comm.CloseComm();
        comm.OpenComm();
        EXPECT_EQ(layer->current->lastLine(), line);
        EXPECT_EQ(layer->current->lastTimeouts(), timeouts);
        comm.CloseComm();
    }
}

TEST(TCommProperties, CommNameIsUsedAtTheNextOpen)
{
    auto layer = std::make_shared<FakePortLayer>();
    TComm comm(nullptr, layer);
    comm.OpenComm();
    comm.SetCommName("ttyUSB3");
    EXPECT_EQ(layer->current->lineApplies(), 1);
    EXPECT_EQ(layer->current->timeoutApplies(), 1);
    comm.CloseComm();
    comm.OpenComm();
    EXPECT_EQ(layer->openedPaths, (std::vector<std::string>{"/dev/COM2", "/dev/ttyUSB3"}));
}

TEST(TCommProperties, ChangesWhileClosedAreOnlyStored)
{
    auto layer = std::make_shared<FakePortLayer>();
    TComm comm(nullptr, layer);
    LineSettings line;
    line.baudRate = 19200;
    line.parity = TParity::Odd;
    comm.SetLine(line);
    Timeouts timeouts;
    timeouts.readInterval = 1;
    comm.SetIoTimeouts(timeouts);
    EXPECT_FALSE(layer->current);
    comm.OpenComm();
    EXPECT_EQ(layer->current->lastLine().baudRate, 19200u);
    EXPECT_EQ(layer->current->lastLine().parity, TParity::Odd);
    EXPECT_EQ(layer->current->lastTimeouts().readInterval, 1u);
}

// The same changes seen from the terminal's side. A pseudo-terminal forces 8
// data bits without parity, so those two are read back from a UART where the
// machine has one.
struct TermiosCase {
    const char* name;
    std::function<void(LineSettings&)> change;
    std::function<bool(const termios&)> holds;
};

termios lineOf(int fd)
{
    termios t{};
    EXPECT_EQ(::tcgetattr(fd, &t), 0);
    return t;
}

class TCommTermios : public ::testing::Test {
protected:
    void SetUp() override
    {
        comm.SetCommName(pty.slavePath());
        comm.OpenComm();
    }
    termios line() { return lineOf(pty.master()); }  // the master reports the slave's settings
    void change(const std::function<void(LineSettings&)>& edit)
    {
        LineSettings l = comm.Line();
        edit(l);
        comm.SetLine(l);
    }
    speed_t speed()
    {
        const termios t = line();
        return ::cfgetospeed(&t);
    }

    PtyPair pty;
    TComm comm;
};

TEST_F(TCommTermios, OpenSetsARawLineWithTheConstructorValues)
{
    const termios t = line();
    EXPECT_EQ(::cfgetospeed(&t), B9600);
    EXPECT_EQ(::cfgetispeed(&t), B9600);
    EXPECT_EQ(t.c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | INPCK), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);
    EXPECT_NE(t.c_cflag & CREAD, 0u);
    EXPECT_NE(t.c_cflag & CLOCAL, 0u);
}

TEST_F(TCommTermios, BaudRateChangesTheLineAtOnceAndAnUnsupportedRateIsIgnored)
{
    change([](LineSettings& l) { l.baudRate = 19200; });
    EXPECT_EQ(speed(), B19200);
    change([](LineSettings& l) { l.baudRate = 12345; });
    EXPECT_EQ(speed(), B19200);
    EXPECT_EQ(comm.Line().baudRate, 12345u);
    change([](LineSettings& l) { l.baudRate = 115200; });
    EXPECT_EQ(speed(), B115200);
}

TEST_F(TCommTermios, LineSettingsAsTheTerminalSeesThem)
{
    const TermiosCase cases[] = {
        {"one and a half stop bits", [](LineSettings& l) { l.stopBits = TStopBits::_1_5; },
         [](const termios& t) { return (t.c_cflag & CSTOPB) != 0; }},
        {"one stop bit", [](LineSettings& l) { l.stopBits = TStopBits::_1; },
         [](const termios& t) { return (t.c_cflag & CSTOPB) == 0; }},
        {"two stop bits", [](LineSettings& l) { l.stopBits = TStopBits::_2; },
         [](const termios& t) { return (t.c_cflag & CSTOPB) != 0; }},
        {"CTS flow", [](LineSettings& l) { l.outxCtsFlow = true; },
         [](const termios& t) { return (t.c_cflag & CRTSCTS) != 0; }},
        {"no CTS flow", [](LineSettings& l) { l.outxCtsFlow = false; },
         [](const termios& t) { return (t.c_cflag & CRTSCTS) == 0; }},
        {"RTS handshake", [](LineSettings& l) { l.rts = TRtsControl::RtsHandshake; },
         [](const termios& t) { return (t.c_cflag & CRTSCTS) != 0; }},
        {"parity check", [](LineSettings& l) { l.parityCheck = true; },
         [](const termios& t) { return (t.c_iflag & INPCK) != 0; }},
        {"no XON/XOFF out", [](LineSettings& l) { l.outX = false; },
         [](const termios& t) { return (t.c_iflag & (IXON | IXOFF)) == IXOFF; }},
        {"no XON/XOFF in", [](LineSettings& l) { l.inX = false; },
         [](const termios& t) { return (t.c_iflag & (IXON | IXOFF)) == 0; }},
        {"XON/XOFF chars", [](LineSettings& l) { l.xonChar = 'a', l.xoffChar = 'b'; },
         [](const termios& t) { return t.c_cc[VSTART] == 'a' && t.c_cc[VSTOP] == 'b'; }},
    };
    for (const TermiosCase& c : cases) {
        change(c.change);
        EXPECT_TRUE(c.holds(line())) << c.name;
    }
}

// On a UART: a descriptor opened before the component takes the port reads
// back what the component set.
class TCommUartTermios : public ::testing::Test {
protected:
    void SetUp() override
    {
        fd = ::open("/dev/ttyS0", O_RDWR | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) {
            GTEST_SKIP() << "no /dev/ttyS0";
        }
        comm.SetCommName("ttyS0");
        try {
            comm.OpenComm();
        } catch (const ECommsError& e) {
            GTEST_SKIP() << e.what();
        }
    }
    void TearDown() override
    {
        comm.CloseComm();
        if (fd >= 0) {
            ::close(fd);
        }
    }
    tcflag_t cflag() { return lineOf(fd).c_cflag; }
    void change(const std::function<void(LineSettings&)>& edit)
    {
        LineSettings l = comm.Line();
        edit(l);
        comm.SetLine(l);
    }

    int fd = -1;
    TComm comm;
};

TEST_F(TCommUartTermios, ParityWaitsForTheNextLineChange)
{
    EXPECT_EQ(cflag() & PARENB, 0u);
    change([](LineSettings& l) { l.parity = TParity::Even; });
    EXPECT_EQ(cflag() & PARENB, 0u);
    change([](LineSettings& l) { l.baudRate = 19200; });
    EXPECT_EQ(cflag() & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB));

    change([](LineSettings& l) { l.parity = TParity::None; });
    EXPECT_NE(cflag() & PARENB, 0u);
    comm.CloseComm();
    comm.OpenComm();
    EXPECT_EQ(cflag() & PARENB, 0u);
}

TEST_F(TCommUartTermios, DataBitsAndParitySchemes)
{
    const TermiosCase cases[] = {
        {"5 data bits", [](LineSettings& l) { l.byteSize = TByteSize::_5; },
         [](const termios& t) { return (t.c_cflag & CSIZE) == CS5; }},
        {"6 data bits", [](LineSettings& l) { l.byteSize = TByteSize::_6; },
         [](const termios& t) { return (t.c_cflag & CSIZE) == CS6; }},
        {"7 data bits", [](LineSettings& l) { l.byteSize = TByteSize::_7; },
         [](const termios& t) { return (t.c_cflag & CSIZE) == CS7; }},
        {"odd", [](LineSettings& l) { l.parity = TParity::Odd, l.byteSize = TByteSize::_8; },
         [](const termios& t) {
             return (t.c_cflag & (PARENB | PARODD | CMSPAR)) == (PARENB | PARODD) &&
                    (t.c_cflag & CSIZE) == CS8;
         }},
        {"mark", [](LineSettings& l) { l.parity = TParity::Mark, l.xonLimit = 1; },
         [](const termios& t) {
             return (t.c_cflag & (PARENB | PARODD | CMSPAR)) == (PARENB | PARODD | CMSPAR);
         }},
        {"space", [](LineSettings& l) { l.parity = TParity::Space, l.xonLimit = 2; },
         [](const termios& t) { return (t.c_cflag & (PARENB | PARODD | CMSPAR)) == (PARENB | CMSPAR); }},
        {"none", [](LineSettings& l) { l.parity = TParity::None, l.xonLimit = 3; },
         [](const termios& t) { return (t.c_cflag & PARENB) == 0; }},
    };
    for (const TermiosCase& c : cases) {
        change(c.change);
        EXPECT_TRUE(c.holds(lineOf(fd))) << c.name;
    }
}

}  // namespace
