#pragma once
// The station's own settings file, $XDG_CONFIG_HOME/zelt/station.ini: the
// main window's zelt.ini is never touched by the station.

#include <QString>

namespace station_window {

QString station_settings_path();

}  // namespace station_window
