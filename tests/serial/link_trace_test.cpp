// The link trace: off until a rule turns it on, every block each way in hex
// with the time, opens (with the system's reason when they fail) and closes;
// captured into the recent lines and a log file.

#include "comm_test_support.h"
#include "fake_port.h"
#include "serial/link_trace.h"
#include "serial/trace_capture.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {

// Each test starts and ends with the trace off, as a program starts.
class LinkTrace : public ::testing::Test {
protected:
    void SetUp() override { enable_link_trace(false); }
    void TearDown() override { enable_link_trace(false); }

    // The lines without their leading time, which must be hh:mm:ss.zzz.
    static QStringList untimed(const QStringList& lines)
    {
        static const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d "));
        QStringList out;
        for (const QString& line : lines) {
            EXPECT_TRUE(time.match(line).hasMatch()) << line.toStdString();
            out << line.mid(13);
        }
        return out;
    }
};

TEST_F(LinkTrace, IsOffByDefaultAndTheDebugRuleTurnsItOn)
{
    EXPECT_EQ(QByteArray(lcLink().categoryName()), "zelt.link");
    QLoggingCategory::setFilterRules(QString());
    EXPECT_FALSE(lcLink().isDebugEnabled());
    QLoggingCategory::setFilterRules(QStringLiteral("zelt.link.debug=true"));
    EXPECT_TRUE(lcLink().isDebugEnabled());
    QLoggingCategory::setFilterRules(QString());
    EXPECT_FALSE(lcLink().isDebugEnabled());

    LinkTraceCapture capture;
    trace_event(QStringLiteral("while off"));
    EXPECT_TRUE(capture.recent().lines().isEmpty());
}

TEST_F(LinkTrace, EveryBlockEachWayOpenAndCloseInOrder)
{
    LinkTraceCapture capture;
    enable_link_trace(true);
    auto layer = std::make_shared<FakePortLayer>();
    TComm comm(nullptr, layer);
    CommRecorder rec(comm);
    comm.SetCommName(QStringLiteral("ttyUSB3"));
    comm.OpenComm();
    // Two upper-case hex digits per byte, zeros kept.
    layer->current->pushRead({QByteArray("\x50\x0A\xA5", 3)});
    ASSERT_TRUE(waitUntil([&] { return rec.received().size() == 3; }, 5000));
    ASSERT_TRUE(comm.SendData("\x35", 1));
    ASSERT_TRUE(waitUntil([&] { return layer->current->written() == "\x35"; }, 5000));
    ASSERT_TRUE(waitUntil([&] { return capture.recent().lines().size() == 4; }, 5000));
    layer->current->pushRead({QByteArray("\x01", 1), kLineErrorFrame | kLineErrorParity});
    layer->current->pushRead({{}, 0, IoStatus::Failed});
    ASSERT_TRUE(waitUntil([&] { return rec.count('H') == 1; }, 5000));
    comm.CloseComm();
    EXPECT_EQ(untimed(capture.recent().lines()),
              (QStringList{"open /dev/ttyUSB3",
                           "low latency asked: not offered here (Inappropriate ioctl for device)", "RX 50 0A A5", "TX 35", "line error 0x000c", "RX 01",
                           "hang-up request", "close /dev/ttyUSB3"}));
}

// Every open asks for low latency once; whatever the port answers, the open
// goes on and the trace says what was asked and answered.
TEST_F(LinkTrace, EveryOpenAsksForLowLatencyOnceAndNoAnswerFailsIt)
{
    const struct {
        LowLatencyAnswer answer;
        QString line;
    } cases[] = {
        {{LowLatency::Granted}, "low latency asked: granted"},
        {{LowLatency::AlreadyOn}, "low latency asked: already on"},
        {{LowLatency::Ignored}, "low latency asked: ignored by the driver"},
        {{LowLatency::NotOffered, ENOTTY}, "low latency asked: not offered here (Inappropriate ioctl for device)"},
        {{LowLatency::NotOffered, EINVAL}, "low latency asked: not offered here (Invalid argument)"},
        {{LowLatency::NotOffered, EPERM}, "low latency asked: not offered here (Operation not permitted)"},
        {{LowLatency::Failed, EIO}, "low latency asked: failed, the port is used as it is (Input/output error)"},
    };
    for (const auto& c : cases) {
        LinkTraceCapture capture;
        enable_link_trace(true);
        auto layer = std::make_shared<FakePortLayer>();
        layer->lowLatencyAnswer = c.answer;
        TComm comm(nullptr, layer);
        comm.SetCommName(QStringLiteral("ttyUSB0"));
        for (int open = 1; open <= 2; ++open) {
            ASSERT_NO_THROW(comm.OpenComm()) << c.line.toStdString();
            EXPECT_TRUE(comm.IsOpen());
            EXPECT_EQ(layer->current->lowLatencyRequests(), 1) << c.line.toStdString();
            comm.CloseComm();
        }
        const QString open = QStringLiteral("open /dev/ttyUSB0");
        const QString close = QStringLiteral("close /dev/ttyUSB0");
        EXPECT_EQ(untimed(capture.recent().lines()), (QStringList{open, c.line, close, open, c.line, close}));
    }
}

// The real request on a pseudo-terminal, which has no serial_struct.
TEST_F(LinkTrace, APseudoTerminalDoesNotOfferLowLatency)
{
    PtyPair pty;
    const int fd = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    const LowLatencyAnswer answer = request_low_latency(fd);
    ::close(fd);
    EXPECT_EQ(answer.result, LowLatency::NotOffered);
    EXPECT_EQ(answer.systemError, ENOTTY);
}

TEST_F(LinkTrace, FailedOpensCarryTheSystemsReason)
{
    const struct {
        OpenStatus status;
        int systemError;
        QString line;
    } cases[] = {
        {OpenStatus::OpenFailed, EACCES, "open /dev/ttyUSB0 failed: Error opening serial port (Permission denied)"},
        {OpenStatus::OpenFailed, EBUSY,
         "open /dev/ttyUSB0 failed: Error opening serial port (Device or resource busy)"},
        {OpenStatus::NotATerminal, ENOTTY,
         "open /dev/ttyUSB0 failed: File handle is not a comm handle  (Inappropriate ioctl for device)"},
    };
    for (const auto& c : cases) {
        LinkTraceCapture capture;
        enable_link_trace(true);
        auto layer = std::make_shared<FakePortLayer>();
        layer->openResult = c.status;
        layer->openErrno = c.systemError;
        TComm comm(nullptr, layer);
        comm.SetCommName(QStringLiteral("ttyUSB0"));
        EXPECT_THROW(comm.OpenComm(), ECommsError);
        EXPECT_EQ(comm.LastOpenError(), c.systemError);
        EXPECT_EQ(untimed(capture.recent().lines()), QStringList{c.line});
    }
}

// Messages that reach the handler installed before the capture.
QStringList passedOn;
void recordPassedOn(QtMsgType, const QMessageLogContext&, const QString& message)
{
    passedOn << message;
}

// Kept from the start for the log window: the lines are held whatever the
// rules say, and go on to standard error only when the rules asked for them;
// a warning in the trace's category (a failure at shut-down) always does.
TEST_F(LinkTrace, KeptFromTheStartAndPrintedOnlyWhenTheRulesAsk)
{
    const struct {
        QString rules;
        bool printed;
    } cases[] = {
        {QString(), false},
        {QStringLiteral("zelt.link.debug=true"), true},
    };
    for (const auto& c : cases) {
        QLoggingCategory::setFilterRules(c.rules);
        passedOn.clear();
        const QtMessageHandler before = qInstallMessageHandler(recordPassedOn);
        // A second capture after the first (a window after a window) finds
        // the trace as the rules left it, not as the first one turned it.
        for (int capturesMade = 0; capturesMade < 2; ++capturesMade) {
            LinkTraceCapture capture;
            capture.keepFromStart();
            EXPECT_TRUE(lcLink().isDebugEnabled());
            trace_event(QStringLiteral("kept"));
            EXPECT_EQ(untimed(capture.recent().lines()), QStringList{"kept"}) << c.rules.toStdString();
            qCWarning(lcLink).noquote() << "Unable to write to zelt.ini";
        }
        qInstallMessageHandler(before);
        EXPECT_EQ(passedOn.size(), c.printed ? 4 : 2) << c.rules.toStdString();
        EXPECT_EQ(passedOn.value(passedOn.size() - 1), QStringLiteral("Unable to write to zelt.ini"));
    }
    QLoggingCategory::setFilterRules(QString());
}

TEST_F(LinkTrace, LogFileGetsTheLinesAppendedAndOtherMessagesPassBy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zelt.log"));
    {
        QFile earlier(path);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier run\n");
    }
    LinkTraceCapture capture;
    QString error;
    EXPECT_FALSE(capture.logToFile(dir.filePath(QStringLiteral("no/such/folder/zelt.log")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(lcLink().isDebugEnabled());

    ASSERT_TRUE(capture.logToFile(path, &error)) << error.toStdString();
    EXPECT_TRUE(lcLink().isDebugEnabled());
    trace_block(TraceDirection::Sent, "\x35", 1);
    qDebug("not part of the trace");
    trace_close(QStringLiteral("/dev/ttyUSB0"));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "earlier run");
    EXPECT_EQ(untimed(lines.mid(1, 2)), (QStringList{"TX 35", "close /dev/ttyUSB0"}));
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(untimed(capture.recent().lines()), (QStringList{"TX 35", "close /dev/ttyUSB0"}));
}

TEST_F(LinkTrace, RecentLinesKeepTheLastOnesAndSaveThem)
{
    RecentLines recent(3);
    QStringList announced;
    QObject::connect(&recent, &RecentLines::lineAppended, [&](const QString& l) { announced << l; });
    for (const char* line : {"a", "b", "c", "d", "e"}) {
        recent.append(QString::fromLatin1(line));
    }
    EXPECT_EQ(recent.lines(), (QStringList{"c", "d", "e"}));
    EXPECT_EQ(announced, (QStringList{"a", "b", "c", "d", "e"}));

    QTemporaryDir dir;
    QString error;
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    ASSERT_TRUE(recent.save(path, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("c\nd\ne\n"));
    EXPECT_FALSE(recent.save(dir.filePath(QStringLiteral("missing/trace.txt")), &error));
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
