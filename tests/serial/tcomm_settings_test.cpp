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
    EXPECT_EQ(c.BaudRate(), 9600u);
    EXPECT_FALSE(c.ParityCheck());
    EXPECT_FALSE(c.Outx_CtsFlow());
    EXPECT_FALSE(c.Outx_DsrFlow());
    EXPECT_EQ(c.DtrControl(), TDtrControl::DtrEnable);
    EXPECT_FALSE(c.DsrSensitivity());
    EXPECT_TRUE(c.TxContinueOnXoff());
    EXPECT_TRUE(c.Outx_XonXoffFlow());
    EXPECT_TRUE(c.Inx_XonXoffFlow());
    EXPECT_FALSE(c.ReplaceWhenParityError());
    EXPECT_FALSE(c.IgnoreNullChar());
    EXPECT_EQ(c.RtsControl(), TRtsControl::RtsEnable);
    EXPECT_EQ(c.XonLimit(), 500);
    EXPECT_EQ(c.XoffLimit(), 500);
    EXPECT_EQ(c.ByteSize(), TByteSize::_8);
    EXPECT_EQ(c.Parity(), TParity::None);
    EXPECT_EQ(c.StopBits(), TStopBits::_1);
    EXPECT_EQ(c.XonChar(), 0x11);
    EXPECT_EQ(c.XoffChar(), 0x13);
    EXPECT_EQ(c.ReplacedChar(), 0);
    EXPECT_EQ(c.ReadIntervalTimeout(), 100u);
    EXPECT_EQ(c.ReadTotalTimeoutMultiplier(), 0u);
    EXPECT_EQ(c.ReadTotalTimeoutConstant(), 0u);
    EXPECT_EQ(c.WriteTotalTimeoutMultiplier(), 0u);
    EXPECT_EQ(c.WriteTotalTimeoutConstant(), 0u);
    EXPECT_TRUE(c.SendIdle());
    EXPECT_FALSE(c.IsOpen());
    EXPECT_FALSE(c.OnReceiveData || c.OnReceiveError || c.OnModemStateChange || c.OnRequestHangup ||
                 c.OnSendDataEmpty);
}

// What assigning one property does on an open port.
struct SetterCase {
    const char* name;
    std::function<void(TComm&)> sameValue;
    std::function<void(TComm&)> newValue;
    int lineApplies;                         // re-applications of the line settings a new value causes
    int timeoutApplies;                      // re-applications of the time-outs
    std::function<bool(FakePort&)> reached;  // the new value is in what was applied
};

std::vector<SetterCase> setterCases()
{
    auto line = [](auto check) { return [check](FakePort& p) { return check(p.lastLine()); }; };
    auto time = [](auto check) { return [check](FakePort& p) { return check(p.lastTimeouts()); }; };
    return {
        {"BaudRate", [](TComm& c) { c.SetBaudRate(9600); }, [](TComm& c) { c.SetBaudRate(19200); }, 1, 0,
         line([](const LineSettings& s) { return s.baudRate == 19200; })},
        {"ParityCheck", [](TComm& c) { c.SetParityCheck(false); }, [](TComm& c) { c.SetParityCheck(true); },
         1, 0, line([](const LineSettings& s) { return s.parityCheck; })},
        {"Outx_CtsFlow", [](TComm& c) { c.SetOutx_CtsFlow(false); },
         [](TComm& c) { c.SetOutx_CtsFlow(true); }, 1, 0,
         line([](const LineSettings& s) { return s.outxCtsFlow; })},
        {"Outx_DsrFlow", [](TComm& c) { c.SetOutx_DsrFlow(false); },
         [](TComm& c) { c.SetOutx_DsrFlow(true); }, 1, 0,
         line([](const LineSettings& s) { return s.outxDsrFlow; })},
        {"DtrControl", [](TComm& c) { c.SetDtrControl(TDtrControl::DtrEnable); },
         [](TComm& c) { c.SetDtrControl(TDtrControl::DtrDisable); }, 1, 0,
         line([](const LineSettings& s) { return s.dtr == TDtrControl::DtrDisable; })},
        {"DsrSensitivity", [](TComm& c) { c.SetDsrSensitivity(false); },
         [](TComm& c) { c.SetDsrSensitivity(true); }, 1, 0,
         line([](const LineSettings& s) { return s.dsrSensitivity; })},
        {"TxContinueOnXoff", [](TComm& c) { c.SetTxContinueOnXoff(true); },
         [](TComm& c) { c.SetTxContinueOnXoff(false); }, 1, 0,
         line([](const LineSettings& s) { return !s.txContinueOnXoff; })},
        {"Outx_XonXoffFlow", [](TComm& c) { c.SetOutx_XonXoffFlow(true); },
         [](TComm& c) { c.SetOutx_XonXoffFlow(false); }, 1, 0,
         line([](const LineSettings& s) { return !s.outX; })},
        {"Inx_XonXoffFlow", [](TComm& c) { c.SetInx_XonXoffFlow(true); },
         [](TComm& c) { c.SetInx_XonXoffFlow(false); }, 1, 0,
         line([](const LineSettings& s) { return !s.inX; })},
        {"ReplaceWhenParityError", [](TComm& c) { c.SetReplaceWhenParityError(false); },
         [](TComm& c) { c.SetReplaceWhenParityError(true); }, 1, 0,
         line([](const LineSettings& s) { return s.replaceOnParityError; })},
        {"IgnoreNullChar", [](TComm& c) { c.SetIgnoreNullChar(false); },
         [](TComm& c) { c.SetIgnoreNullChar(true); }, 1, 0,
         line([](const LineSettings& s) { return s.ignoreNull; })},
        {"RtsControl", [](TComm& c) { c.SetRtsControl(TRtsControl::RtsEnable); },
         [](TComm& c) { c.SetRtsControl(TRtsControl::RtsTransmissionAvailable); }, 1, 0,
         line([](const LineSettings& s) { return s.rts == TRtsControl::RtsTransmissionAvailable; })},
        {"XonLimit", [](TComm& c) { c.SetXonLimit(500); }, [](TComm& c) { c.SetXonLimit(100); }, 1, 0,
         line([](const LineSettings& s) { return s.xonLimit == 100; })},
        {"XoffLimit", [](TComm& c) { c.SetXoffLimit(500); }, [](TComm& c) { c.SetXoffLimit(200); }, 1, 0,
         line([](const LineSettings& s) { return s.xoffLimit == 200; })},
        {"ByteSize", [](TComm& c) { c.SetByteSize(TByteSize::_8); },
         [](TComm& c) { c.SetByteSize(TByteSize::_5); }, 1, 0,
         line([](const LineSettings& s) { return s.byteSize == TByteSize::_5; })},
        {"StopBits", [](TComm& c) { c.SetStopBits(TStopBits::_1); },
         [](TComm& c) { c.SetStopBits(TStopBits::_1_5); }, 1, 0,
         line([](const LineSettings& s) { return s.stopBits == TStopBits::_1_5; })},
        {"XonChar", [](TComm& c) { c.SetXonChar(0x11); }, [](TComm& c) { c.SetXonChar('Q'); }, 1, 0,
         line([](const LineSettings& s) { return s.xonChar == 'Q'; })},
        {"XoffChar", [](TComm& c) { c.SetXoffChar(0x13); }, [](TComm& c) { c.SetXoffChar('S'); }, 1, 0,
         line([](const LineSettings& s) { return s.xoffChar == 'S'; })},
        {"ReplacedChar", [](TComm& c) { c.SetReplacedChar(0); }, [](TComm& c) { c.SetReplacedChar('?'); }, 1,
         0, line([](const LineSettings& s) { return s.errorChar == '?'; })},
        {"ReadIntervalTimeout", [](TComm& c) { c.SetReadIntervalTimeout(100); },
         [](TComm& c) { c.SetReadIntervalTimeout(1); }, 0, 1,
         time([](const Timeouts& t) { return t.readInterval == 1; })},
        {"ReadTotalTimeoutMultiplier", [](TComm& c) { c.SetReadTotalTimeoutMultiplier(0); },
         [](TComm& c) { c.SetReadTotalTimeoutMultiplier(3); }, 0, 1,
         time([](const Timeouts& t) { return t.readTotalMultiplier == 3; })},
        {"ReadTotalTimeoutConstant", [](TComm& c) { c.SetReadTotalTimeoutConstant(0); },
         [](TComm& c) { c.SetReadTotalTimeoutConstant(4); }, 0, 1,
         time([](const Timeouts& t) { return t.readTotalConstant == 4; })},
        {"WriteTotalTimeoutMultiplier", [](TComm& c) { c.SetWriteTotalTimeoutMultiplier(0); },
         [](TComm& c) { c.SetWriteTotalTimeoutMultiplier(5); }, 0, 1,
         time([](const Timeouts& t) { return t.writeTotalMultiplier == 5; })},
        {"WriteTotalTimeoutConstant", [](TComm& c) { c.SetWriteTotalTimeoutConstant(0); },
         [](TComm& c) { c.SetWriteTotalTimeoutConstant(6); }, 0, 1,
         time([](const Timeouts& t) { return t.writeTotalConstant == 6; })},
        {"Parity", [](TComm& c) { c.SetParity(TParity::None); }, [](TComm& c) { c.SetParity(TParity::Even); },
         0, 0, line([](const LineSettings& s) { return s.parity == TParity::Even; })},
    };
}

TEST(TCommProperties, ChangesReachAnOpenPortOnlyWhereTheyShould)
{
    for (const SetterCase& c : setterCases()) {
        SCOPED_TRACE(c.name);
        auto layer = std::make_shared<FakePortLayer>();
        TComm comm(nullptr, layer);
        comm.OpenComm();
        FakePort& port = *layer->current;
        const int lines = port.lineApplies();
        const int times = port.timeoutApplies();

        c.sameValue(comm);
        EXPECT_EQ(port.lineApplies(), lines);
        EXPECT_EQ(port.timeoutApplies(), times);

        c.newValue(comm);
        EXPECT_EQ(port.lineApplies(), lines + c.lineApplies);
        EXPECT_EQ(port.timeoutApplies(), times + c.timeoutApplies);
        // Parity alone is only stored.
        EXPECT_EQ(c.reached(port), c.lineApplies + c.timeoutApplies > 0);

        // The stored value is what the next open applies.
        comm.CloseComm();
        comm.OpenComm();
        EXPECT_EQ(layer->current->lineApplies(), 1);
        EXPECT_EQ(layer->current->timeoutApplies(), 1);
        EXPECT_TRUE(c.reached(*layer->current));
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
    comm.SetBaudRate(19200);
    comm.SetParity(TParity::Odd);
    comm.SetReadIntervalTimeout(1);
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
    std::function<void(TComm&)> change;
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
    comm.SetBaudRate(19200);
    EXPECT_EQ(speed(), B19200);
    comm.SetBaudRate(12345);
    EXPECT_EQ(speed(), B19200);
    EXPECT_EQ(comm.BaudRate(), 12345u);
    comm.SetBaudRate(115200);
    EXPECT_EQ(speed(), B115200);
}

TEST_F(TCommTermios, LineSettingsAsTheTerminalSeesThem)
{
    const TermiosCase cases[] = {
        {"one and a half stop bits", [](TComm& c) { c.SetStopBits(TStopBits::_1_5); },
         [](const termios& t) { return (t.c_cflag & CSTOPB) != 0; }},
        {"one stop bit", [](TComm& c) { c.SetStopBits(TStopBits::_1); },
         [](const termios& t) { return (t.c_cflag & CSTOPB) == 0; }},
        {"two stop bits", [](TComm& c) { c.SetStopBits(TStopBits::_2); },
         [](const termios& t) { return (t.c_cflag & CSTOPB) != 0; }},
        {"CTS flow", [](TComm& c) { c.SetOutx_CtsFlow(true); },
         [](const termios& t) { return (t.c_cflag & CRTSCTS) != 0; }},
        {"no CTS flow", [](TComm& c) { c.SetOutx_CtsFlow(false); },
         [](const termios& t) { return (t.c_cflag & CRTSCTS) == 0; }},
        {"RTS handshake", [](TComm& c) { c.SetRtsControl(TRtsControl::RtsHandshake); },
         [](const termios& t) { return (t.c_cflag & CRTSCTS) != 0; }},
        {"parity check", [](TComm& c) { c.SetParityCheck(true); },
         [](const termios& t) { return (t.c_iflag & INPCK) != 0; }},
        {"no XON/XOFF out", [](TComm& c) { c.SetOutx_XonXoffFlow(false); },
         [](const termios& t) { return (t.c_iflag & (IXON | IXOFF)) == IXOFF; }},
        {"no XON/XOFF in", [](TComm& c) { c.SetInx_XonXoffFlow(false); },
         [](const termios& t) { return (t.c_iflag & (IXON | IXOFF)) == 0; }},
        {"XON/XOFF chars", [](TComm& c) { c.SetXonChar('a'), c.SetXoffChar('b'); },
         [](const termios& t) { return t.c_cc[VSTART] == 'a' && t.c_cc[VSTOP] == 'b'; }},
    };
    for (const TermiosCase& c : cases) {
        c.change(comm);
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

    int fd = -1;
    TComm comm;
};

TEST_F(TCommUartTermios, ParityWaitsForTheNextLineChange)
{
    EXPECT_EQ(cflag() & PARENB, 0u);
    comm.SetParity(TParity::Even);
    EXPECT_EQ(cflag() & PARENB, 0u);
    comm.SetBaudRate(19200);
    EXPECT_EQ(cflag() & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB));

    comm.SetParity(TParity::None);
    EXPECT_NE(cflag() & PARENB, 0u);
    comm.CloseComm();
    comm.OpenComm();
    EXPECT_EQ(cflag() & PARENB, 0u);
}

TEST_F(TCommUartTermios, DataBitsAndParitySchemes)
{
    const TermiosCase cases[] = {
        {"5 data bits", [](TComm& c) { c.SetByteSize(TByteSize::_5); },
         [](const termios& t) { return (t.c_cflag & CSIZE) == CS5; }},
        {"6 data bits", [](TComm& c) { c.SetByteSize(TByteSize::_6); },
         [](const termios& t) { return (t.c_cflag & CSIZE) == CS6; }},
        {"7 data bits", [](TComm& c) { c.SetByteSize(TByteSize::_7); },
         [](const termios& t) { return (t.c_cflag & CSIZE) == CS7; }},
        {"odd", [](TComm& c) { c.SetParity(TParity::Odd), c.SetByteSize(TByteSize::_8); },
         [](const termios& t) {
             return (t.c_cflag & (PARENB | PARODD | CMSPAR)) == (PARENB | PARODD) &&
                    (t.c_cflag & CSIZE) == CS8;
         }},
        {"mark", [](TComm& c) { c.SetParity(TParity::Mark), c.SetXonLimit(1); },
         [](const termios& t) {
             return (t.c_cflag & (PARENB | PARODD | CMSPAR)) == (PARENB | PARODD | CMSPAR);
         }},
        {"space", [](TComm& c) { c.SetParity(TParity::Space), c.SetXonLimit(2); },
         [](const termios& t) { return (t.c_cflag & (PARENB | PARODD | CMSPAR)) == (PARENB | CMSPAR); }},
        {"none", [](TComm& c) { c.SetParity(TParity::None), c.SetXonLimit(3); },
         [](const termios& t) { return (t.c_cflag & PARENB) == 0; }},
    };
    for (const TermiosCase& c : cases) {
        c.change(comm);
        EXPECT_TRUE(c.holds(lineOf(fd))) << c.name;
    }
}

}  // namespace
