// backups, and the backup a write or a restore saves of what it read first.

#include "cli/backup_commands.h"

#include "backups/settings_backup.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/session.h"

namespace cli {

void back_up_read_settings(Session& s, const std::optional<SettingValues>& read)
{
    if (!read) {
        backups::warn_not_saved(QStringLiteral("the ESC's settings could not be read"));
        return;
    }
    QString error;
    if (const std::optional<QString> path = backups::save(*read, s.core.link().model_label(), &error))
        print_err(QStringLiteral("zelt-cli: the settings read were backed up to %1").arg(*path));
    else
        backups::warn_not_saved(error);
}

int backups_command(const CliOptions&)
{
    QString whyNone;
    const QString folder = backups::folder(&whyNone);
    if (folder.isEmpty()) {
        print_err(QStringLiteral("zelt-cli: there is no folder for backups: %1").arg(whyNone));
        return kUsageOrFile;
    }
    const QStringList paths = backups::list();
    if (paths.isEmpty())
        print_err(QStringLiteral("zelt-cli: no backups in %1 yet").arg(folder));
    for (const QString& path : paths)
        print_out(path);
    return kSuccess;
}

}  // namespace cli
