#pragma once
// The settings file "zelt.ini": the port name and the eight setting indexes,
// carried from one run to the next. It lives beside the program, or for an
// installed copy in the user's configuration folder (settings_location.h).

#include "params/parameter_set.h"

#include <QString>

inline constexpr const char* kSettingsFileName = "zelt.ini";
inline constexpr const char* kPortSection = "COMSET";
inline constexpr const char* kPortKey = "COM";
inline constexpr const char* kDefaultPort = "COM1";

struct StoredSettings {
    QString port;
    SettingValues indexes{};  // frame order; -1 is a list without a selection
};

QString settings_path(const QString& programDir);

// A missing file, key or unreadable number reads as its default.
StoredSettings read_settings(const QString& path);

// Updates the two sections and keeps everything else in the file, creating
// its folder if need be. The file is replaced as a whole or not at all; false
// when it could not be written.
bool write_settings(const QString& path, const StoredSettings& settings);
