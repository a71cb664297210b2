#pragma once
// What writing a set of settings would change on an ESC that holds others:
// one "Caption: held -> written" line per setting that differs, in list order.

#include "params/parameter_set.h"

#include <QStringList>

QStringList setting_diff(const SettingValues& held, const SettingValues& written);
