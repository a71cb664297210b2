// station: the production station on the given ports, drawn as a live table
// on a terminal or as JSON lines. The engine (station/) does the work; this
// checks the command line's files and ports before anything is sent.

#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/station_report.h"
#include "records/record_store.h"
#include "serial/port_list.h"
#include "shutdown/finish_first.h"
#include "shutdown/stop_signals.h"
#include "station/plan_choices.h"
#include "station/station_engine.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <optional>
#include <unistd.h>

namespace cli {
namespace {

// The ports as device paths; none, with the reason told, when one is unknown.
std::optional<QStringList> station_ports(const QStringList& given)
{
    if (given == QStringList{QStringLiteral("all")}) {
        const QStringList listed = list_serial_ports();
        if (listed.isEmpty())
            print_err(QStringLiteral("zelt-cli: no serial port is listed; plug the adapters in, or name the ports "
                                     "with --ports"));
        return listed.isEmpty() ? std::nullopt : std::optional(listed);
    }
    QStringList paths;
    for (const QString& name : given) {
        const QString path = port_device_path(name);
        if (!QFileInfo::exists(path)) {
            print_err(QStringLiteral("zelt-cli: there is no serial port %1; `zelt-cli ports` lists them").arg(name));
            return std::nullopt;
        }
        if (paths.contains(path)) {
            print_err(QStringLiteral("zelt-cli: the port %1 is given twice").arg(name));
            return std::nullopt;
        }
        paths.append(path);
    }
    return paths;
}

std::optional<station::Plan> station_plan(const CliOptions& options, const QString& programDir)
{
    const std::optional<QStringList> ports = station_ports(options.ports);
    if (!ports)
        return std::nullopt;
    const station::Choices choices{*ports,         options.firmware, options.image, options.setup,
                                   options.spin,   options.units,    options.stationName};
    QStringList problems;
    std::optional<station::Plan> plan = station::make_plan(choices, programDir, &problems);
    for (const QString& problem : problems)
        print_err(QStringLiteral("zelt-cli: ") + problem);
    return plan;
}

}  // namespace

int station_command(const CliOptions& options, const QString& programDir)
{
    std::optional<station::Plan> plan = station_plan(options, programDir);
    if (!plan)
        return kUsageOrFile;
    QString error;
    const std::optional<records::Destination> destination = records::parse_destination(options.records, &error);
    if (!destination) {
        print_err(QStringLiteral("zelt-cli: %1").arg(error));
        return kUsageOrFile;
    }
    records::RecordStore store(*destination);
    const std::optional<qint64> next = store.next_unit(plan->stationName, &error);
    if (!next) {
        print_err(QStringLiteral("zelt-cli: cannot reach the records in %1: %2; nothing was sent")
                      .arg(destination->describe(), error));
        return kDeviceFailed;
    }

    // A signal lets the running units finish: until the station has ended,
    // the shut-down's deadline waits.
    StopSignals stop(QStringLiteral("zelt-cli"), true);
    std::optional<FinishFirst> finishing;
    station::Engine engine(std::move(*plan), store, *next);
    std::unique_ptr<QObject> report;
    LiveTable* table = nullptr;
    if (options.json || !isatty(STDOUT_FILENO)) {
        report = std::make_unique<JsonReport>(engine);
    } else {
        auto live = std::make_unique<LiveTable>(engine);
        table = live.get();
        report = std::move(live);
    }
    QEventLoop loop;
    QObject::connect(&engine, &station::Engine::ended, &loop, &QEventLoop::quit);
    QObject::connect(&stop, &StopSignals::stopRequested, &engine, [&] {
        finishing.emplace();
        engine.stop();
    });
    engine.start();
    loop.exec();
    if (table)
        table->draw();
    const int status = stop.caught() ? stop.exitStatus() : engine.exitStatus();
    finishing.reset();
    return status;
}

}  // namespace cli
