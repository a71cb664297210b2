// Speed samples per second that the poll achieves through the main window
// against the simulator at true line speed, over 10 s with the motor turning
// (--quick: 1 s), set against the ceiling of the design: each 5 ms tick is
// restarted after its exchange, so a sample takes 5 ms plus one byte out, the
// ESC's think time, two bytes back at 1920 bytes/s, the 1 ms read interval
// that ends the received block, and a quarter of the 3 ms display pause that
// follows every fourth sample. Goal: ratio >= 0.95. The ratio to the bare
// tick and exchange, without the read interval and the pause, is shown as
// information.
//
// The same poll runs again behind the simulator's FTDI adapter presets. The
// adapter hands the answer over on the next beat of its latency timer, so a
// sample cannot take less than the design's time rounded up to whole beats:
// that is the preset's ceiling (16 ms a sample at 16 ms). Goal: >= 0.9 of it,
// with no answer lost to the reply wait.

#include "bench_report.h"
#include "bench_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QSlider>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr double kTickMs = 5.0;
constexpr double kBytesPerMs = 1.92;  // 19200 baud, 10 bits a byte
constexpr int kBytesPerExchange = 3;  // throttle code out, period back
constexpr int kPulseEvery = 4;        // a completed cycle pauses for the display
constexpr double kDisplayPauseMs = 3.0;

struct Poll {
    double rate = 0;      // samples per second
    int lost = 0;         // throttle codes whose answer never counted
    double designMs = 0;  // the design's least time a sample
    double bareMs = 0;    // tick and exchange alone
};

// Speed mode in a fresh window, the motor steady at 1500 us, then samples
// counted on the window's own receive path for measureMs.
bool measure(const sim::Options& options, const char* label, int settleMs, int measureMs, Poll* poll)
{
    BenchWindow window(options);
    if (!window.open("speed_poll"))
        return false;
    TForm1& form = *window.form;

    // Speed mode with the slider at 900 arms the throttle; then a steady motor.
    window.control<QRadioButton>("RadioButton2")->click();
    settle(200);
    window.control<QSlider>("TrackBar1")->setValue(1500);
    settle(settleMs);

    // A tick takes a sample when a received block completes its four-character
    // answer, a late one included.
    int64_t samples = 0;
    const TReceiveDataEvent linkReceive = form.comm().OnReceiveData;
    form.comm().OnReceiveData = [&](TComm* sender, const char* buffer, uint16_t length) {
        linkReceive(sender, buffer, length);
        if (form.state().recv_str.size() == 4)
            ++samples;
    };
    const int requests0 = window.device.request_count();
    QElapsedTimer clock;
    clock.start();
    settle(measureMs);
    const double seconds = clock.nsecsElapsed() / 1e9;
    const int requests = window.device.request_count() - requests0;
    form.comm().OnReceiveData = linkReceive;
    const double intervalMs = form.comm().IoTimeouts().readInterval;

    const double exchangeMs = kBytesPerExchange / kBytesPerMs + options.turnaround_ms;
    poll->bareMs = kTickMs + exchangeMs;
    poll->designMs = kTickMs + exchangeMs + intervalMs + kDisplayPauseMs / kPulseEvery;
    poll->rate = samples / seconds;
    // A code at either end of the window may have its answer counted outside it.
    poll->lost = std::max(0, requests - static_cast<int>(samples) - 1);
    std::printf("%s: %lld samples from %d throttle codes in %.2f s, %.1f per second (%.2f ms a sample)\n", label,
                static_cast<long long>(samples), requests, seconds, poll->rate, 1000.0 / poll->rate);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const WindowBenchApp bench(argc, argv);
    const bool quick = bench.quick;
    const int measureMs = quick ? 1000 : 10000;
    const int settleMs = quick ? 500 : 2000;

    BenchReport report;
    for (const char* preset : {"none", "ftdi-1ms", "ftdi-16ms"}) {
        sim::Options options;
        options.paced = true;
        options.adapter = *sim::adapter_preset(preset);
        Poll poll;
        if (!measure(options, preset, settleMs, measureMs, &poll))
            return 2;
        const double beatMs = std::chrono::duration<double, std::milli>(options.adapter.hold).count();
        const double sampleMs = beatMs > 0 ? std::ceil(poll.designMs / beatMs) * beatMs : poll.designMs;
        const double ceiling = 1000.0 / sampleMs;
        std::printf("%s: ceiling %.2f ms a sample, %.1f per second; ratio %.3f; answers lost %d\n", preset,
                    sampleMs, ceiling, poll.rate / ceiling, poll.lost);
        char ceilingText[64];
        std::snprintf(ceilingText, sizeof ceilingText, "%.1f/s", ceiling);
        if (beatMs == 0) {
            report.atLeast(std::string("speed poll / design ceiling ") + ceilingText, poll.rate / ceiling, "", 0.95);
            report.info("  speed poll samples per second", poll.rate, "/s", 1);
            char bareText[64];
            const double bare = 1000.0 / poll.bareMs;
            std::snprintf(bareText, sizeof bareText, "%.1f/s", bare);
            report.info(std::string("  speed poll / bare tick+exchange ") + bareText, poll.rate / bare, "");
            continue;
        }
        report.atLeast(std::string("  behind ") + preset + ", / its ceiling " + ceilingText, poll.rate / ceiling, "",
                       0.9);
        report.atMost(std::string("  behind ") + preset + ", answers lost to the wait", poll.lost, "", 0, 0);
    }
    report.print();
    return 0;
}
