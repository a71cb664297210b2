#include "serial/recent_lines.h"

#include <QSaveFile>

RecentLines::RecentLines(int capacity, QObject* parent) : QObject(parent), capacity_(capacity > 0 ? capacity : 1) {}

void RecentLines::append(const QString& line)
{
    {
        std::lock_guard lock(mutex_);
        lines_.push_back(line);
        if (static_cast<int>(lines_.size()) > capacity_) {
            lines_.pop_front();
        }
    }
    emit lineAppended(line);
}

QStringList RecentLines::lines() const
{
    std::lock_guard lock(mutex_);
    return QStringList(lines_.begin(), lines_.end());
}

void RecentLines::clear()
{
    std::lock_guard lock(mutex_);
    lines_.clear();
}

bool RecentLines::save(const QString& path, QString* error) const
{
    // Written aside and renamed, so a failed save never leaves half a file
    // in place of an earlier one.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        for (const QString& line : lines()) {
            file.write(line.toUtf8());
            file.write("\n", 1);
        }
        if (file.commit()) {
            return true;
        }
    }
    if (error) {
        *error = file.errorString();
    }
    return false;
}
