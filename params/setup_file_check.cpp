#include "params/setup_file_check.h"

#include "params/ini_file.h"
#include "params/parameter_set.h"
#include "params/setting_keys.h"
#include "params/setup_file_format.h"
#include "setting_table/setting_table.h"

#include <QStringList>

namespace {

const QString kSection = QLatin1String(kIncSection);

QString key_of(int pos)
{
    return QLatin1String(kIncKeys[pos]);
}

bool all_keys_present(const QString& path, const IniFile& ini, QStringList& problems)
{
    const QString absent = QStringLiteral("\n");  // no value read from a file holds a line end
    QStringList missing;
    for (int pos = 0; pos < kSetupKeyCount; ++pos)
        if (ini.readString(kSection, key_of(pos), absent) == absent)
            missing << QStringLiteral("%1 (%2)").arg(key_of(pos), QLatin1String(kSettingCaptions[pos]));
    if (missing.isEmpty())
        return true;
    problems.append(QStringLiteral("%1 is no setup file: section [%2] has no %3; nothing was sent")
                        .arg(path, kSection, missing.join(QStringLiteral(", "))));
    return false;
}

// A plain setup file's value is an item index of its list, in the digits the
// window reads; a backup's is the ESC's byte as it was, an item or not.
void check_value(const QString& path, const IniFile& ini, int pos, bool backup, QStringList& problems)
{
    const std::optional<int> value = ini.readNumber(kSection, key_of(pos));
    const bool inRange = value && (backup ? *value >= 0 && *value <= 0xFF : is_listed_item(pos, *value));
    if (inRange)
        return;
    const QString takes = backup ? QStringLiteral("a backup holds the ESC's byte for %1, from 0 to 255")
                                       .arg(QLatin1String(kSettingCaptions[pos]))
                                 : QStringLiteral("%1 takes an item index from 0 to %2")
                                       .arg(QLatin1String(kSettingCaptions[pos]))
                                       .arg(setting_item_count(pos) - 1);
    problems.append(QStringLiteral("%1 line %2: %3=%4 is %5; %6; nothing was sent")
                        .arg(path)
                        .arg(ini.lineOf(kSection, key_of(pos)))
                        .arg(key_of(pos), ini.readString(kSection, key_of(pos), QString()),
                             value ? QStringLiteral("out of range") : QStringLiteral("not a number"), takes));
}

}  // namespace

QStringList setup_file_problems(const QString& path)
{
    QStringList problems;
    const IniFile ini(path);
    if (const QString error = ini.readError(); !error.isEmpty())
        return {QStringLiteral("cannot read the setup file %1: %2").arg(path, error)};
    if (!all_keys_present(path, ini, problems))
        return problems;
    // A backup's other1 and other2 are written too.
    const bool backup = read_extra_settings(path).has_value();
    for (int pos = 0; pos < (backup ? kSettingCount : kSetupKeyCount); ++pos)
        check_value(path, ini, pos, backup, problems);
    return problems;
}
