// A speed test left running for 60 s (--quick: 2 s) in the main window
// against the simulator at line pace, the throttle slider moved every half
// second over its range so that the display keeps changing. Resident memory
// is read from /proc after a warm-up and at the end. Goal: growth <= 1 MB
// (10^6 bytes).

#include "bench_report.h"
#include "bench_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Resident set of this process in MB, or -1.
double rss_mb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) * 1024.0 / 1e6;  // kB
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    const WindowBenchApp bench(argc, argv);
    const bool quick = bench.quick;
    const int soakMs = quick ? 2000 : 60000;
    const int warmUpMs = quick ? 500 : 5000;
    constexpr int kStepMs = 500;
    constexpr int kPositions[] = {900, 1200, 1500, 1800, 2100, 1800, 1500, 1200};

    sim::Options options;
    options.paced = true;
    BenchWindow window(options);
    if (!window.open("speed_soak"))
        return 2;
    window.control<QRadioButton>("RadioButton2")->click();
    QSlider* slider = window.control<QSlider>("TrackBar1");
    QLineEdit* speed = window.control<QLineEdit>("Edit3");

    // Moves the slider through its positions for ms; counts the changes of
    // the speed shown.
    int step = 0;
    int shownChanges = 0;
    QString shown = speed->text();
    const auto run = [&](int ms) {
        for (int elapsed = 0; elapsed < ms; elapsed += kStepMs) {
            slider->setValue(kPositions[step++ % std::size(kPositions)]);
            settle(kStepMs);
            if (speed->text() != shown) {
                shown = speed->text();
                ++shownChanges;
            }
            window.device.clear_received();  // the simulator's record is not the program's memory
        }
    };

    run(warmUpMs);
    const double before = rss_mb();
    const int requests0 = window.device.request_count();
    shownChanges = 0;
    run(soakMs);
    const double after = rss_mb();
    const int requests = window.device.request_count() - requests0;

    std::printf("soak of %d s: %d throttle codes sent, the speed shown changed at %d of %d slider steps\n",
                soakMs / 1000, requests, shownChanges, soakMs / kStepMs);
    std::printf("RSS after %.1f s warm-up: %.3f MB, at the end: %.3f MB\n", warmUpMs / 1000.0, before, after);
    // A short run on a busy machine may end before a display cycle completes.
    if (before < 0 || after < 0 || requests == 0 || (!quick && shownChanges == 0)) {
        std::fprintf(stderr, "speed_soak: the speed test did not run, or /proc gave no RSS\n");
        return 2;
    }
    char what[64];
    std::snprintf(what, sizeof what, "RSS growth over a %d s speed-test soak", soakMs / 1000);
    BenchReport report;
    report.atMost(what, after - before, "MB", 1.0);
    report.info("  RSS at the soak's start", before, "MB", 1);
    report.print();
    return 0;
}
