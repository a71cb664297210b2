#pragma once
// Setup files (*.zelt): INI text with section INC holding the first six
// settings of the frame order as decimal item indexes, -1 for a list without
// a selection. The keys are those of the settings file; a key that is missing
// or not a number reads as its own fallback (kSetupMissingValues), not as the
// default of the setting.

#include "params/setting_keys.h"

#include <QString>
#include <array>
#include <optional>

using SetupValues = std::array<int, kSetupKeyCount>;

// A file that is missing or cannot be read gives every fallback.
SetupValues read_setup_file(const QString& path);

// The settings a backup holds beyond those of a setup file (other1 and other2).
inline constexpr int kExtraSettingCount = kSettingCount - kSetupKeyCount;
using ExtraValues = std::array<int, kExtraSettingCount>;

// Those settings of a file, as stored; none when one is missing or not a
// number, as in a plain setup file.
std::optional<ExtraValues> read_extra_settings(const QString& path);

// Writes the six keys and keeps every other section and key of the file. The
// file is replaced whole or not at all; false when it could not be written or
// when an existing file could not be read (saving would drop what it holds),
// with the reason in *error when it is given.
bool write_setup_file(const QString& path, const SetupValues& values, QString* error = nullptr);
