// diff: what writing a setup file would change on the ESC. Only the read goes
// to the ESC.

#include "backups/settings_backup.h"
#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "cli/setting_diff.h"
#include "params/setting_keys.h"

namespace cli {

int diff_command(const CliOptions& options, Session& s)
{
    if (!setup_file_usable(options.file))
        return kUsageOrFile;
    if (!s.connect_esc(options.port) || !s.perform([&s] { return s.core.params.read(); }).done())
        return kDeviceFailed;
    const SettingValues held = s.view.settings;

    // The settings a write of the file would send: six from a setup file and
    // what the ESC holds for the last two, or all eight from a backup.
    s.dialogs.fileName = options.file;
    s.perform([&s] { return s.core.setupFiles.load(); });
    if (const auto extra = backups::extra_settings(options.file)) {
        for (int i = 0; i < 2; ++i)
            s.view.showSettingIndex(kSetupKeyCount + i, (*extra)[i]);
    }
    const QStringList lines = setting_diff(held, s.view.settings);
    for (const QString& line : lines)
        print_out(line);
    constexpr int kDiffers = 1;
    return lines.isEmpty() ? kSuccess : kDiffers;
}

}  // namespace cli
