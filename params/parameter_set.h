#pragma once
// The eight ESC settings in frame order, with the caption each one has on
// the screen and in the boxes.

#include <array>

inline constexpr int kSettingCount = 8;

// A setting's value is the item index of its list; -1 is a list without a
// selection.
using SettingValues = std::array<int, kSettingCount>;

inline constexpr std::array<const char*, kSettingCount> kSettingCaptions = {
    "Cut Off Type",    "Battery Type",  "Cut Off Voltage",           "Start Mode",
    "Brake Mode",      "Timing option", "Current limited sesitivity", "Govener mode",
};
