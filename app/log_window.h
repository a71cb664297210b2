#pragma once
// A small window with the recent lines of the link trace (Ctrl+L in the main
// window), following new lines as they come, and a Save button that writes
// them to a file for a bug report.

#include <QWidget>

class Dialogs;
class QPlainTextEdit;
class QPushButton;
class RecentLines;

class LogWindow : public QWidget {
    Q_OBJECT
public:
    LogWindow(RecentLines& lines, Dialogs& dialogs, QWidget* parent = nullptr);

    QString shownText() const;
    // Asks for a file name and writes the recent lines there; a file that
    // cannot be written is reported in a box.
    void save();

private:
    RecentLines& lines_;
    Dialogs& dialogs_;
    QPlainTextEdit* text_;
    QPushButton* save_;
};
