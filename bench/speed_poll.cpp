// Speed samples per second that the poll achieves through the main window
// against the simulator at true line speed, over 10 s with the motor turning,
// and the ratio to two limits. The first is what the 5 ms tick and the
// exchange allow: each tick is restarted after its exchange, so a sample takes
// 5 ms plus one byte out, two bytes back at 1920 bytes/s and the device's
// turnaround. Goal: ratio >= 0.95. The second adds what the program itself
// waits by design: the read interval time-out that ends the received block,
// and the display pause after every fourth sample.

#include "app/tform1.h"
#include "sim/simulator.h"
#include "tests/support/answering_dialogs.h"
#include "tests/support/event_wait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kMeasureMs = 10000;
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

    sim::Options options;
    options.paced = true;
    sim::Simulator device(options);
    if (!device.start()) {
        std::fprintf(stderr, "speed_poll: the simulator could not open a pseudo-terminal\n");
        return 2;
    }
    QTemporaryDir dir;
    QFile ini(dir.filePath(QStringLiteral("zelt.ini")));
    if (!dir.isValid() || !ini.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "speed_poll: cannot write a settings file in a temporary folder\n");
        return 2;
    }
    const QString port = QString::fromStdString(device.port_path());
    ini.write(QStringLiteral("[COMSET]\r\nCOM=%1\r\n").arg(port).toLocal8Bit());
    ini.close();

    AnsweringDialogs dialogs;
    AppEnv env;
    env.programDir = dir.path();
    env.listPorts = [port] { return QStringList{port}; };
    env.dialogs = &dialogs;
    TForm1 form(env);
    form.show();
    if (!wait_until([&] { return form.state().esc_ok; }, 15000)) {
        std::fprintf(stderr, "speed_poll: no ESC identified on %s\n", qPrintable(port));
        return 2;
    }

    // Speed mode with the slider at 900 arms the throttle; then a steady motor.
    form.findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->click();
    settle(200);
    form.findChild<QSlider*>(QStringLiteral("TrackBar1"))->setValue(1500);
    settle(2000);

    // A tick takes a sample when a received block completes its four-character
    // answer; counted here on the window's own receive path.
    int64_t samples = 0;
    const TReceiveDataEvent linkReceive = form.comm().OnReceiveData;
    form.comm().OnReceiveData = [&](TComm* sender, const char* buffer, uint16_t length) {
        linkReceive(sender, buffer, length);
        if (form.state().recv_str.size() == 4)
            ++samples;
    };
    const int requests0 = device.request_count();
    QElapsedTimer clock;
    clock.start();
    settle(kMeasureMs);
    const double seconds = clock.nsecsElapsed() / 1e9;
    const int requests = device.request_count() - requests0;
    form.comm().OnReceiveData = linkReceive;
    const double intervalMs = form.comm().ReadIntervalTimeout();
    form.close();

    const double exchangeMs = kBytesPerExchange / kBytesPerMs + options.turnaround_ms;
    const double pauseMs = kDisplayPauseMs / kPulseEvery;
    const double limit = 1000.0 / (kTickMs + exchangeMs);
    const double floorLimit = 1000.0 / (kTickMs + exchangeMs + intervalMs + pauseMs);
    const double rate = samples / seconds;
    const double ratio = rate / limit;
    std::printf("speed poll: %lld samples from %d throttle codes in %.2f s\n",
                static_cast<long long>(samples), requests, seconds);
    std::printf("samples per second: %.1f (%.2f ms a sample)\n", rate, 1000.0 / rate);
    std::printf("limit (5 ms tick + %.3f ms exchange): %.1f per second\n", exchangeMs, limit);
    std::printf("ratio to the limit: %.3f (goal >= 0.95)\n", ratio);
    std::printf(
        "limit with the %.0f ms read interval and the display pause (%.2f ms a sample): %.1f per second "
        "(%.2f ms a sample)\n",
        intervalMs, pauseMs, floorLimit, 1000.0 / floorLimit);
    std::printf("ratio to that limit: %.3f\n", rate / floorLimit);
    return ratio >= 0.95 ? 0 : 1;
}
