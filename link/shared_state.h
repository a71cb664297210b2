#pragma once
// The state that the operations of the main window share, in declaration
// order. The window owns one instance; every operation works on it by
// reference. All zero, false or empty at creation.

#include <QString>
#include <cstdint>

struct SharedState {
    QString setup_file_name;
    bool time_out = false;
    QString recv_str;
    bool cmd_mode = false;
    bool auto_search = false;
    bool esc_ok = false;
    int32_t fw_group = 0;
    bool throttle_armed = false;
    int32_t rpm_value = 0;
    int32_t rpm_count = 0;
};
