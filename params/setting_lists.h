#pragma once
// The eight setting lists as the view shows them. Values from the ESC or a
// file are given to the view without range check: one outside a list's items
// leaves that list without a selection, and no message is shown.

#include "params/parameter_set.h"

class EscView;

SettingValues list_values(const EscView& view);
void assign_list_values(EscView& view, const SettingValues& values);
