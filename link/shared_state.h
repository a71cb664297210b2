#pragma once
// The state that several operations of a session share, in declaration
// order; what one operation alone uses it keeps itself. The session owns one
// instance; the operations work on it by reference. All zero, false or empty
// at creation.

#include <QString>
#include <cstdint>

// Parameter mode (the parameter, file and firmware commands) or Speed mode
// (the rotate-speed test).
enum class OperationMode { Parameter, Speed };

struct SharedState {
    bool time_out = false;
    QString recv_str;
    bool cmd_mode = false;
    bool auto_search = false;
    bool esc_ok = false;
    int32_t fw_group = 0;
    // The mode whose switch has run last; the poll goes by it.
    OperationMode mode = OperationMode::Parameter;
};
