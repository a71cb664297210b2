// read, write, restore and save: the eight settings through the operations
// behind the window's buttons.

#include "backups/settings_backup.h"
#include "cli/backup_commands.h"
#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "cli/setting_text.h"
#include "params/ini_file.h"
#include "params/setting_keys.h"
#include "params/setup_file_format.h"
#include "params/setup_files.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <set>

namespace cli {
namespace {

void print_settings(const CliOptions& options, Session& s, const SettingValues& values)
{
    if (!options.json) {
        for (int pos = 0; pos < kSettingCount; ++pos)
            print_out(setting_line(pos, values[pos]));
        return;
    }
    QJsonArray settings;
    for (int pos = 0; pos < kSettingCount; ++pos) {
        const int index = values[pos];
        const QString item = item_text(pos, index);
        settings.append(QJsonObject{{"setting", QString::fromLatin1(kSettingCaptions[pos])},
                                    {"index", index},
                                    {"item", item.isEmpty() ? QJsonValue() : QJsonValue(item)}});
    }
    const QJsonObject document{{"port", s.core.link().port_in_use()}, {"settings", settings}};
    print_out(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)).trimmed());
}

// The ESC's settings, each as its list shows it: a value outside the list's
// items as no selection.
std::optional<SettingValues> read_from_esc(Session& s)
{
    std::optional<SettingValues> values;
    s.perform([&s, &values] {
        Found<SettingValues> read = s.core.params().read();
        if (read.done())
            values = as_listed(read.value);
        return read.outcome;
    });
    return values;
}

// Writes the values. A value without a selection is refused by the write
// itself (its box says which); that is the input's fault when the setup
// file put it there.
int download(Session& s, const SettingValues& values, bool fromFile)
{
    const Outcome written = s.perform([&s, &values] { return s.core.params().write(values); });
    if (written.done())
        return kSuccess;
    return written.kind == Outcome::Kind::Refused && fromFile ? kUsageOrFile : kDeviceFailed;
}

}  // namespace

// A file that cannot be read, or lacks a key, loads fallback values without a
// word, as the window's "Load setup" does; written to an ESC unseen, those
// would be settings nobody chose.
bool setup_file_usable(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        print_err(QStringLiteral("zelt-cli: cannot read the setup file %1: %2").arg(path, file.errorString()));
        return false;
    }
    const IniFile ini(path);
    const QString absent = QStringLiteral("\n");  // no value read from a file holds a line end
    QStringList missing;
    for (int pos = 0; pos < kSetupKeyCount; ++pos)
        if (ini.readString(QLatin1String(kIncSection), QLatin1String(kIncKeys[pos]), absent) == absent)
            missing << QStringLiteral("%1 (%2)").arg(QLatin1String(kIncKeys[pos]),
                                                     QLatin1String(kSettingCaptions[pos]));
    if (missing.isEmpty())
        return true;
    print_err(QStringLiteral("zelt-cli: %1 is no setup file: section [%2] has no %3; nothing was sent")
                  .arg(path, QLatin1String(kIncSection), missing.join(QStringLiteral(", "))));
    return false;
}

int read_command(const CliOptions& options, Session& s)
{
    if (!s.connect_esc(options.port))
        return kDeviceFailed;
    const std::optional<SettingValues> read = read_from_esc(s);
    if (!read)
        return kDeviceFailed;
    print_settings(options, s, *read);
    return kSuccess;
}

int write_command(const CliOptions& options, Session& s)
{
    if (!options.file.isEmpty() && !setup_file_usable(options.file))
        return kUsageOrFile;
    if (!s.connect_esc(options.port))
        return kDeviceFailed;

    // A backup holds other1 and other2 too; a plain setup file does not.
    const auto extra = options.file.isEmpty() ? std::nullopt : read_extra_settings(options.file);
    // The settings not given keep what the ESC holds: nothing is guessed.
    std::set<int> given;
    if (!options.file.isEmpty())
        for (int pos = 0; pos < (extra ? kSettingCount : kSetupKeyCount); ++pos)
            given.insert(pos);
    for (const SettingAssignment& a : options.assignments)
        given.insert(a.pos);
    // Read first, for the settings not given and for the backup.
    const std::optional<SettingValues> read = read_from_esc(s);
    if (!read && given.size() < kSettingCount)
        return kDeviceFailed;
    back_up_read_settings(s, read);

    SettingValues values = read.value_or(kDefaultSettings);
    if (!options.file.isEmpty()) {
        Found<SetupContents> loaded;
        s.perform([&] {
            loaded = s.core.setupFiles().load(options.file);
            return loaded.outcome;
        });
        const SettingValues fromFile = as_listed(loaded.value.values);
        std::copy_n(fromFile.begin(), loaded.value.count, values.begin());
    }
    for (const SettingAssignment& a : options.assignments)
        values[a.pos] = a.index;
    const int status = download(s, values, !options.file.isEmpty());
    if (status == kSuccess)
        print_settings(options, s, values);
    return status;
}

int restore_command(const CliOptions& options, Session& s)
{
    if (!s.connect_esc(options.port))
        return kDeviceFailed;
    back_up_read_settings(s, read_from_esc(s));
    const SettingValues defaults = ParamOps::restore_defaults();
    const int status = download(s, defaults, false);
    if (status == kSuccess)
        print_settings(options, s, defaults);
    return status;
}

int save_command(const CliOptions& options, Session& s)
{
    if (!s.connect_esc(options.port))
        return kDeviceFailed;
    const std::optional<SettingValues> read = read_from_esc(s);
    if (!read)
        return kDeviceFailed;
    SetupValues values{};
    std::copy_n(read->begin(), kSetupKeyCount, values.begin());
    return s.perform([&] { return s.core.setupFiles().save(options.file, values); }).done() ? kSuccess
                                                                                           : kUsageOrFile;
}

}  // namespace cli
