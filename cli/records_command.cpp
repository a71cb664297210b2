// records: the station's unit records, newest first, as lines or as CSV.

#include "cli/commands.h"

#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "records/record_row.h"
#include "records/record_store.h"
#include "records/records_csv.h"

#include <QFile>
#include <cstdio>

namespace cli {
namespace {

// 2026-03-01 08:02:41  line-1  ttyUSB2  unit 2  30A V1.0  V1.2 -> V1.3  FAIL  why
QString record_line(const records::UnitRecord& r)
{
    QStringList cells = {r.finished_utc.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), r.station, r.port,
                         QStringLiteral("unit %1").arg(r.unit), r.model + QLatin1Char(' ') + r.hw,
                         r.fw_before == r.fw_after ? r.fw_before : r.fw_before + QStringLiteral(" -> ") + r.fw_after,
                         r.result.toUpper()};
    if (!r.reason.isEmpty())
        cells.append(r.reason);
    return cells.join(QStringLiteral("  "));
}

}  // namespace

int records_command(const CliOptions& options)
{
    QString error;
    const std::optional<records::Destination> destination = records::parse_destination(options.records, &error);
    if (!destination) {
        print_err(QStringLiteral("zelt-cli: %1").arg(error));
        return kUsageOrFile;
    }
    const records::RecordStore store(*destination);
    const auto list = store.list(options.since, &error);
    if (!list) {
        print_err(QStringLiteral("zelt-cli: %1").arg(error));
        return kDeviceFailed;
    }
    if (!options.csvFile.isEmpty()) {
        QFile file(options.csvFile);
        const bool out = options.csvFile == QLatin1String("-");
        const QByteArray csv = records::to_csv(*list);
        if (!(out ? file.open(stdout, QIODevice::WriteOnly) : file.open(QIODevice::WriteOnly | QIODevice::Truncate)) ||
            file.write(csv) != csv.size() || !file.flush()) {
            print_err(QStringLiteral("zelt-cli: cannot write %1: %2").arg(options.csvFile, file.errorString()));
            return kUsageOrFile;
        }
        return kSuccess;
    }
    if (list->isEmpty())
        print_err(QStringLiteral("zelt-cli: no records in %1%2")
                      .arg(destination->describe(),
                           options.since ? QStringLiteral(" since ") + records::stored_time(*options.since)
                                         : QString()));
    for (const records::UnitRecord& r : *list)
        print_out(record_line(r));
    if (const int waiting = store.waiting())
        print_err(QStringLiteral("zelt-cli: %1 more wait in %2 until the database takes them")
                      .arg(waiting)
                      .arg(destination->journal));
    return kSuccess;
}

}  // namespace cli
