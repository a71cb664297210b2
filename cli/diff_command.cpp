// diff: what writing a setup file would change on the ESC. Only the read goes
// to the ESC.

#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "params/setting_diff.h"
#include "cli/setting_text.h"
#include "cli/setup_file_check.h"
#include "params/setup_files.h"

#include <algorithm>

namespace cli {

int diff_command(const CliOptions& options, Session& s)
{
    if (!setup_file_usable(options.file))
        return kUsageOrFile;
    if (!s.connect_esc(options.port))
        return kDeviceFailed;
    const Found<SettingValues> read = s.core.perform<SettingValues>([&s] { return s.core.params().read(); });
    if (!read.done())
        return kDeviceFailed;
    const SettingValues held = read.value;

    // The settings a write of the file would send: six from a setup file and
    // what the ESC holds for the last two, or all eight from a backup.
    const Found<SetupContents> loaded =
        s.core.perform<SetupContents>([&] { return s.core.setupFiles().load(options.file); });
    SettingValues written = held;
    std::copy_n(loaded.value.values.begin(), loaded.value.count, written.begin());
    const QStringList lines = setting_diff(held, written);
    for (const QString& line : lines)
        print_out(line);
    constexpr int kDiffers = 1;
    return lines.isEmpty() ? kSuccess : kDiffers;
}

}  // namespace cli
