#pragma once
// The settings' keys in section INC of the settings file and of setup files,
// and what a setup file without a key reads, in frame order.

#include "params/parameter_set.h"

#include <array>

inline constexpr std::array<const char*, kSettingCount> kIncKeys = setting_column(&SettingRow::key);

inline constexpr std::array<int, kSetupKeyCount> kSetupMissingValues = [] {
    std::array<int, kSetupKeyCount> values{};
    for (int pos = 0; pos < kSetupKeyCount; ++pos)
        values[pos] = *kSettingTable[pos].setup_file_fallback;
    return values;
}();
