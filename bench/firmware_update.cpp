// A full firmware update (write, read-back, compare) clicked in the main
// window against the simulator at line pace, timed from the click to the end
// of the update. The least it can take is the line time of every byte that
// must cross (19200 baud 8N1: 1920 bytes/s; the directions barely overlap, as
// each block waits for its answer) plus the ESC's own think time before each
// answer. Goal: wall time / that least time <= 1.03.
//
// The same update runs again behind the simulator's USB adapter presets: an
// FTDI adapter at 1 ms (goal 1.06) and left at 16 ms (goal 1.35). Their least
// time is the same; what the adapter holds back counts against them.
//
// --quick runs against an unpaced simulator: it shows the benchmark works,
// its ratio means nothing.

#include "bench_report.h"
#include "bench_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double kLineBytesPerSecond = 19200.0 / 10.0;
constexpr long long kBlockBytes = 64;
constexpr long long kReadBackBytes = 6144;
// Requests of an update besides the image blocks: "07", the write start
// "0C 00 vv" and the read-back "0B".
constexpr long long kOtherRequestBytes = 1 + 3 + 1;
constexpr uint8_t kIdentifyRequest = 0x35;  // sent once verified; not awaited

struct Timing {
    double seconds = 0;       // from the click to the end of the update
    double leastSeconds = 0;  // line time + ESC think time
};

// One update clicked in a fresh window; false (with the reason on stderr)
// when it did not verify.
bool time_update(const sim::Options& options, const char* label, Timing* timing)
{
    BenchWindow window(options);
    if (!window.open("firmware_update", /*withImages=*/true))
        return false;

    window.device.clear_received();
    QElapsedTimer wall;
    wall.start();
    window.control<QPushButton>("Button2")->click();
    const double seconds = wall.nsecsElapsed() / 1e9;

    // What the program wrote: the requests, the image blocks and, after the
    // verdict, the identification request, which may not have reached the
    // simulator yet. The ESC answers the write start and every block with one
    // byte ("59", the last "55") and the read-back with the image.
    std::vector<uint8_t> sent = window.device.received();
    if (!sent.empty() && sent.back() == kIdentifyRequest)
        sent.pop_back();
    const long long bytesOut = static_cast<long long>(sent.size());
    const long long blocks = (bytesOut - kOtherRequestBytes) / kBlockBytes;
    const QString& box = window.dialogs.lastText;
    std::printf("%s: last box: %s\n", label, qPrintable(box));
    if (!box.startsWith(QLatin1String("Update hardware succeed")) ||
        (bytesOut - kOtherRequestBytes) % kBlockBytes != 0) {
        std::fprintf(stderr, "firmware_update: the update %s did not verify (%lld bytes sent)\n", label, bytesOut);
        return false;
    }
    const long long answers = blocks + 1 + 1;
    const long long bytesIn = blocks + 1 + kReadBackBytes;
    const double lineSeconds = (bytesOut + bytesIn) / kLineBytesPerSecond;
    const double thinkSeconds = answers * options.turnaround_ms / 1000.0;
    const double leastSeconds = lineSeconds + thinkSeconds;

    std::printf("%s: bytes on the line: %lld out (%lld blocks), %lld in\n", label, bytesOut, blocks, bytesIn);
    std::printf("%s: wall time from the click: %.3f s\n", label, seconds);
    std::printf("%s: line time %.3f s + ESC think time %.3f s (%lld answers x %d ms) = %.3f s\n", label,
                lineSeconds, thinkSeconds, answers, options.turnaround_ms, leastSeconds);
    std::printf("%s: ratio: %.4f; to the line time alone: %.4f\n", label, seconds / leastSeconds,
                seconds / lineSeconds);
    *timing = {seconds, leastSeconds};
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const WindowBenchApp bench(argc, argv);
    const bool quick = bench.quick;

    const struct {
        const char* preset;
        const char* what;  // the table's row
        double goal;
    } runs[] = {
        {"none", "firmware update / (line + ESC think time)", 1.03},
        {"ftdi-1ms", "  behind an FTDI adapter at 1 ms", 1.06},
        {"ftdi-16ms", "  behind an FTDI adapter at 16 ms", 1.35},
    };
    BenchReport report;
    for (const auto& run : runs) {
        sim::Options options;
        options.paced = !quick;
        options.adapter = *sim::adapter_preset(run.preset);
        Timing t;
        if (!time_update(options, run.preset, &t))
            return 2;
        report.atMost(run.what, t.seconds / t.leastSeconds, "", run.goal);
        report.info(std::string("    wall time, ") + run.preset, t.seconds, "s");
        if (&run == &runs[0])
            report.info("    line time + ESC think time", t.leastSeconds, "s");
    }
    report.print();
    return 0;
}
