#pragma once
// Small helpers shared by the fuzz targets.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>

// Ends the run with a crash report when a property does not hold.
inline void fuzz_check(bool ok)
{
    if (!ok)
        std::abort();
}

// A file of this process that holds the input, for readers that take a path.
// In a folder of its own, in memory where there is /dev/shm: saves sync to disk.
inline QString fuzz_file(const uint8_t* data, size_t size, const char* suffix)
{
    static const QTemporaryDir dir(
        (QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
        QStringLiteral("/zelt-fuzz-XXXXXX"));
    const QString folder = dir.path();
    const QString path = QDir(folder).filePath(QStringLiteral("input") + QLatin1String(suffix));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return path;
}
