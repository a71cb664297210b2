#pragma once
// A Dialogs that shows nothing: it records every box and answers from a list,
// so tests can check each box's title, text, icon and buttons.

#include "link/dialogs.h"

#include <deque>
#include <vector>

struct RecordedBox {
    QString title, text;
    BoxIcon icon;
    BoxButtons buttons;
};

class RecordingDialogs : public Dialogs {
public:
    std::vector<RecordedBox> boxes;
    std::deque<BoxAnswer> answers;  // for Yes/No boxes, in order; Yes when empty
    QString openFile, saveFile;     // returned by the file dialogs; empty = cancel

    BoxAnswer message(const QString& title, const QString& text, BoxIcon icon, BoxButtons buttons) override
    {
        boxes.push_back({title, text, icon, buttons});
        if (buttons == BoxButtons::Ok)
            return BoxAnswer::Ok;
        if (answers.empty())
            return BoxAnswer::Yes;
        const BoxAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    QString openFileName(const QString&, const QString&) override { return openFile; }
    QString saveFileName(const QString&, const QString&) override { return saveFile; }
};
