#pragma once
// The last lines of the link trace, kept in memory so that a log window can
// show them and save them to a file.

#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <mutex>

class RecentLines : public QObject {
    Q_OBJECT
public:
    explicit RecentLines(int capacity = 5000, QObject* parent = nullptr);

    // From any thread; the oldest line goes once capacity lines are held.
    void append(const QString& line);
    QStringList lines() const;
    void clear();
    // Writes the lines, each followed by a line feed. On failure returns
    // false and puts the system's reason into *error.
    bool save(const QString& path, QString* error) const;

signals:
    // Emitted on the thread that appended; widgets connect to it queued.
    void lineAppended(const QString& line);

private:
    const int capacity_;
    mutable std::mutex mutex_;
    std::deque<QString> lines_;
};
