#pragma once
// The eight ESC settings' values as the operations pass them, in frame order
// (the table in setting_table/ says what each setting is).

#include "setting_table/setting_table.h"

#include <array>

// A setting's value is the item index of its list, or the ESC's own byte when
// that is none of the list's items; -1 is a list without a selection.
using SettingValues = std::array<int, kSettingCount>;

inline constexpr std::array<const char*, kSettingCount> kSettingCaptions = setting_column(&SettingRow::caption);
