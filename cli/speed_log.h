#pragma once
// Where a speed run's lines go. With --csv every tick is a line of the log;
// a log on standard output (FILE "-") takes standard output for itself, and
// the run's other lines go to standard error instead.

#include "speedtest/speed_tick.h"

#include <QFile>
#include <QString>

namespace cli {

class SpeedLog {
public:
    // An empty name keeps no log. False with the reason in *error when the
    // file cannot be written; nothing has touched the line then.
    bool open(const QString& file, QString* error);

    void tick(const SpeedTick& tick);
    // A result line (rpm=…, throttle=… rpm=…).
    void result(const QString& line) const;

private:
    void write_line(const QString& line);

    bool toStdout_ = false;
    bool on_ = false;
    QFile file_;
};

}  // namespace cli
