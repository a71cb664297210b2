#pragma once
// Every message box and file dialog of the program goes through this seam, so
// that tests can see each box and answer it.

#include <QString>

enum class BoxIcon { None, Error };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal box; returns the button the user pressed.
    virtual BoxAnswer message(const QString& title, const QString& text, BoxIcon icon,
                              BoxButtons buttons = BoxButtons::Ok) = 0;
    // File dialogs; an empty result means the user cancelled.
    // filter is a Qt name filter such as "Zelt File (*.zelt)", suffix without dot.
    virtual QString openFileName(const QString& filter, const QString& defaultSuffix) = 0;
    virtual QString saveFileName(const QString& filter, const QString& defaultSuffix) = 0;
};
