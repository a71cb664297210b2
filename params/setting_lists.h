#pragma once
// The eight setting lists of the main window, found by object name. Values
// from the ESC or a file are assigned without range check: one outside a
// list's items leaves that list without a selection, and no message is shown.

#include "params/parameter_set.h"

class QComboBox;
class QWidget;

QComboBox* setting_list(QWidget* form, int pos);  // pos in frame order, 0-based
int list_value(QWidget* form, int pos);           // -1 without a selection
void assign_list_value(QWidget* form, int pos, int value);

SettingValues list_values(QWidget* form);
void assign_list_values(QWidget* form, const SettingValues& values);
