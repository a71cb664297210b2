#pragma once
// Read, write and restore of the eight ESC settings ("Read ESC parameter",
// "Download parameter to ESC" and "Restore default  parameter"), and the
// write exchange itself.

#include "link/outcome.h"

#include "params/parameter_set.h"

#include <functional>

class Dialogs;
class EscView;
class Link;

class ParamOps {
public:
    ParamOps(Link& link, EscView& view, Dialogs& dialogs);

    Outcome read();              // the ESC's settings into the lists
    Outcome write();             // the lists to the ESC
    Outcome restore_defaults();  // the defaults into the lists; nothing is sent

    // Sends 0x03 and then the parameter frame of the eight lists; Done when
    // the ESC acknowledged with exactly 0x55. A failure has shown its box.
    // Leaves cmd_mode set.
    Outcome send_settings();

    // Called with the settings of every read that succeeded, after the lists show them.
    std::function<void(const SettingValues&)> onRead;

private:
    Outcome refuseUnselected(int pos);  // pos: the list without a selection

    Link& link_;
    EscView& view_;
    Dialogs& dialogs_;
};
