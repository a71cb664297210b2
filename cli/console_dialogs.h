#pragma once
// The boxes of the operations, on standard error: "Title: text", a question
// followed by the answer the command line gave. A file dialog is cancelled:
// the commands give the operations their files themselves.

#include "link/dialogs.h"

namespace cli {

class ConsoleDialogs : public Dialogs {
public:
    // answerYes: the answer to every Yes/No question, Yes only when the user
    // said so beforehand (--yes).
    explicit ConsoleDialogs(bool answerYes) : answerYes_(answerYes) {}

    BoxAnswer message(const QString& title, const QString& text, BoxIcon icon, BoxButtons buttons) override;
    QString openFileName(const QString& filter, const QString& defaultSuffix) override;
    QString saveFileName(const QString& filter, const QString& defaultSuffix) override;

private:
    bool answerYes_;
};

// The text of a box as terminal lines: CR LF (and the LF CR of one question)
// become one line end.
QString box_lines(const QString& text);

}  // namespace cli
