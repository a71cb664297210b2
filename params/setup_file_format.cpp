#include "params/setup_file_format.h"

#include "params/ini_file.h"

#include <QFileInfo>

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
    const QFileInfo info(path);
    if (info.exists() && !(info.isFile() && info.isReadable()))
        return false;
    IniFile ini(path);
    for (int i = 0; i < kSetupKeyCount; ++i)
        ini.writeInteger(kIncSection, kIncKeys[i], values[i]);
    return ini.save();
}
