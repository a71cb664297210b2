#pragma once
// Passes every box and file dialog on to the dialogs it wraps and counts the
// boxes shown, so that the link can tell whether a command has already told
// the user that something failed.

#include "link/dialogs.h"

class CountingDialogs : public Dialogs {
public:
    explicit CountingDialogs(Dialogs& shown) : shown_(shown) {}

    int boxes() const { return boxes_; }

    BoxAnswer message(const QString& title, const QString& text, BoxIcon icon,
                      BoxButtons buttons = BoxButtons::Ok) override
    {
        ++boxes_;
        return shown_.message(title, text, icon, buttons);
    }
    QString openFileName(const QString& filter, const QString& defaultSuffix) override
    {
        return shown_.openFileName(filter, defaultSuffix);
    }
    QString saveFileName(const QString& filter, const QString& defaultSuffix) override
    {
        return shown_.saveFileName(filter, defaultSuffix);
    }

private:
    Dialogs& shown_;
    int boxes_ = 0;
};
