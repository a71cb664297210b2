// speed: the rotate-speed test of Speed mode for a fixed time, or a sweep of
// throttle steps, the speed printed once a second or once a step. Whatever
// ends it (the time, the last step, a signal, a reader of standard output that
// has gone), the switch back to Parameter mode sends FF, so the motor stops.

#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "cli/speed_log.h"
#include "cli/throttle_sweep.h"
#include "shutdown/stop_signals.h"
#include "speedtest/speed_math.h"

#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>

namespace cli {

int connect_unless_stopped(const CliOptions& options, Session& s, const StopSignals& stop)
{
    if (!s.connect_esc(options.port))
        return stop.caught() ? stop.exitStatus() : kDeviceFailed;
    return stop.caught() ? stop.exitStatus() : kSuccess;
}

int speed_command(const CliOptions& options, Session& s)
{
    SpeedLog log;
    QString error;
    if (!log.open(options.csvFile, &error)) {
        print_err(QStringLiteral("zelt-cli: ") + error);
        return kUsageOrFile;
    }
    // Before the search: a stop during it ends the command too. A closed
    // standard output (`| head -n 1`) is a stop like any other, and quiet.
    StopSignals stop(QStringLiteral("zelt-cli"), true);
    if (const int status = connect_unless_stopped(options, s, stop); status != kSuccess)
        return status;

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
    QEventLoop loop;
    std::optional<ThrottleSweep> sweep;
    if (options.sweep)
        sweep.emplace(*options.sweep);
    s.speed.onTick = [&](const SpeedTick& tick) {
        log.tick(tick);
        if (!sweep)
            return;
        if (const auto step = sweep->take(tick)) {
            log.result(*step);
            if (sweep->finished())
                loop.quit();
            else
                s.speed.TrackBar1Change(sweep->throttle());
        }
    };
    // The observer refers to this frame; no tick may reach it once the command has returned.
    const auto unhook = qScopeGuard([&s] { s.speed.onTick = nullptr; });
    s.speed.UpDown1Click(options.poles);
    s.speed.TrackBar1Change(speed::kSliderMin);
    s.view.selected = OperationMode::Speed;
    s.run([&s] { s.speed.RadioButton2Click(); }, CommandKind::ModeSwitch);

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
    QObject::connect(&report, &QTimer::timeout, &loop, [&] {
        if (!sweep)
            log.result(rpm_line());
    });
    report.start(1000);
    // A sweep ends with its last step; the time is there for an ESC that stops answering.
    QTimer::singleShot(sweep ? sweep->durationMs() + 10000 : options.seconds * 1000, &loop, &QEventLoop::quit);
    if (!stop.caught())
        loop.exec();
    report.stop();

    s.view.selected = OperationMode::Parameter;
    s.run([&s] { s.speed.RadioButton1Click(); }, CommandKind::ModeSwitch);
    // The port closes when the command ends, which would drop a byte still queued.
    s.link.wait_sent(100);
    if (stop.caught())
        return stop.exitStatus();
    if (!sweep)
        log.result(rpm_line());
    return kSuccess;
}

}  // namespace cli
