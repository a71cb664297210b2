#include "records/journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <fcntl.h>
#include <unistd.h>

namespace records {
namespace {

// A file created or removed survives a crash only once its folder is on the disk too.
bool sync_folder(const QString& file)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

bool Journal::append(const QJsonObject& entry, QString* error)
{
    const bool existed = QFileInfo::exists(path_);
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QFile file(path_);
    QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append)) {
        *error = QStringLiteral("cannot write the journal %1: %2").arg(path_, file.errorString());
        return false;
    }
    // A line cut off by a crash stays on a line of its own, so it cannot
    // swallow this one.
    char last = '\n';
    if (file.size() > 0 && file.seek(file.size() - 1))
        file.getChar(&last);
    if (last != '\n')
        line.prepend('\n');
    if (file.write(line) != line.size() || !file.flush() ||
        ::fsync(file.handle()) != 0 || (!existed && !sync_folder(path_))) {
        *error = QStringLiteral("cannot write the journal %1: %2").arg(path_, file.errorString());
        return false;
    }
    return true;
}

QList<QJsonObject> Journal::entries(int* torn) const
{
    *torn = 0;
    QList<QJsonObject> out;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonDocument doc = QJsonDocument::fromJson(line);
        if (doc.isObject())
            out.append(doc.object());
        else
            ++*torn;
    }
    return out;
}

bool Journal::empty() const
{
    return QFileInfo(path_).size() == 0;
}

bool Journal::clear(QString* error)
{
    if (!QFileInfo::exists(path_))
        return true;
    int torn = 0;
    entries(&torn);
    if (torn > 0) {
        QFile::remove(torn_path());
        if (!QFile::rename(path_, torn_path()) || !sync_folder(path_)) {
            *error = QStringLiteral("cannot move the journal %1 aside to %2 after storing it").arg(path_, torn_path());
            return false;
        }
        return true;
    }
    if (!QFile::remove(path_) || !sync_folder(path_)) {
        *error = QStringLiteral("cannot remove the journal %1 after storing it").arg(path_);
        return false;
    }
    return true;
}

}  // namespace records
