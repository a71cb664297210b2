// speed: the rotate-speed test of Speed mode for a fixed time, the speed
// printed once a second. Whatever ends it (the time, Ctrl+C, SIGTERM), the
// switch back to Parameter mode sends FF, so the motor stops.

#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "link/termination_signals.h"
#include "speedtest/speed_math.h"

#include <QEventLoop>
#include <QTimer>

namespace cli {

int speed_command(const CliOptions& options, Session& s)
{
    TerminationSignals stop;  // before the search: a stop during it ends the command too
    if (!s.connect_esc(options.port))
        return stop.caught() ? exit_status_of_signal(stop.caught()) : kDeviceFailed;
    if (stop.caught())
        return exit_status_of_signal(stop.caught());

    // The throttle starts at its minimum, which arms it, as the window's
    // slider does; after the first tick that has armed it (the session runs
    // the tick before this), the chosen one is set.
    EscSession& core = s.core;
    QMetaObject::Connection chooseThrottle;
    chooseThrottle = QObject::connect(&core.pollTimer, &WindowTimer::tick, &core.link, [&] {
        if (!core.state.throttle_armed)
            return;
        core.speed.set_throttle(options.throttle);
        QObject::disconnect(chooseThrottle);
    });
    core.speed.set_pole_count(options.poles);
    core.speed.set_throttle(speed::kSliderMin);
    s.view.selected = OperationMode::Speed;
    core.run([&core] { return core.speed.switch_mode(OperationMode::Speed); }, CommandKind::ModeSwitch);

    QEventLoop loop;
    QObject::connect(&stop, &TerminationSignals::stopRequested, &loop, &QEventLoop::quit);
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, &loop, [&s] { print_out(QStringLiteral("rpm=") + s.view.rotateSpeed); });
    report.start(1000);
    QTimer::singleShot(options.seconds * 1000, &loop, &QEventLoop::quit);
    if (!stop.caught())
        loop.exec();
    report.stop();

    s.view.selected = OperationMode::Parameter;
    core.run([&core] { return core.speed.switch_mode(OperationMode::Parameter); }, CommandKind::ModeSwitch);
    // The port closes when the command ends, which would drop a byte still queued.
    core.link.wait_sent(100);
    if (stop.caught())
        return exit_status_of_signal(stop.caught());
    print_out(QStringLiteral("rpm=") + s.view.rotateSpeed);
    return kSuccess;
}

}  // namespace cli
