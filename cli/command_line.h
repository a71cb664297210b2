#pragma once
// The command line of zelt-cli: one command, its arguments and the options.
// Everything is checked here, before any port is opened, so that a mistake
// costs no byte on the line.

#include "cli/setting_text.h"
#include "cli/throttle_sweep.h"
#include "station/station_plan.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace cli {

struct CliOptions {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    QString command;
    QString port;  // empty: the search over the listed ports
    bool json = false;
    QString logFile;

    // write: a setup file and/or settings; save: the file to write.
    QString file;
    std::vector<SettingAssignment> assignments;

    // flash
    QString image;
    bool yes = false;

    // speed
    int throttle = 0;
    int poles = 0;
    int seconds = 0;
    QString csvFile;                 // --csv: the tick log, "-" for standard output
    std::optional<SweepPlan> sweep;  // --sweep; throttle is then its first step

    // records (with csvFile): where they are, and from when
    QString records;
    std::optional<QDateTime> since;

    // station (with image, poles and records)
    QStringList ports;  // as given: names, paths or "all"
    bool firmware = false;
    QString setup;
    std::optional<station::SpinCheck> spin;  // --spin US:MIN:MAX[:SECONDS] with its --poles
    int units = 0;  // 0: until stopped
    QString stationName;
};

// Parses arguments (the program name first). False with a message for the
// user in *error when the command line is wrong.
bool parse_command_line(const QStringList& arguments, CliOptions* out, QString* error);

// The --help text.
QString help_text();

}  // namespace cli
