#include "backups/settings_backup.h"

#include "params/ini_file.h"
#include "params/setting_keys.h"
#include "serial/link_trace.h"

#include <QCoreApplication>

#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace backups {
namespace {

const QString kSuffix = QStringLiteral(".zelt");
// Only files of these forms are ours to list and to delete: a user's own file
// put into the folder stays.
const QRegularExpression kNumbered(
    QStringLiteral(R"(^(\d{6,})_\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d\.\d{3}Z_.+\.zelt$)"));
const QRegularExpression kLocalTimeOnly(QStringLiteral(R"(^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d\.\d{3}_.+\.zelt$)"));
// Each try after a name that was taken takes the next number; this many
// means something else is wrong.
constexpr int kNameTries = 1000;

QString file_model(const QString& model)
{
    QString name = model;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return name.isEmpty() ? QStringLiteral("unknown") : name;
}

qint64 sequence_of(const QString& name)
{
    const QRegularExpressionMatch m = kNumbered.match(name);
    return m.hasMatch() ? m.captured(1).toLongLong() : 0;
}

// Numbered names by their number, newest first; two saves at once may share
// a number, and then the later time counts. Names by local time alone come
// after them all.
QStringList names_newest_first(const QDir& dir)
{
    QStringList names = dir.entryList({QStringLiteral("*") + kSuffix}, QDir::Files);
    names.removeIf(
        [](const QString& n) { return !kNumbered.match(n).hasMatch() && !kLocalTimeOnly.match(n).hasMatch(); });
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const qint64 sa = sequence_of(a);
        const qint64 sb = sequence_of(b);
        return sa != sb ? sa > sb : a > b;
    });
    return names;
}

void drop_oldest(const QDir& dir, const QString& made)
{
    const QStringList names = names_newest_first(dir);
    for (qsizetype i = kKept; i < names.size(); ++i)
        if (dir.filePath(names[i]) != made)
            QFile::remove(dir.filePath(names[i]));
}

// Takes the next free name: the file is made empty here, with O_EXCL, so a
// name another save has just taken is never shared, and filled by the caller.
std::optional<QString> claim_name(const QDir& dir, const QString& model, const QDateTime& when, QString* error)
{
    const QStringList names = names_newest_first(dir);
    qint64 sequence = names.isEmpty() ? 1 : sequence_of(names.first()) + 1;
    const QString rest = when.toUTC().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss.zzz")) + QStringLiteral("Z_") +
                         file_model(model) + kSuffix;
    for (int tries = 0; tries < kNameTries; ++tries, ++sequence) {
        const QString path =
            dir.filePath(QStringLiteral("%1_").arg(sequence, 6, 10, QLatin1Char('0')) + rest);
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) {
            *error = QStringLiteral("cannot create %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            return std::nullopt;
        }
    }
    *error = QStringLiteral("no free name for a backup in %1").arg(dir.path());
    return std::nullopt;
}

}  // namespace

QString folder(QString* whyNone)
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty() || QDir::isRelativePath(home) || QDir::cleanPath(home) == QLatin1String("/")) {
            if (whyNone)
                *whyNone = QStringLiteral("neither XDG_STATE_HOME nor HOME names a folder for them (an absolute "
                                          "path, not /)");
            return {};
        }
        state = home + QStringLiteral("/.local/state");
    }
    return QDir::cleanPath(state + QStringLiteral("/zelt/backups"));
}

std::optional<QString> save(const SettingValues& values, const QString& model, QString* error,
                            const QDateTime& when)
{
    const QString folderPath = folder(error);
    if (folderPath.isEmpty())
        return std::nullopt;
    const QDir dir(folderPath);
    if (!QDir().mkpath(dir.path())) {
        *error = QStringLiteral("cannot make the folder %1").arg(dir.path());
        return std::nullopt;
    }
    const std::optional<QString> path = claim_name(dir, model, when, error);
    if (!path)
        return std::nullopt;

    IniFile ini(*path);
    for (int pos = 0; pos < kSettingCount; ++pos)
        ini.writeInteger(QLatin1String(kIncSection), QLatin1String(kIncKeys[pos]), values[pos]);
    if (!ini.save()) {
        *error = QStringLiteral("cannot write %1: %2").arg(*path, ini.saveError());
        QFile::remove(*path);
        return std::nullopt;
    }
    drop_oldest(dir, *path);
    return path;
}

QStringList list()
{
    const QString folderPath = folder();
    if (folderPath.isEmpty())
        return {};
    const QDir dir(folderPath);
    QStringList paths;
    for (const QString& name : names_newest_first(dir))
        paths << dir.filePath(name);
    return paths;
}

void warn_not_saved(const QString& reason)
{
    const QString text =
        QStringLiteral("the settings were not backed up: %1; going on without a backup").arg(reason);
    std::fprintf(stderr, "%s: warning: %s\n", qPrintable(QCoreApplication::applicationName()),
                 qPrintable(text));
    std::fflush(stderr);
    trace_event(QStringLiteral("backup failed: ") + text);
}

}  // namespace backups
