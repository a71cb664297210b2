#include "params/ini_file.h"

#include "params/ini_text.h"
#include "params/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

QString system_reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// 0, or the errno of the write that failed.
int write_all(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t n = ::write(fd, bytes.data(), static_cast<size_t>(bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        bytes = bytes.sliced(n);
    }
    return 0;
}

// Permissions for a file that did not exist: those of any new file.
mode_t new_file_permissions()
{
    return 0666 & ~creation_mask();
}

// Whether a file this program makes may be given this owner and group: root
// may give any; anybody else keeps their own user and may pick any of their
// groups.
bool may_give(uid_t owner, gid_t group)
{
    if (::geteuid() == 0)
        return true;
    if (owner != ::geteuid())
        return false;
    if (group == ::getegid())
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    const int got = ::getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, group) != groups.begin() + got;
}

QString owner_kept_problem(uid_t owner, gid_t group)
{
    return QStringLiteral("Belongs to user %1 and group %2, which a replaced file could not keep")
        .arg(owner)
        .arg(group);
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
    QString readError;
    // The file exists but could not be read: a save would drop what it holds.
    bool unreadable = false;
    QString saveError;

    bool failed(QString reason)
    {
        saveError = std::move(reason);
        return false;
    }
};

IniFile::IniFile(const QString& path) : d(std::make_unique<Impl>())
{
    d->path = path;
    remove_leftover_temporaries(file_to_replace(path));
    bool missing = false;
    if (const std::optional<QByteArray> data = read_regular_file(path, kMaxBytes, &d->readError, &missing))
        d->text = IniText(*data);
    else
        d->unreadable = !missing;
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
    return readNumber(section, key).value_or(def);
}

std::optional<int> IniFile::readNumber(const QString& section, const QString& key) const
{
    return parse_profile_integer(readString(section, key, QString()));
}

int IniFile::lineOf(const QString& section, const QString& key) const
{
    const std::optional<size_t> index = d->text.lineOf(section.toUtf8(), key.toUtf8());
    return index ? static_cast<int>(*index) + 1 : 0;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    d->text.setValue(section.toUtf8(), key.toUtf8(), value.toUtf8());
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

QString IniFile::readError() const
{
    return d->readError;
}

QString IniFile::saveProblem() const
{
    if (d->unreadable)
        return d->readError;
    const QString target = file_to_replace(d->path);
    const QByteArray name = QFile::encodeName(target);
    struct stat st {};
    if (::stat(name.constData(), &st) == 0) {
        if (const std::optional<QString> kind = not_a_regular_file(st.st_mode))
            return *kind;
        // A file that may not be written stays as it is, even though the
        // folder would let it be replaced.
        if (::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0)
            return system_reason(errno);
        if (!may_give(st.st_uid, st.st_gid))
            return owner_kept_problem(st.st_uid, st.st_gid);
    } else if (errno != ENOENT) {
        return system_reason(errno);
    }
    // The new file is made beside the old one.
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    if (::stat(folder.constData(), &st) != 0)
        return system_reason(errno);
    if (!S_ISDIR(st.st_mode))
        return system_reason(ENOTDIR);
    if (::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) != 0)
        return system_reason(errno);
    return {};
}

QString IniFile::saveError() const
{
    return d->saveError;
}

bool IniFile::save()
{
    if (QString problem = saveProblem(); !problem.isEmpty())
        return d->failed(std::move(problem));
    d->saveError.clear();
    const QString target = file_to_replace(d->path);
    const QByteArray bytes = d->text.bytes();
    QTemporaryFile file(temporary_template(target));
    if (!file.open())
        return d->failed(file.errorString());
    // Written past QFile, whose buffered write may lose the system's reason
    // for a full disk ("Unknown error").
    if (const int error = write_all(file.handle(), bytes); error != 0)
        return d->failed(system_reason(error));
    // The old file's owner and group before its permissions: a change of
    // owner clears the set-id bits that the permissions then put back.
    mode_t permissions = new_file_permissions();
    struct stat old {};
    if (::stat(QFile::encodeName(target).constData(), &old) == 0) {
        permissions = old.st_mode & 07777;
        struct stat made {};
        if (::fstat(file.handle(), &made) != 0)
            return d->failed(system_reason(errno));
        if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
            ::fchown(file.handle(), old.st_uid, old.st_gid) != 0)
            return d->failed(owner_kept_problem(old.st_uid, old.st_gid) + QStringLiteral(": ") +
                             system_reason(errno));
    }
    if (::fchmod(file.handle(), permissions) != 0)
        return d->failed(system_reason(errno));
    // The data reaches the disk before the rename, so that a crash leaves the
    // old file or the new one, never an empty one.
    if (::fsync(file.handle()) != 0)
        return d->failed(system_reason(errno));
    file.close();
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        return d->failed(system_reason(errno));
    file.setAutoRemove(false);
    return true;
}
