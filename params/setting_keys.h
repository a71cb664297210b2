#pragma once
// The eight ESC settings in frame order: their keys in section INC of the
// settings file and of setup files, and their default item indexes. The key
// names do not describe the settings; files in the field rely on them.

#include <array>

inline constexpr const char* kIncSection = "INC";
inline constexpr std::array<const char*, 8> kIncKeys = {
    "low_volt_threshold", "low_volt_mode", "startup_mode", "break_mode",
    "timing_mode",        "current_threshold", "other1",   "other2"};
inline constexpr std::array<int, 8> kDefaultSettings = {0, 0, 1, 0, 0, 1, 2, 0};
// A setup file holds the first six; a missing key reads as these values.
inline constexpr int kSetupKeyCount = 6;
inline constexpr std::array<int, 6> kSetupMissingValues = {2, 0, 0, 0, 1, 2};
