#include "cli/speed_log.h"

#include "cli/console_out.h"

namespace cli {

bool SpeedLog::open(const QString& file, QString* error)
{
    if (file.isEmpty())
        return true;
    on_ = true;
    toStdout_ = file == QLatin1String("-");
    if (!toStdout_) {
        file_.setFileName(file);
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            *error = QStringLiteral("cannot write the speed log %1: %2").arg(file, file_.errorString());
            return false;
        }
    }
    write_line(speed::csv_header());
    return true;
}

void SpeedLog::tick(const SpeedTick& tick)
{
    if (on_)
        write_line(speed::csv_row(tick));
}

void SpeedLog::result(const QString& line) const
{
    if (toStdout_)
        print_err(line);
    else
        print_out(line);
}

void SpeedLog::write_line(const QString& line)
{
    if (toStdout_) {
        print_out(line);
        return;
    }
    // Written out at once, so that a run cut short still leaves its ticks.
    file_.write((line + QLatin1Char('\n')).toUtf8());
    file_.flush();
}

}  // namespace cli
