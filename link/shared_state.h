#pragma once
// The state that the operations of the main window share, in declaration
// order. The window owns one instance; every operation works on it by
// reference. All zero, false or empty at creation.

#include <QString>
#include <cstdint>

// Parameter mode (the parameter, file and firmware commands) or Speed mode
// (the rotate-speed test).
enum class OperationMode { Parameter, Speed };

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
    // The mode whose switch has run last; the poll goes by it.
    OperationMode mode = OperationMode::Parameter;
};
