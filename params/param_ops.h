#pragma once
// Read, write and restore of the eight ESC settings ("Read ESC parameter",
// "Download parameter to ESC" and "Restore default  parameter"), and the
// write exchange itself. The operations take the values they send and give
// back the values they found; what the user sees of them is the caller's.

#include "link/outcome.h"

#include "params/parameter_set.h"

#include <functional>

class Dialogs;
class Link;

class ParamOps {
public:
    ParamOps(Link& link, Dialogs& dialogs);

    // The ESC's eight settings, as its frame gave them.
    Found<SettingValues> read();
    // The eight values to the ESC; a value of -1 (no selection) refuses the
    // write before anything is sent.
    Outcome write(const SettingValues& values);
    // The defaults; nothing is sent.
    static SettingValues restore_defaults();

    // Sends 0x03 and then the parameter frame of values; Done when the ESC
    // acknowledged with exactly 0x55. A failure has shown its box. Leaves
    // cmd_mode set.
    Outcome send_settings(const SettingValues& values);

    // Called with the settings of every read that succeeded, before its
    // success box: the window's lists show them by then.
    std::function<void(const SettingValues&)> onRead;

private:
    Outcome refuseUnselected(int pos);  // pos: the list without a selection

    Link& link_;
    Dialogs& dialogs_;
};
