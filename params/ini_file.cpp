#include "params/ini_file.h"

#include "params/ini_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cstdio>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<int> parse_profile_integer(const QString& text)
{
    QStringView s(text);
    bool negative = false;
    if (s.startsWith(u'-') || s.startsWith(u'+')) {
        negative = s.front() == u'-';
        s = s.mid(1);
    }
    int base = 10;
    if (s.startsWith(u'$')) {
        base = 16;
        s = s.mid(1);
    } else if (s.startsWith(u"0x") || s.startsWith(u"0X")) {
        base = 16;
        s = s.mid(2);
    }
    if (s.isEmpty())
        return std::nullopt;
    // Digits only: toLongLong would also accept blanks and a second sign.
    for (QChar c : s) {
        const char16_t u = c.unicode();
        const bool digit =
            (u >= '0' && u <= '9') || (base == 16 && ((u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')));
        if (!digit)
            return std::nullopt;
    }
    bool ok = false;
    const long long magnitude = s.toLongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    const long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

// The file a save replaces: the target of a symbolic link, not the link.
QString file_to_replace(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// A save writes a new file beside the old one and renames it into place. The
// new file's name is one no user picks ("zelt.ini" saves through
// ".zelt.ini.Ab3xYz.saving"), so that one left by a save cut short can be told
// apart from the user's files and removed. (QSaveFile's "zelt.ini.AbCdEf"
// looks just like a user's "zelt.ini.backup".)
QString temporary_template(const QString& target)
{
    const QFileInfo info(target);
    return info.dir().filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".XXXXXX.saving"));
}

// The process's file creation mask. umask() reads it only by setting it,
// which would let a file that another thread (another session) creates
// meanwhile be made without any mask; the kernel shows it in the process's
// status instead. Where that cannot be read, the usual mask.
mode_t creation_mask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            if (!line.startsWith("Umask:"))
                continue;
            bool ok = false;
            const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
            if (ok)
                return static_cast<mode_t>(mask & 0777);
        }
    }
    return 022;
}

// The new file gets the old one's permissions, or those of any new file.
mode_t permissions_for(const QString& target)
{
    struct stat st {};
    if (::stat(QFile::encodeName(target).constData(), &st) == 0)
        return st.st_mode & 07777;
    return 0666 & ~creation_mask();
}

void remove_leftover_temporaries(const QString& target)
{
    const QFileInfo info(target);
    const QDir dir = info.dir();
    const QRegularExpression leftover(QStringLiteral("^\\.%1\\.[A-Za-z0-9]{6}\\.saving$")
                                          .arg(QRegularExpression::escape(info.fileName())));
    const QStringList candidates =
        dir.entryList({QLatin1Char('.') + info.fileName() + QStringLiteral(".*.saving")},
                      QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : candidates)
        if (leftover.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
}

}  // namespace

struct IniFile::Impl {
    QString path;
    IniText text;
    // The file exists but could not be read: a save would drop what it holds.
    bool unreadable = false;
};

IniFile::IniFile(const QString& path) : d(std::make_unique<Impl>())
{
    d->path = path;
    remove_leftover_temporaries(file_to_replace(path));
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray data = file.readAll();
        d->unreadable = file.error() != QFileDevice::NoError;
        if (!d->unreadable)
            d->text = IniText(data);
    } else {
        d->unreadable = QFileInfo::exists(path);
    }
}

IniFile::~IniFile() = default;

QString IniFile::path() const
{
    return d->path;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    const std::optional<QByteArray> value = d->text.value(section.toUtf8(), key.toUtf8());
    return value ? QString::fromUtf8(*value) : def;
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const
{
    return parse_profile_integer(readString(section, key, QString())).value_or(def);
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    d->text.setValue(section.toUtf8(), key.toUtf8(), value.toUtf8());
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

bool IniFile::save()
{
    if (d->unreadable)
        return false;
    const QString target = file_to_replace(d->path);
    const QFileInfo existing(target);
    // A file that may not be written stays as it is, even though the folder
    // would let it be replaced. Opening it to append changes nothing in it.
    if (existing.exists()) {
        QFile probe(target);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Append))
            return false;
    }
    const QByteArray bytes = d->text.bytes();
    QTemporaryFile file(temporary_template(target));
    if (!file.open())
        return false;
    // The write is buffered: only flush() shows a full disk. The data reaches
    // the disk before the rename, so that a crash leaves the old file or the
    // new one, never an empty one.
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0)
        return false;
    if (::fchmod(file.handle(), permissions_for(target)) != 0)
        return false;
    file.close();
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}
