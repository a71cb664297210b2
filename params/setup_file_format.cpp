#include "params/setup_file_format.h"

#include "params/ini_file.h"

SetupValues read_setup_file(const QString& path)
{
    const IniFile ini(path);
    SetupValues values{};
    for (int i = 0; i < kSetupKeyCount; ++i)
        values[i] = ini.readInteger(kIncSection, kIncKeys[i], kSetupMissingValues[i]);
    return values;
}

std::optional<ExtraValues> read_extra_settings(const QString& path)
{
    const IniFile ini(path);
    const QString absent = QStringLiteral("\n");  // no value read from a file holds a line end
    ExtraValues extra{};
    for (int i = 0; i < kExtraSettingCount; ++i) {
        const QString key = QLatin1String(kIncKeys[kSetupKeyCount + i]);
        constexpr int kNoNumber = -2;  // neither an item index nor "no selection"
        extra[i] = ini.readInteger(QLatin1String(kIncSection), key, kNoNumber);
        if (ini.readString(QLatin1String(kIncSection), key, absent) == absent || extra[i] == kNoNumber)
            return std::nullopt;
    }
    return extra;
}

bool write_setup_file(const QString& path, const SetupValues& values, QString* error)
{
    IniFile ini(path);
    for (int i = 0; i < kSetupKeyCount; ++i)
        ini.writeInteger(kIncSection, kIncKeys[i], values[i]);
    if (ini.save())
        return true;
    if (error)
        *error = ini.saveError();
    return false;
}
