#include "settings/settings_file.h"

#include "settings/settings_location.h"

#include "params/ini_file.h"
#include "params/setting_keys.h"

#include <QDir>
#include <QFileInfo>

QString settings_path(const QString& programDir)
{
    return QDir(settings_folder(programDir)).filePath(QString::fromLatin1(kSettingsFileName));
}

StoredSettings read_settings(const QString& path)
{
    const IniFile ini(path);
    StoredSettings s;
    s.port = ini.readString(kPortSection, kPortKey, kDefaultPort);
    for (int i = 0; i < kSettingCount; ++i)
        s.indexes[i] = ini.readInteger(kIncSection, kIncKeys[i], kDefaultSettings[i]);
    return s;
}

bool write_settings(const QString& path, const StoredSettings& settings)
{
    // The user's configuration folder may not exist yet.
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    IniFile ini(path);
    ini.writeString(kPortSection, kPortKey, settings.port);
    for (int i = 0; i < kSettingCount; ++i)
        ini.writeInteger(kIncSection, kIncKeys[i], settings.indexes[i]);
    return ini.save();
}
