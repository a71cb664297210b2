// read, write, restore and save: the eight settings through the operations
// behind the window's buttons.

#include "backups/settings_backup.h"
#include "cli/backup_commands.h"
#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "cli/setting_text.h"
#include "cli/setup_file_check.h"
#include "params/ini_file.h"
#include "params/setting_keys.h"
#include "params/setup_file_format.h"
#include "params/setup_files.h"

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

// The ESC's settings as it sent them, bytes that are none of a list's items
// included, so that a backup keeps them and a write puts them back.
std::optional<SettingValues> read_from_esc(Session& s)
{
    const Found<SettingValues> read = s.core.perform<SettingValues>([&s] { return s.core.params().read(); });
    return read.done() ? std::optional(read.value) : std::nullopt;
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

// A setup file holds items only; an ESC's byte that is none of them would
// come back from the file as no selection.
bool setup_file_can_hold(const SettingValues& values)
{
    for (int pos = 0; pos < kSetupKeyCount; ++pos)
        if (!is_listed_item(pos, values[pos])) {
            print_err(QStringLiteral("zelt-cli: the ESC holds %1 for %2, which is not a listed item; a setup "
                                     "file holds listed items only, so nothing was saved")
                          .arg(values[pos])
                          .arg(QLatin1String(kSettingCaptions[pos])));
            return false;
        }
    return true;
}

}  // namespace

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
        const Found<SetupContents> loaded =
            s.core.perform<SetupContents>([&] { return s.core.setupFiles().load(options.file); });
        std::copy_n(loaded.value.values.begin(), loaded.value.count, values.begin());
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
    // A target that cannot be replaced is refused before the ESC is asked.
    if (const QString problem = IniFile(options.file).saveProblem(); !problem.isEmpty()) {
        print_err(QStringLiteral("zelt-cli: cannot save %1: %2; nothing was sent").arg(options.file, problem));
        return kUsageOrFile;
    }
    if (!s.connect_esc(options.port))
        return kDeviceFailed;
    const std::optional<SettingValues> read = read_from_esc(s);
    if (!read)
        return kDeviceFailed;
    if (!setup_file_can_hold(*read))
        return kDeviceFailed;
    SetupValues values{};
    std::copy_n(read->begin(), kSetupKeyCount, values.begin());
    if (s.perform([&] { return s.core.setupFiles().save(options.file, values); }).done())
        return kSuccess;
    print_err(QStringLiteral("zelt-cli: cannot save %1: %2").arg(options.file, s.core.setupFiles().save_error()));
    return kUsageOrFile;
}

}  // namespace cli
