#include "cli/speed_log.h"

#include "cli/console_out.h"

#include <QFileInfo>
#include <QSaveFile>

namespace cli {

bool SpeedLog::open(const QString& file, QString* error)
{
    if (file.isEmpty())
        return true;
    on_ = true;
    toStdout_ = file == QLatin1String("-");
    if (!toStdout_) {
        name_ = file;
        const QFileInfo info(file);
        // A device or a FIFO cannot be replaced by a file beside it.
        if (info.exists() && !info.isFile())
            file_ = std::make_unique<QFile>(file);
        else
            file_ = std::make_unique<QSaveFile>(file);
        if (!file_->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            *error = QStringLiteral("cannot write the speed log %1: %2").arg(file, file_->errorString());
            return false;
        }
    }
    // Checked with the first tick, so that a failure stops the run like any other.
    if (toStdout_)
        print_out(speed::csv_header());
    else
        file_->write((speed::csv_header() + QLatin1Char('\n')).toUtf8());
    return true;
}

bool SpeedLog::tick(const SpeedTick& tick)
{
    return !on_ || write_line(speed::csv_row(tick));
}

void SpeedLog::result(const QString& line) const
{
    if (toStdout_)
        print_err(line);
    else
        print_out(line);
}

bool SpeedLog::write_line(const QString& line)
{
    if (!failure_.isEmpty())
        return false;
    if (toStdout_) {
        print_out(line);
        return true;
    }
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    if (file_->write(bytes) != bytes.size() || !file_->flush()) {
        fail();
        return false;
    }
    return true;
}

void SpeedLog::fail()
{
    failure_ = QStringLiteral("cannot write the speed log %1: %2").arg(name_, file_->errorString());
}

bool SpeedLog::finish()
{
    if (!on_ || toStdout_)
        return true;
    if (!failure_.isEmpty())
        return false;
    if (!file_->flush()) {
        fail();
        return false;
    }
    bool written = true;
    if (auto* replacing = dynamic_cast<QSaveFile*>(file_.get())) {
        written = replacing->commit();
    } else {
        file_->close();
        written = file_->error() == QFileDevice::NoError;
    }
    if (!written)
        fail();
    return written;
}

}  // namespace cli
