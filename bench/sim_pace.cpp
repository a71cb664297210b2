// How closely the paced simulator keeps to a 19200-baud 8N1 line: the time
// from sending "0B" to the last of the 6144 read-back bytes, against the time
// those bytes need on a real line (6144 * 10 / 19200 s = 3.2 s). Goal: within
// 2 % in the worst of three runs (--quick: one run).

#include "bench_report.h"
#include "sim/simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kReadBack = 6144;
constexpr double kLineSeconds = kReadBack * 10.0 / 19200.0;

// Seconds from the request to the last byte; negative when the bytes did not all come.
double time_read_back(int fd)
{
    const uint8_t request = 0x0B;
    const auto t0 = Clock::now();
    if (write(fd, &request, 1) != 1)
        return -1;
    int got = 0;
    uint8_t buffer[8192];
    while (got < kReadBack) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 5000) <= 0)
            return -1;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return -1;
        got += static_cast<int>(n);
    }
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv)
{
    sim::Options options;  // paced, with the default turnaround
    sim::Simulator simulator(options);
    if (!simulator.start()) {
        std::fprintf(stderr, "cannot start the simulator\n");
        return 1;
    }
    const int fd = open(simulator.port_path().c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        std::fprintf(stderr, "cannot open %s\n", simulator.port_path().c_str());
        return 1;
    }
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);

    // The line carries the request byte and the turnaround as well; both are
    // shown but the ratio is taken against the read-back bytes alone.
    const double overhead = 10.0 / 19200.0 + options.turnaround_ms / 1000.0;
    std::printf("line time of %d bytes at 19200 baud 8N1: %.4f s (request and turnaround add %.4f s)\n",
                kReadBack, kLineSeconds, overhead);
    double worst = 1;
    const int runs = quick_run(argc, argv) ? 1 : 3;
    for (int run = 1; run <= runs; ++run) {
        const double s = time_read_back(fd);
        if (s < 0) {
            std::printf("run %d: the read-back did not complete\n", run);
            return 1;
        }
        const double ratio = s / kLineSeconds;
        std::printf("run %d: %.4f s, ratio to line time %.4f (%+.2f %%)\n", run, s, ratio, (ratio - 1) * 100);
        if (std::abs(ratio - 1) > std::abs(worst - 1))
            worst = ratio;
    }
    std::printf("worst ratio %.4f\n", worst);
    close(fd);
    BenchReport report;
    report.atMost("simulator read-back off the line time", std::abs(worst - 1) * 100, "%", 2.0, 2);
    report.print();
    return 0;
}
