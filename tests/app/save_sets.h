#pragma once
// The two sets of values the save loop writes in turn.

#include "settings/settings_file.h"
#include "params/setup_file_format.h"

struct SaveSet {
    StoredSettings settings;
    SetupValues setup;
};

inline const SaveSet kSaveSets[2] = {
    {{QStringLiteral("/dev/ttyUSB0"), {0, 0, 1, 0, 0, 1, 2, 0}}, {0, 0, 1, 0, 0, 1}},
    {{QStringLiteral("/dev/ttyACM12"), {1, 1, 2, 3, 3, 2, -1, 1}}, {1, -1, 2, 3, 3, 2}},
};
