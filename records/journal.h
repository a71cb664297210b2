#pragma once
// The records that the database could not take, one JSON line each, in the
// order they came. Every line is on the disk (fsync'd) before append returns,
// so a unit is never reported done on a line that a crash could lose.

#include <QJsonObject>
#include <QList>
#include <QString>

namespace records {

class Journal {
public:
    explicit Journal(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }
    bool append(const QJsonObject& entry, QString* error);
    // The entries in order. A line that does not parse (the last one, cut off
    // by a crash before it was on the disk) is counted in *torn and left out.
    QList<QJsonObject> entries(int* torn) const;
    bool empty() const;
    // Removes the file once every entry is stored. One that held torn lines
    // is kept beside as torn_path(), so that nothing goes unseen.
    bool clear(QString* error);
    QString torn_path() const { return path_ + QStringLiteral(".torn"); }

private:
    QString path_;
};

}  // namespace records
