#include "params/regular_file.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString system_reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

std::optional<QString> unusable(const struct stat& st, qint64 maxBytes)
{
    if (std::optional<QString> kind = not_a_regular_file(st.st_mode))
        return kind;
    if (st.st_size > maxBytes)
        return larger_than(maxBytes);
    return std::nullopt;
}

}  // namespace

std::optional<QString> not_a_regular_file(unsigned mode)
{
    switch (mode & S_IFMT) {
        case S_IFREG:
            return std::nullopt;
        case S_IFDIR:
            return QStringLiteral("Is a folder, not a file");
        case S_IFCHR:
        case S_IFBLK:
            return QStringLiteral("Is a device, not a file");
        case S_IFIFO:
            return QStringLiteral("Is a FIFO, not a file");
        case S_IFSOCK:
            return QStringLiteral("Is a socket, not a file");
        default:
            return QStringLiteral("Is not a regular file");
    }
}

QString larger_than(qint64 maxBytes)
{
    constexpr qint64 kMiB = 1024 * 1024;
    if (maxBytes % kMiB == 0)
        return QStringLiteral("Is larger than %1 MiB").arg(maxBytes / kMiB);
    return QStringLiteral("Is larger than %1 KiB").arg(maxBytes / 1024);
}

int open_regular_file(const QString& path, qint64 maxBytes, QString* error, bool* missing)
{
    if (missing)
        *missing = false;
    const QByteArray name = QFile::encodeName(path);
    // Looked at before it is opened: opening a device can already change it.
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        if (missing)
            *missing = errno == ENOENT;
        *error = system_reason(errno);
        return -1;
    }
    if (std::optional<QString> why = unusable(st, maxBytes)) {
        *error = *why;
        return -1;
    }
    // Should a FIFO have taken the file's place since, the open does not wait
    // for a writer, and the look at what was opened refuses it.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        *error = system_reason(errno);
        return -1;
    }
    std::optional<QString> why;
    if (::fstat(fd, &st) != 0)
        why = system_reason(errno);
    else
        why = unusable(st, maxBytes);
    const int flags = ::fcntl(fd, F_GETFL);
    if (!why && (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0))
        why = system_reason(errno);
    if (why) {
        ::close(fd);
        *error = *why;
        return -1;
    }
    return fd;
}

std::optional<QByteArray> read_regular_file(const QString& path, qint64 maxBytes, QString* error, bool* missing)
{
    const int fd = open_regular_file(path, maxBytes, error, missing);
    if (fd < 0)
        return std::nullopt;
    // One byte more than allowed tells a file that has grown since it was looked at.
    QByteArray data;
    char chunk[16384];
    std::optional<QString> why;
    while (!why) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            why = system_reason(errno);
        else if (got == 0)
            break;
        else if (data.size() + got > maxBytes)
            why = larger_than(maxBytes);
        else
            data.append(chunk, got);
    }
    ::close(fd);
    if (why) {
        *error = *why;
        return std::nullopt;
    }
    return data;
}
