#pragma once
// The boxes and file dialogs the user sees: modal message boxes with the given
// title, text, buttons and icon, and the platform's file dialogs.

#include "link/dialogs.h"

#include <QMessageBox>
#include <QStringList>

// What Ctrl+C in a box puts on the clipboard: the title, the text and the
// button captions, each under a line of dashes.
QString box_clipboard_text(const QString& title, const QString& text, const QStringList& captions);

// A box's title and text as the box shows them: in the user's language where
// the operations marked them for translation (a text may also be a status
// text); composed texts as they come.
QString shown_box_title(const QString& title);
QString shown_box_text(const QString& text);

// A message box that answers Ctrl+C by copying itself, as boxes do on the
// desktop the tool first ran on.
class CopyableMessageBox : public QMessageBox {
    Q_OBJECT
public:
    CopyableMessageBox(QWidget* parent, const QString& title, const QString& text, BoxIcon icon,
                       BoxButtons buttons);
    QString clipboardText() const;
    BoxAnswer answer() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    BoxButtons buttons_;
};

class WidgetDialogs : public Dialogs {
public:
    explicit WidgetDialogs(QWidget* parent) : parent_(parent) {}

    BoxAnswer message(const QString& title, const QString& text, BoxIcon icon,
                      BoxButtons buttons = BoxButtons::Ok) override;
    QString openFileName(const QString& filter, const QString& defaultSuffix) override;
    QString saveFileName(const QString& filter, const QString& defaultSuffix) override;

private:
    QWidget* parent_;
};
