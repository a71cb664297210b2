#pragma once
// "Load setup" (Button7) and "Save setup" (Button8): six of the eight setting
// lists to and from a setup file the user names. Neither talks to the ESC;
// ComboBox7 and ComboBox8 are not part of a setup file.

class Dialogs;
class EscView;
struct SharedState;

class SetupFiles {
public:
    SetupFiles(SharedState& st, EscView& view, Dialogs& dialogs);

    void Button7Click();
    void Button8Click();

private:
    SharedState& st_;
    EscView& view_;
    Dialogs& dialogs_;
};
