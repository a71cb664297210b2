#pragma once
// Where a speed run's lines go. With --csv every tick is a line of the log;
// a log on standard output (FILE "-") takes standard output for itself, and
// the run's other lines go to standard error instead.
//
// A log file is written beside the one it replaces and put in its place by
// finish(), so that a run that fails before it (no card, a full disk) leaves
// an earlier log as it was. A device or a FIFO is written directly.

#include "speedtest/speed_tick.h"

#include <QFileDevice>
#include <QString>

#include <memory>

namespace cli {

class SpeedLog {
public:
    // An empty name keeps no log. False with the reason in *error when the
    // file cannot be written; nothing has touched the line then.
    bool open(const QString& file, QString* error);

    // False once a line could not be written; failure() says why. Every line
    // is written out at once, so that a full disk is found at the tick it fills.
    bool tick(const SpeedTick& tick);
    // A result line (rpm=…, throttle=… rpm=…).
    void result(const QString& line) const;
    // The log is complete: it takes the place of the file named. False, with
    // failure() saying why, when it could not.
    bool finish();
    const QString& failure() const { return failure_; }

private:
    bool write_line(const QString& line);
    void fail();

    bool toStdout_ = false;
    bool on_ = false;
    QString name_;
    std::unique_ptr<QFileDevice> file_;
    QString failure_;
};

}  // namespace cli
