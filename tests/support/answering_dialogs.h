#pragma once
// Boxes answered as a user who agrees to everything would: Yes to a question,
// Ok to anything else; file dialogs are cancelled. The last box's text is
// kept, so that a caller can tell how a run ended.

#include "link/dialogs.h"

#include <QString>

class AnsweringDialogs : public Dialogs {
public:
    QString lastText;

    BoxAnswer message(const QString&, const QString& text, BoxIcon, BoxButtons buttons) override
    {
        lastText = text;
        return buttons == BoxButtons::YesNo ? BoxAnswer::Yes : BoxAnswer::Ok;
    }
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&) override { return {}; }
};
