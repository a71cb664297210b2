// speed: the rotate-speed test of Speed mode for a fixed time, the speed
// printed once a second. Whatever ends it (the time, a signal, a reader of
// standard output that has gone), the switch back to Parameter mode sends
// FF, so the motor stops.

#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "shutdown/stop_signals.h"
#include "speedtest/speed_math.h"

#include <QEventLoop>
#include <QTimer>

namespace cli {

int speed_command(const CliOptions& options, Session& s)
{
    // Before the search: a stop during it ends the command too. A closed
    // standard output (`| head -n 1`) is a stop like any other, and quiet.
    StopSignals stop(QStringLiteral("zelt-cli"), true);
    if (!s.connect_esc(options.port))
        return stop.caught() ? stop.exitStatus() : kDeviceFailed;
    if (stop.caught())
        return stop.exitStatus();

    // The throttle starts at its minimum, which arms it, as the window's
    // slider does; the first tick that has armed it sets the chosen one.
    bool throttleSet = false;
    QObject::connect(&s.timer3, &WindowTimer::tick, &s.link, [&] {
        s.run(
            [&] {
                s.speed.Timer3Timer();
                if (s.state.throttle_armed && !throttleSet) {
                    throttleSet = true;
                    s.speed.TrackBar1Change(options.throttle);
                }
            },
            CommandKind::SpeedTick);
    });
    s.speed.UpDown1Click(options.poles);
    s.speed.TrackBar1Change(speed::kSliderMin);
    s.view.selected = OperationMode::Speed;
    s.run([&s] { s.speed.RadioButton2Click(); }, CommandKind::ModeSwitch);

    QEventLoop loop;
    QObject::connect(&stop, &StopSignals::stopRequested, &loop, &QEventLoop::quit);
    // Only a speed measured in the last second is printed; "-" stands for a
    // second without one, explained once.
    bool explained = false;
    const auto rpm_line = [&s, &explained] {
        const qint64 since = s.speed.since_sample_ms();
        if (since >= 0 && since < 1000 && !s.speed.measured_speed().isEmpty())
            return QStringLiteral("rpm=") + s.speed.measured_speed();
        if (!explained) {
            explained = true;
            print_err(QStringLiteral("zelt-cli: the ESC answered no speed in the last second; rpm=- until it does "
                                     "(is the ESC powered and the motor connected?)"));
        }
        return QStringLiteral("rpm=-");
    };
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, &loop, [&rpm_line] { print_out(rpm_line()); });
    report.start(1000);
    QTimer::singleShot(options.seconds * 1000, &loop, &QEventLoop::quit);
    if (!stop.caught())
        loop.exec();
    report.stop();

    s.view.selected = OperationMode::Parameter;
    s.run([&s] { s.speed.RadioButton1Click(); }, CommandKind::ModeSwitch);
    // The port closes when the command ends, which would drop a byte still queued.
    s.link.wait_sent(100);
    if (stop.caught())
        return stop.exitStatus();
    print_out(rpm_line());
    return kSuccess;
}

}  // namespace cli
