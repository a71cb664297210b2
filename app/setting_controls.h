#pragma once
// The window's eight setting lists and their captions, in frame order, filled
// from the settings table: the form gives their places, the table their texts.

#include "params/parameter_set.h"

#include <array>

class QComboBox;
namespace Ui {
class TForm1;
}

std::array<QComboBox*, kSettingCount> setting_lists(const Ui::TForm1& ui);

// Gives each list its items and each caption its text; the first item is
// selected, as in a list the form fills.
void fill_setting_controls(const Ui::TForm1& ui);
