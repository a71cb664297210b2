#pragma once
// "Load setup" and "Save setup": six of the eight setting lists to and from a
// setup file the user names. Neither talks to the ESC; the last two settings
// (current sensitivity and governor mode) are not part of a setup file.

#include "link/outcome.h"

class Dialogs;
class EscView;
struct SharedState;

class SetupFiles {
public:
    SetupFiles(SharedState& st, EscView& view, Dialogs& dialogs);

    // Refused when the user cancels the file dialog. A file that cannot be
    // read loads fallback values without a word, so a load is otherwise Done.
    Outcome load();
    Outcome save();

private:
    SharedState& st_;
    EscView& view_;
    Dialogs& dialogs_;
};
