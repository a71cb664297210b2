// Start-up of the real program: zelt-esc is copied into a program folder of
// its own whose zelt.ini names the simulator's port, and started five times
// (--quick: once) on the offscreen platform. Each start is timed from the
// launch until the program reports its first painted frame (it prints "shown"
// when ZELT_ANNOUNCE_SHOWN is set); then the program is left to settle, with
// the ESC identified, and its resident memory is read from /proc before it is
// ended with SIGTERM. Goals: median start <= 0.3 s, idle RSS <= 40 MB
// (10^6 bytes), the largest of the runs.
//
// The libraries are in the page cache after the first start, as they are for
// a user who has started any Qt program; no cache is dropped.

#include "bench_report.h"
#include "sim/simulator.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Start {
    double seconds = -1;  // negative: the window was never reported shown
    double rssMb = -1;
};

// Resident set of a process in MB, or -1.
double rss_mb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) * 1024.0 / 1e6;  // kB
    return -1;
}

// Reads the child's output until the line "shown" or the deadline.
bool wait_for_shown(int fd, Clock::time_point deadline)
{
    std::string seen;
    char buffer[256];
    while (seen.find("shown\n") == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{fd, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0)
            return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        seen.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

// SIGTERM, as a desktop session ending would send, then SIGKILL if it hangs.
void stop(pid_t pid)
{
    ::kill(pid, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            std::fprintf(stderr, "cold_start: the program did not end on SIGTERM; killed\n");
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

Start start_once(const std::string& program, int settleMs)
{
    Start result;
    int out[2];
    if (::pipe(out) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};

    pid_t pid = -1;
    const auto t0 = Clock::now();
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (failed != 0) {
        std::fprintf(stderr, "cold_start: cannot start %s\n", program.c_str());
        ::close(out[0]);
        return result;
    }
    if (wait_for_shown(out[0], t0 + std::chrono::seconds(20))) {
        result.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
        result.rssMb = rss_mb(pid);
    }
    stop(pid);
    ::close(out[0]);
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = quick_run(argc, argv);
    const int runs = quick ? 1 : 5;
    const int settleMs = quick ? 300 : 2000;

    sim::Options options;
    options.paced = true;
    sim::Simulator device(options);
    char folderTemplate[] = "/tmp/zelt-cold-start-XXXXXX";
    if (!device.start() || !::mkdtemp(folderTemplate)) {
        std::fprintf(stderr, "cold_start: no pseudo-terminal for the simulator or no temporary folder\n");
        return 2;
    }
    const fs::path folder = folderTemplate;
    const fs::path program = folder / "zelt-esc";
    std::error_code error;
    fs::copy_file(ZELT_ESC_PATH, program, error);
    std::ofstream(folder / "zelt.ini") << "[COMSET]\r\nCOM=" << device.port_path() << "\r\n";
    if (error) {
        std::fprintf(stderr, "cold_start: cannot copy %s: %s\n", ZELT_ESC_PATH, error.message().c_str());
        fs::remove_all(folder, error);
        return 2;
    }
    ::setenv("ZELT_ANNOUNCE_SHOWN", "1", 1);
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::vector<double> seconds;
    double rssMb = 0;
    for (int run = 1; run <= runs; ++run) {
        const Start s = start_once(program.string(), settleMs);
        std::printf("run %d: window shown after %.3f s, idle RSS %.1f MB\n", run, s.seconds, s.rssMb);
        if (s.seconds < 0 || s.rssMb < 0) {
            std::fprintf(stderr, "cold_start: the program never reported its window shown\n");
            fs::remove_all(folder, error);
            return 2;
        }
        seconds.push_back(s.seconds);
        rssMb = std::max(rssMb, s.rssMb);
    }
    fs::remove_all(folder, error);
    std::sort(seconds.begin(), seconds.end());

    char what[64];
    std::snprintf(what, sizeof what, "start to a shown window (median of %d)", runs);
    BenchReport report;
    report.atMost(what, seconds[seconds.size() / 2], "s", 0.3);
    report.atMost("idle RSS after start-up", rssMb, "MB", 40.0, 1);
    report.print();
    return 0;
}
