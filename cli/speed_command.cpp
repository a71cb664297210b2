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

#include <QElapsedTimer>
#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>

#include <optional>

namespace cli {

int connect_unless_stopped(const CliOptions& options, Session& s, const StopSignals& stop)
{
    if (!s.connect_esc(options.port))
        return stop.caught() ? stop.exitStatus() : kDeviceFailed;
    return stop.caught() ? stop.exitStatus() : kSuccess;
}

namespace {

// The run's measured samples in time: it failed when none came, or when a
// second went by without one after the first.
class SampleGaps {
public:
    static constexpr qint64 kGapMs = 1000;

    void start() { run_.start(); }
    void sampled()
    {
        const qint64 now = run_.elapsed();
        gap(now);
        last_ = now;
    }
    void ended() { gap(run_.elapsed()); }
    // Why the run failed, when it did.
    std::optional<QString> stopped() const
    {
        if (!last_)
            return QStringLiteral("the ESC answered no speed; nothing was measured");
        if (stoppedAt_)
            return QStringLiteral("the ESC's speed answers stopped %1 s into the test; no speed was measured for "
                                  "a second or more")
                .arg(static_cast<double>(*stoppedAt_) / 1000, 0, 'f', 1);
        return std::nullopt;
    }

private:
    void gap(qint64 now)
    {
        if (last_ && !stoppedAt_ && now - *last_ >= kGapMs)
            stoppedAt_ = last_;
    }

    QElapsedTimer run_;
    std::optional<qint64> last_;       // ms into the run of the last sample
    std::optional<qint64> stoppedAt_;  // of the last sample before the first gap
};

}  // namespace

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
    // slider does; after the first tick that has armed it (the session runs
    // the tick before this), the chosen one is set.
    EscSession& core = s.core;
    QMetaObject::Connection chooseThrottle;
    chooseThrottle = QObject::connect(&core.pollTimer(), &WindowTimer::tick, &core.link(), [&] {
        if (!core.speed().throttle_armed())
            return;
        core.speed().set_throttle(options.throttle);
        QObject::disconnect(chooseThrottle);
    });
    const auto unchoose = qScopeGuard([&chooseThrottle] { QObject::disconnect(chooseThrottle); });
    QEventLoop loop;
    std::optional<ThrottleSweep> sweep;
    if (options.sweep)
        sweep.emplace(*options.sweep);
    SampleGaps gaps;
    core.speed().onTick = [&](const SpeedTick& tick) {
        if (tick.sampleRpm)
            gaps.sampled();
        if (!log.tick(tick)) {
            loop.quit();
            return;
        }
        if (!sweep)
            return;
        if (const auto step = sweep->take(tick)) {
            log.result(*step);
            if (sweep->finished())
                loop.quit();
            else
                core.speed().set_throttle(sweep->throttle());
        }
    };
    // The observer refers to this frame; no tick may reach it once the command has returned.
    const auto unhook = qScopeGuard([&core] { core.speed().onTick = nullptr; });
    core.speed().set_pole_count(options.poles);
    core.speed().set_throttle(speed::kSliderMin);
    gaps.start();
    core.run([&core] { return core.speed().switch_mode(OperationMode::Speed); }, CommandKind::ModeSwitch);

    QObject::connect(&stop, &StopSignals::stopRequested, &loop, &QEventLoop::quit);
    // Only a speed measured in the last second is printed; "-" stands for a
    // second without one, explained once.
    bool explained = false;
    const auto rpm_line = [&core, &explained] {
        const qint64 since = core.speed().since_sample_ms();
        if (since >= 0 && since < 1000 && !core.speed().measured_speed().isEmpty())
            return QStringLiteral("rpm=") + core.speed().measured_speed();
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
    if (!stop.caught() && log.failure().isEmpty())
        loop.exec();
    report.stop();
    gaps.ended();

    core.run([&core] { return core.speed().switch_mode(OperationMode::Parameter); }, CommandKind::ModeSwitch);
    // The port closes when the command ends, which would drop a byte still queued.
    core.link().wait_sent(100);
    // A run cut short by a signal keeps the log of what it measured.
    if (!log.finish())
        print_err(QStringLiteral("zelt-cli: ") + log.failure());
    if (stop.caught())
        return stop.exitStatus();
    if (!log.failure().isEmpty())
        return kDeviceFailed;
    if (!sweep)
        log.result(rpm_line());
    if (const std::optional<QString> stopped = gaps.stopped()) {
        print_err(QStringLiteral("zelt-cli: ") + *stopped);
        return kDeviceFailed;
    }
    return kSuccess;
}

}  // namespace cli
