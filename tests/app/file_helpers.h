#pragma once
// Small helpers for tests that read and write files in a temporary folder.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <stdexcept>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

inline QByteArray read_bytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

inline void write_bytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot prepare " + path.toStdString());
}

// Runs the test as an unprivileged user for its lifetime when the test process
// is the superuser, which ignores permission bits.
class AsUnprivilegedUser {
public:
    AsUnprivilegedUser() { dropped_ = ::geteuid() == 0 && ::seteuid(65534) == 0; }
    ~AsUnprivilegedUser()
    {
        if (dropped_)
            (void)::seteuid(0);
    }
    AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
    AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;

private:
    bool dropped_ = false;
};

// Makes a folder unwritable for the guard's lifetime.
class UnwritableFolder {
public:
    explicit UnwritableFolder(const QString& dir) : dir_(dir.toStdString()) { ::chmod(dir_.c_str(), 0555); }
    ~UnwritableFolder() { ::chmod(dir_.c_str(), 0700); }
    UnwritableFolder(const UnwritableFolder&) = delete;
    UnwritableFolder& operator=(const UnwritableFolder&) = delete;

private:
    std::string dir_;
    AsUnprivilegedUser user_;
};
