// The ends that leave no time for the link: a crash, std::terminate, a
// shut-down that hangs. Each row runs in a forked child that opens a
// pseudo-terminal through the real serial component, arms the stop byte as
// speed mode does, and then ends the way the row says; the line must carry
// FF (or nothing, where the port was closed first).

#include "child_end.h"
#include "link/line_settings.h"
#include "serial/tcomm.h"
#include "shutdown/crash_stop.h"
#include "shutdown/finish_first.h"
#include "shutdown/stop_signals.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <functional>
#include <string>
#include <thread>

namespace {

struct Pty {
    int master = -1;
    int slave = -1;  // held open so that what the child wrote stays readable
    std::string path;

    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            return;
        path = ::ptsname(master);
        slave = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    }
    ~Pty()
    {
        ::close(slave);
        ::close(master);
    }
    std::string drain() const { return read_all(master); }
};

// Runs body in a child that has the port open and the stop byte armed;
// body never returns by itself.
ChildEnd run_child(const Pty& pty, const std::function<void(TComm&)>& body)
{
    return run_forked([&] {
        TComm comm;
        comm.SetCommName(QString::fromStdString(pty.path));
        apply_link_line_settings(comm);
        comm.OpenComm();
        comm.ArmEmergencyByte(0xFF);
        install_crash_stop();
        body(comm);
    });
}

TEST(LastResort, EveryEndThatLeavesNoTimeStillSendsTheStopByte)
{
    struct Row {
        const char* name;
        std::function<void(TComm&)> end;
        int signal;            // the child dies of it (0: it exits)
        int status;            // its exit status when it exits
        std::string line;      // the bytes on the line
        qint64 minMs, maxMs;   // how long it takes
    };
    const Row rows[] = {
        {"SIGSEGV", [](TComm&) { ::raise(SIGSEGV); }, SIGSEGV, -1, "\xFF", 0, 3000},
        {"SIGABRT", [](TComm&) { std::abort(); }, SIGABRT, -1, "\xFF", 0, 3000},
        {"SIGBUS", [](TComm&) { ::raise(SIGBUS); }, SIGBUS, -1, "\xFF", 0, 3000},
        {"SIGFPE", [](TComm&) { ::raise(SIGFPE); }, SIGFPE, -1, "\xFF", 0, 3000},
        {"SIGILL", [](TComm&) { ::raise(SIGILL); }, SIGILL, -1, "\xFF", 0, 3000},
        {"std::terminate", [](TComm&) { std::terminate(); }, SIGABRT, -1, "\xFF", 0, 3000},
        {"exit() from inside a library", [](TComm&) { std::exit(1); }, 0, 1, "\xFF", 0, 3000},
        {"the port closed before the crash", [](TComm& comm) {
             comm.CloseComm();
             ::raise(SIGSEGV);
         },
         SIGSEGV, -1, "", 0, 3000},
        {"the stop byte disarmed by the link", [](TComm& comm) {
             comm.DisarmEmergencyByte();
             ::raise(SIGSEGV);
         },
         SIGSEGV, -1, "", 0, 3000},
        // The event loop never runs again: the bound on the shut-down ends it.
        {"a shut-down that hangs", [](TComm&) {
             StopSignals stop(QStringLiteral("child"));
             ::raise(SIGTERM);
             ::raise(SIGTERM);
             std::this_thread::sleep_for(std::chrono::seconds(10));
         },
         0, 143, "\xFF", 1800, 3000},
        // A firmware update holds it until its end, then the bound runs again.
        {"a shut-down held by a firmware update", [](TComm&) {
             StopSignals stop(QStringLiteral("child"));
             {
                 FinishFirst update;
                 ::raise(SIGHUP);
                 std::this_thread::sleep_for(std::chrono::milliseconds(2500));
                 ::raise(SIGTERM);
             }
             std::this_thread::sleep_for(std::chrono::seconds(10));
         },
         0, 129, "\xFF", 4300, 5500},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Pty pty;
        ASSERT_GE(pty.slave, 0);
        const ChildEnd end = run_child(pty, row.end);
        expect_child_end(end, row.signal, row.status);
        EXPECT_EQ(pty.drain(), row.line);
        EXPECT_GE(end.elapsedMs, row.minMs);
        EXPECT_LE(end.elapsedMs, row.maxMs);
        if (row.minMs > 0)
            EXPECT_NE(end.err.find("child: the shut-down took longer than 2 s; ended at once"), std::string::npos)
                << end.err;
    }
}

}  // namespace
