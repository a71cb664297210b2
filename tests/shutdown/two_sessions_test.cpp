// Two sessions in one process, each in a thread of its own with its own event
// loop, each driving a motor in speed mode on a simulated card of its own.
// Every end of the process must stop both motors: each line carries the
// release, FF, once and last. Each row runs in a forked child, which ends
// the way the row says; the simulators stay in this process and read what
// the child wrote.

#include "child_end.h"
#include "testing/session_peer.h"
#include "core/esc_session.h"
#include "shutdown/crash_stop.h"
#include "shutdown/stop_signals.h"
#include "testing/event_wait.h"
#include "testing/fake_view.h"
#include "testing/recording_dialogs.h"
#include "testing/started_sim.h"

#include <QEventLoop>
#include <QSocketNotifier>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace {

// One EscSession made in a std::thread that runs its own event loop, brought
// to speed mode on port. Work reaches it through a queue under a mutex, and
// a byte on a socket pair wakes its loop: both are orderings that the
// thread sanitizer sees, unlike Qt's own cross-thread calls.
class SessionThread {
public:
    explicit SessionThread(const std::string& port) : port_(port)
    {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wake_) == 0)
            thread_ = std::thread([this] { run(); });
    }
    ~SessionThread()
    {
        if (thread_.joinable())
            thread_.join();
        ::close(wake_[0]);
        ::close(wake_[1]);
    }

    // Whether the session came to speed mode and its card answered a tick.
    bool inSpeedMode()
    {
        if (!thread_.joinable())
            return false;
        std::future<bool> ready = ready_.get_future();
        return ready.wait_for(std::chrono::seconds(10)) == std::future_status::ready && ready.get();
    }

    // Runs work in the session's thread and returns once it has run.
    void inSession(std::function<void(EscSession&)> work)
    {
        std::unique_lock lock(mutex_);
        const int ticket = ++posted_;
        queue_.push_back(std::move(work));
        [[maybe_unused]] const ssize_t n = ::write(wake_[0], "w", 1);
        done_.wait(lock, [&] { return finished_ >= ticket || ended_; });
    }
    // The thread stops in the middle of its work, as a shut-down that hangs:
    // no tick runs from now on, and the session stays in speed mode.
    void hold()
    {
        post([this](EscSession&) {
            {
                std::lock_guard lock(mutex_);
                held_ = true;
                done_.notify_all();
            }
            std::this_thread::sleep_for(std::chrono::seconds(30));
        });
        std::unique_lock lock(mutex_);
        done_.wait(lock, [&] { return held_; });
    }
    // Left to run alone; it never returns while the child lives.
    void post(std::function<void(EscSession&)> work)
    {
        std::lock_guard lock(mutex_);
        ++posted_;
        queue_.push_back(std::move(work));
        [[maybe_unused]] const ssize_t n = ::write(wake_[0], "w", 1);
    }
    // As a program ends a session: the ESC gets its release before the port
    // closes, then the thread ends.
    void end()
    {
        inSession([this](EscSession& s) {
            s.speed().beforeClose();
            quit_ = true;
        });
        thread_.join();
    }

private:
    void run()
    {
        QEventLoop loop;  // gives the thread its event dispatcher
        FakeView view;
        RecordingDialogs dialogs;
        EscSession session(view, dialogs, SessionChoices{.watchdog = false});
        session.comm().SetCommName(QString::fromStdString(port_));
        try {
            session.comm().OpenComm();
        } catch (const ECommsError&) {
            ready_.set_value(false);
            return;
        }
        EscSessionTestPeer::state(session).esc_ok = true;
        bool answered = false;
        session.speed().onTick = [&](const SpeedTick& tick) {
            if (tick.period && !answered) {
                answered = true;
                ready_.set_value(true);
            }
        };
        session.speed().set_pole_count(14);
        session.speed().set_throttle(900);
        session.speed().switch_mode(OperationMode::Speed);

        QSocketNotifier notifier(wake_[1], QSocketNotifier::Read);
        QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
            char byte;
            if (::read(wake_[1], &byte, 1) != 1)
                return;
            std::unique_lock lock(mutex_);
            std::function<void(EscSession&)> work = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            work(session);
            lock.lock();
            ++finished_;
            done_.notify_all();
            if (quit_)
                loop.quit();
        });
        loop.exec();
        std::lock_guard lock(mutex_);
        ended_ = true;
        done_.notify_all();
    }

    std::string port_;
    int wake_[2] = {-1, -1};
    std::promise<bool> ready_;
    std::mutex mutex_;
    std::condition_variable done_;
    std::deque<std::function<void(EscSession&)>> queue_;
    int posted_ = 0;
    int finished_ = 0;
    bool held_ = false;   // hold() has stopped the thread
    bool quit_ = false;   // set by the work that ends the loop
    bool ended_ = false;  // the loop has ended
    std::thread thread_;
};

constexpr int kNoSessions = 90;  // the child could not bring both to speed mode

struct TwoLines {
    ChildEnd end;
    std::vector<uint8_t> lines[2];  // what each card received
};

// Forks first, so that the child starts with one thread (the simulators'
// threads stay here); the child gets the two ports through a pipe, has both
// sessions in speed mode, and then ends as body says. body never returns.
TwoLines run_two_sessions(const std::function<void(SessionThread&, SessionThread&)>& body)
{
    int portPipe[2];
    if (::pipe(portPipe) != 0)
        return {};
    std::unique_ptr<sim::Simulator> sims[2];
    TwoLines run;
    run.end = run_forked(
        [&] {
            ::close(portPipe[1]);
            const std::string ports = read_all(portPipe[0]);
            const size_t gap = ports.find('\n');
            if (gap == std::string::npos)
                ::_exit(kNoSessions);
            install_crash_stop();
            SessionThread a(ports.substr(0, gap));
            SessionThread b(ports.substr(gap + 1));
            if (!a.inSpeedMode() || !b.inSpeedMode())
                ::_exit(kNoSessions);
            body(a, b);
        },
        [&] {
            ::close(portPipe[0]);
            for (auto& sim : sims)
                sim = started_sim();
            const std::string ports =
                sims[0] && sims[1] ? sims[0]->port_path() + "\n" + sims[1]->port_path() : std::string();
            [[maybe_unused]] const ssize_t n = ::write(portPipe[1], ports.data(), ports.size());
            ::close(portPipe[1]);
        });
    // The child is gone: what it wrote is all in the terminals, for the
    // simulators to take.
    for (int i = 0; i < 2 && sims[i]; ++i) {
        wait_until([&] { return !sims[i]->received().empty() && sims[i]->received().back() == 0xFF; }, 1000);
        run.lines[i] = sims[i]->received();
    }
    return run;
}

TEST(TwoSessions, EveryEndStopsTheMotorOnBothCards)
{
    struct Row {
        const char* name;
        std::function<void(SessionThread&, SessionThread&)> end;
        int signal;  // the child dies of it (0: it exits)
        int status;  // its exit status when it exits
        bool bound;  // the shut-down's bound ended it, after about 2 s
    };
    const Row rows[] = {
        // The program's own way: the signal reaches the event loop, which
        // ends each session in its thread.
        {"SIGTERM, each session ended by its thread",
         [](SessionThread& a, SessionThread& b) {
             StopSignals stop(QStringLiteral("child"));
             bool asked = false;
             QObject::connect(&stop, &StopSignals::stopRequested, [&] { asked = true; });
             ::raise(SIGTERM);
             if (wait_until([&] { return asked; }, 5000)) {
                 a.end();
                 b.end();
             }
             ::_exit(stop.exitStatus());
         },
         0, 143, false},
        // Neither the event loop nor the sessions' threads run again.
        {"SIGTERM while every thread hangs",
         [](SessionThread& a, SessionThread& b) {
             StopSignals stop(QStringLiteral("child"));
             a.hold();
             b.hold();
             ::raise(SIGTERM);
             std::this_thread::sleep_for(std::chrono::seconds(10));
         },
         0, 143, true},
        {"a crash in one session's thread",
         [](SessionThread& a, SessionThread& b) {
             b.hold();
             a.post([](EscSession&) { ::raise(SIGSEGV); });
             std::this_thread::sleep_for(std::chrono::seconds(10));
         },
         SIGSEGV, -1, false},
        // The first session's link has sent its own release and disarmed its
        // port; the crash must still reach the second.
        {"a crash after one session has left speed mode",
         [](SessionThread& a, SessionThread& b) {
             a.inSession([](EscSession& s) { s.speed().switch_mode(OperationMode::Parameter); });
             a.hold();
             b.hold();
             std::terminate();
         },
         SIGABRT, -1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TwoLines run = run_two_sessions(row.end);
        const ChildEnd& end = run.end;
        ASSERT_NE(end.status, kNoSessions) << end.err;
        // The thread sanitizer reports from the child, where a race would show.
        EXPECT_EQ(end.err.find("WARNING: ThreadSanitizer"), std::string::npos) << end.err;
        expect_child_end(end, row.signal, row.status);
        for (const std::vector<uint8_t>& line : run.lines) {
            EXPECT_GE(line.size(), 3u) << "the start byte, a throttle code, the release";
            if (line.empty())
                continue;
            EXPECT_EQ(line.front(), 0x06);
            EXPECT_EQ(line.back(), 0xFF);
            EXPECT_EQ(std::count(line.begin(), line.end(), 0xFF), 1);
        }
        const bool bounded = end.err.find("child: the shut-down took longer than 2 s; ended at once") != std::string::npos;
        EXPECT_EQ(bounded, row.bound) << end.err;
        if (row.bound)
            EXPECT_GE(end.elapsedMs, 1800);
        EXPECT_LE(end.elapsedMs, 8000);
    }
}

}  // namespace
