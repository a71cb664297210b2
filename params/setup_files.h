#pragma once
// "Load setup" (Button7) and "Save setup" (Button8): six of the eight setting
// lists to and from a setup file the user names. Neither talks to the ESC;
// ComboBox7 and ComboBox8 are not part of a setup file.

class Link;
class QWidget;

class SetupFiles {
public:
    SetupFiles(Link& link, QWidget* form);

    void Button7Click();
    void Button8Click();

private:
    Link& link_;
    QWidget* form_;
};
