// Speed samples per second that the poll achieves through the main window
// against the simulator at true line speed, over 10 s with the motor turning
// (--quick: 1 s), set against the ceiling of the design: each 5 ms tick is
// restarted after its exchange, so a sample takes 5 ms plus one byte out, the
// ESC's think time, two bytes back at 1920 bytes/s, the 1 ms read interval
// that ends the received block, and a quarter of the 3 ms display pause that
// follows every fourth sample. Goal: ratio >= 0.95. The ratio to the bare
// tick and exchange, without the read interval and the pause, is shown as
// information.

#include "bench_report.h"
#include "bench_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QSlider>
#include <cstdio>
#include <string>

namespace {

constexpr double kTickMs = 5.0;
constexpr double kBytesPerMs = 1.92;  // 19200 baud, 10 bits a byte
constexpr int kBytesPerExchange = 3;  // throttle code out, period back
constexpr int kPulseEvery = 4;        // a completed cycle pauses for the display
constexpr double kDisplayPauseMs = 3.0;

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool quick = quick_run(argc, argv);
    const int measureMs = quick ? 1000 : 10000;

    sim::Options options;
    options.paced = true;
    BenchWindow window(options);
    if (!window.open("speed_poll"))
        return 2;
    TForm1& form = *window.form;

    // Speed mode with the slider at 900 arms the throttle; then a steady motor.
    window.control<QRadioButton>("RadioButton2")->click();
    settle(200);
    window.control<QSlider>("TrackBar1")->setValue(1500);
    settle(quick ? 500 : 2000);

    // A tick takes a sample when a received block completes its four-character
    // answer; counted here on the window's own receive path.
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
    const double intervalMs = form.comm().ReadIntervalTimeout();

    const double exchangeMs = kBytesPerExchange / kBytesPerMs + options.turnaround_ms;
    const double pauseMs = kDisplayPauseMs / kPulseEvery;
    const double bare = 1000.0 / (kTickMs + exchangeMs);
    const double ceiling = 1000.0 / (kTickMs + exchangeMs + intervalMs + pauseMs);
    const double rate = samples / seconds;
    std::printf("speed poll: %lld samples from %d throttle codes in %.2f s\n",
                static_cast<long long>(samples), requests, seconds);
    std::printf("samples per second: %.1f (%.2f ms a sample)\n", rate, 1000.0 / rate);
    std::printf(
        "ceiling: 5 ms tick + %.3f ms exchange (%d bytes on the line, %d ms ESC think time) + %.0f ms read "
        "interval + %.2f ms display pause = %.2f ms a sample, %.1f per second; ratio %.3f (goal >= 0.95)\n",
        exchangeMs, kBytesPerExchange, options.turnaround_ms, intervalMs, pauseMs, 1000.0 / ceiling, ceiling,
        rate / ceiling);
    std::printf("bare tick and exchange: %.2f ms a sample, %.1f per second; ratio %.3f\n", 1000.0 / bare,
                bare, rate / bare);

    char ceilingText[64];
    std::snprintf(ceilingText, sizeof ceilingText, "%.1f/s", ceiling);
    char bareText[64];
    std::snprintf(bareText, sizeof bareText, "%.1f/s", bare);
    BenchReport report;
    report.atLeast(std::string("speed poll / design ceiling ") + ceilingText, rate / ceiling, "", 0.95);
    report.info("  speed poll samples per second", rate, "/s", 1);
    report.info(std::string("  speed poll / bare tick+exchange ") + bareText, rate / bare, "");
    report.print();
    return 0;
}
