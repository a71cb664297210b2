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

bool write_setup_file(const QString& path, const SetupValues& values)
{
    IniFile ini(path);
    for (int i = 0; i < kSetupKeyCount; ++i)
        ini.writeInteger(kIncSection, kIncKeys[i], values[i]);
    return ini.save();
}
