#pragma once
// Read, write and restore of the eight ESC settings: the buttons "Read ESC
// parameter" (Button3), "Download parameter to ESC" (Button4) and "Restore
// default  parameter" (Button6), and the write exchange send03.

#include "params/parameter_set.h"

#include <functional>

class Dialogs;
class EscView;
class Link;

class ParamOps {
public:
    ParamOps(Link& link, EscView& view, Dialogs& dialogs);

    void Button3Click();  // read the ESC's settings into the lists
    void Button4Click();  // write the lists to the ESC
    void Button6Click();  // put the defaults in the lists; nothing is sent

    // Sends 0x03 and then the parameter frame of the eight lists; true when
    // the ESC acknowledged with exactly 0x55. On failure its box has been shown.
    // Leaves cmd_mode set.
    bool send03();

    // Called with the settings of every read that succeeded, after the lists show them.
    std::function<void(const SettingValues&)> onRead;

private:
    bool refuseUnselected(int pos);  // pos: the list without a selection

    Link& link_;
    EscView& view_;
    Dialogs& dialogs_;
};
