// However zelt-cli is ended, a motor it drives stops first, and a firmware
// update it writes reaches its end: the real executable against the
// simulator, ended as scripts, terminals and pipes end it.

#include "cli_fixture.h"

#include <QElapsedTimer>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <functional>

namespace {

// 128 + the number of the signal that ended it. Signals sent close together
// reach whichever of the process's threads is free, in any order: any one of
// them may be the one taken (kAnyOfThem).
constexpr int kAnyOfThem = -1;
void expect_status(int code, int status, const std::vector<int>& sent)
{
    if (status != kAnyOfThem) {
        EXPECT_EQ(code, status);
        return;
    }
    EXPECT_TRUE(std::any_of(sent.begin(), sent.end(), [code](int s) { return code == 128 + s; })) << code;
}

void send_signals(qint64 pid, const std::vector<int>& sent, int gapUs)
{
    for (size_t i = 0; i < sent.size(); ++i) {
        if (i > 0)
            ::usleep(static_cast<useconds_t>(gapUs));
        ::kill(static_cast<pid_t>(pid), sent[i]);
    }
}

// Reads the child's standard output from a pipe until a line starting with
// `prefix` came, then closes the pipe as `head -n 1` does. False when no such
// line came in time.
bool read_until_then_close(int& readEnd, const QByteArray& prefix, int timeoutMs)
{
    QByteArray seen;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs && !seen.contains("\n" + prefix) && !seen.startsWith(prefix)) {
        pollfd in{readEnd, POLLIN, 0};
        if (::poll(&in, 1, 100) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(readEnd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        seen.append(buffer, n);
    }
    ::close(readEnd);
    readEnd = -1;
    return seen.startsWith(prefix) || seen.contains("\n" + prefix);
}

TEST_F(CliTest, EveryEndOfSpeedSendsFfLast)
{
    struct Row {
        const char* name;
        std::vector<int> sent;  // sent in this order, gapUs apart; none: the reader of stdout goes
        int gapUs;
        int status;
    };
    const Row rows[] = {
        {"SIGINT", {SIGINT}, 0, 130},
        {"SIGTERM", {SIGTERM}, 0, 143},
        {"SIGHUP", {SIGHUP}, 0, 129},
        {"SIGQUIT", {SIGQUIT}, 0, 131},
        {"SIGTERM twice, 1 ms apart", {SIGTERM, SIGTERM}, 1000, 143},
        {"SIGINT, then SIGTERM 0.2 ms later", {SIGINT, SIGTERM}, 200, kAnyOfThem},
        {"the reader of standard output gone", {}, 0, 141},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        sim_->clear_received();
        const bool pipeRow = row.sent.empty();
        int out[2] = {-1, -1};
        ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
        QProcess p;
        if (pipeRow)
            p.setChildProcessModifier([&out] { ::dup2(out[1], STDOUT_FILENO); });
        start(p, {"speed", "--throttle", "1200", "--poles", "2", "--seconds", "30", "--port", "PORT"});
        ::close(out[1]);
        for (int waited = 0; waited < 5000 && !sim_->in_speed_mode(); waited += 10)
            QThread::msleep(10);
        ASSERT_TRUE(sim_->in_speed_mode()) << p.readAllStandardError().toStdString();
        QElapsedTimer sinceEnd;
        if (pipeRow) {
            ASSERT_TRUE(read_until_then_close(out[0], "rpm=", 3000));
            sinceEnd.start();
        } else {
            ::close(out[0]);
            QThread::msleep(200);  // some throttle ticks
            sinceEnd.start();
            send_signals(p.processId(), row.sent, row.gapUs);
        }
        // A closed pipe is noticed at the next line, at most a second later.
        const bool ended = p.waitForFinished(pipeRow ? 4000 : 3000);
        if (!ended)
            p.kill();
        ASSERT_TRUE(ended) << "still running " << sinceEnd.elapsed() << " ms after the end";
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        expect_status(p.exitCode(), row.status, row.sent);
        const std::vector<uint8_t> wire = sim_->received();
        ASSERT_FALSE(wire.empty());
        EXPECT_EQ(wire.back(), 0xFF);
        EXPECT_FALSE(sim_->in_speed_mode());
        if (pipeRow)
            EXPECT_EQ(p.readAllStandardError(), QByteArray()) << "a closed pipe ends quietly";
    }
}

// Stopped halfway, an ESC may not start again: every block is written,
// however often the program is asked to end. The read-back after it only
// checks: a signal then, or one that came during the write, ends it at once.
TEST_F(CliTest, SignalsDuringAFlashWaitForTheWritesEnd)
{
    struct Row {
        const char* name;
        std::vector<int> sent;
        int gapUs;
        int status;
        bool duringReadBack;  // sent once the read-back is asked for, which is never answered
    };
    const Row rows[] = {
        {"SIGINT", {SIGINT}, 0, 130, false},
        {"SIGTERM twice, 0.2 ms apart", {SIGTERM, SIGTERM}, 200, 143, false},
        {"SIGHUP, SIGQUIT and SIGTERM", {SIGHUP, SIGQUIT, SIGTERM}, 200, kAnyOfThem, false},
        {"SIGTERM during the read-back", {SIGTERM}, 0, 143, true},
    };
    int minor = 3;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int versionCode = 0x10 + minor;
        const QString image = QStringLiteral("1.%1").arg(minor++);
        ASSERT_TRUE(sim::Simulator::write_sample_images(xdg("XDG_DATA_HOME", "zelt/firmware").toStdString(),
                                                        image.toStdString()));
        sim_->change_faults([&](sim::Faults& f) {
            f.reply_delay_ms = 5;  // a few blocks' time to send the signals in
            if (row.duringReadBack)
                f.reply_overrides[0x0B] = {};
        });
        const int before = sim_->request_count();
        QProcess p;
        start(p, {"flash", "--yes", "--port", "PORT"});
        const auto due = [&] {
            if (!row.duringReadBack)
                return sim_->request_count() >= before + 10;
            // The last block has taken the version; 0B after it asks for the read-back.
            const std::vector<uint8_t> wire = sim_->received();
            return sim_->fw_version() == versionCode && !wire.empty() && wire.back() == 0x0B;
        };
        for (int waited = 0; waited < 10000 && !due(); waited += 5)
            QThread::msleep(5);
        ASSERT_TRUE(due()) << p.readAllStandardError().toStdString();
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        send_signals(p.processId(), row.sent, row.gapUs);
        ASSERT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        expect_status(p.exitCode(), row.status, row.sent);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_EQ(err.count("zelt-cli: the firmware update goes on to its end, since an ESC left with half an "
                            "image may not start again; the program ends after it\n"),
                  row.duringReadBack ? 0 : 1)
            << err.toStdString();
        EXPECT_TRUE(err.contains("zelt-cli: stopped: the image was written but not verified; run flash again to "
                                 "write and check it\n"))
            << err.toStdString();
        EXPECT_FALSE(err.contains("Update hardware failure")) << err.toStdString();
        EXPECT_FALSE(err.contains("the shut-down took longer")) << err.toStdString();
        if (row.duringReadBack)
            EXPECT_LT(sinceSignal.elapsed(), 2000) << "the unanswered read-back waits 5 s";
        EXPECT_EQ(sim_->fw_version(), versionCode);
        sim_->change_faults([](sim::Faults& f) { f.reply_overrides.clear(); });
    }
}

}  // namespace
