#pragma once
// The eight ESC settings in frame order, as the window shows them: the list
// that holds each one and the label above it. Screen rows follow the frame
// order; the control numbers do not (row 2 is ComboBox2 under Label12, row 3
// is ComboBox3 under Label5).

#include <array>

inline constexpr int kSettingCount = 8;

// A setting's value is the item index of its list; -1 is a list without a
// selection.
using SettingValues = std::array<int, kSettingCount>;

struct SettingControls {
    const char* list;
    const char* label;
    const char* caption;
};

inline constexpr std::array<SettingControls, kSettingCount> kSettingControls = {{
    {"ComboBox1", "Label6", "Cut Off Type"},
    {"ComboBox2", "Label12", "Battery Type"},
    {"ComboBox3", "Label5", "Cut Off Voltage"},
    {"ComboBox4", "Label7", "Start Mode"},
    {"ComboBox5", "Label8", "Brake Mode"},
    {"ComboBox6", "Label9", "Timing option"},
    {"ComboBox7", "Label10", "Current limited sesitivity"},
    {"ComboBox8", "Label11", "Govener mode"},
}};
