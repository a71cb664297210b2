#pragma once
// What a station does to every unit: the ports it serves and the job's
// optional steps, checked by the caller before anything is sent.

#include "params/setup_files.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace station {

struct SpinCheck {
    int throttleUs = 0;
    int minRpm = 0;
    int maxRpm = 0;
    int seconds = 3;
    int poles = 0;
};

struct Plan {
    QStringList ports;  // device paths
    QString programDir;  // where the window's program lies, for its firmware images
    // The firmware step: imagePath written, or with firmware and an empty
    // path the image the window would pick for the ESC's model.
    bool firmware = false;
    QString imagePath;
    std::optional<SetupContents> setup;  // the golden settings
    std::optional<SpinCheck> spin;
    int units = 0;  // units in all before the station ends; 0: until stopped
    QString stationName;
    // The record's diff lines between the settings before and those written.
    std::function<QStringList(const SettingValues& before, const SettingValues& written)> describeDiff;
};

}  // namespace station
