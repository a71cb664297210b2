#pragma once
// The items of the eight setting lists in frame order, as the window's lists
// hold them; a setting's value is the index of its item here. The star marks
// the default item.

#include "params/parameter_set.h"

#include <array>
#include <vector>

inline const std::array<std::vector<const char*>, kSettingCount> kSettingItems = {{
    {"Soft cut*", "Cut off"},
    {"Li-xx*", "Ni-xx"},
    {"Low", "Middle*", "High"},
    {"Normal start*", "Soft start", "Very soft start"},
    {"Brake off*", "Low brake", "Middle brake", "High brake"},
    {"Low", "Middle*", "High"},
    {"Highest", "High", "Middle*", "Low", "Off"},
    {"OFF", "ON"},
}};
