#include "backups/settings_backup.h"

#include "params/ini_file.h"
#include "params/setting_keys.h"
#include "serial/link_trace.h"

#include <QCoreApplication>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

namespace backups {
namespace {

const QString kSuffix = QStringLiteral(".zelt");
// Only files of this form are ours to list and to delete: a user's own file
// put into the folder stays.
const QRegularExpression kName(QStringLiteral(R"(^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d\.\d{3}_.+\.zelt$)"));

QString file_model(const QString& model)
{
    QString name = model;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return name.isEmpty() ? QStringLiteral("unknown") : name;
}

QStringList names_newest_first(const QDir& dir)
{
    QStringList names =
        dir.entryList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name | QDir::Reversed);
    names = names.filter(kName);
    return names;
}

void drop_oldest(const QDir& dir)
{
    const QStringList names = names_newest_first(dir);
    for (qsizetype i = kKept; i < names.size(); ++i)
        QFile::remove(dir.filePath(names[i]));
}

}  // namespace

QString folder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/zelt/backups");
}

std::optional<QString> save(const SettingValues& values, const QString& model, QString* error,
                            const QDateTime& when)
{
    const QDir dir(folder());
    if (!QDir().mkpath(dir.path())) {
        *error = QStringLiteral("cannot make the folder %1").arg(dir.path());
        return std::nullopt;
    }
    // Two backups within one millisecond would share a name; the later one
    // takes the next free millisecond.
    QString path;
    for (QDateTime t = when; path.isEmpty() || QFileInfo::exists(path); t = t.addMSecs(1))
        path = dir.filePath(t.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss.zzz_")) + file_model(model) +
                            kSuffix);

    IniFile ini(path);
    for (int pos = 0; pos < kSettingCount; ++pos)
        ini.writeInteger(QLatin1String(kIncSection), QLatin1String(kIncKeys[pos]), values[pos]);
    if (!ini.save()) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return std::nullopt;
    }
    drop_oldest(dir);
    return path;
}

QStringList list()
{
    const QDir dir(folder());
    QStringList paths;
    for (const QString& name : names_newest_first(dir))
        paths << dir.filePath(name);
    return paths;
}

std::optional<std::array<int, kBackupOnlyCount>> extra_settings(const QString& path)
{
    const IniFile ini(path);
    const QString absent = QStringLiteral("\n");  // no value read from a file holds a line end
    std::array<int, kBackupOnlyCount> extra{};
    for (int i = 0; i < kBackupOnlyCount; ++i) {
        const QString key = QLatin1String(kIncKeys[kSetupKeyCount + i]);
        constexpr int kNoNumber = -2;  // neither an item index nor "no selection"
        extra[i] = ini.readInteger(QLatin1String(kIncSection), key, kNoNumber);
        if (ini.readString(QLatin1String(kIncSection), key, absent) == absent || extra[i] == kNoNumber)
            return std::nullopt;
    }
    return extra;
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
