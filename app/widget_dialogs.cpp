#include "app/widget_dialogs.h"

#include "app/scoped_cursor.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {

QString caption_of(const QAbstractButton* button)
{
    // "&Yes" shows as Yes; "&&" is a literal ampersand.
    QString text = button->text();
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text;
}

QString file_dialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& filter,
                    const QString& defaultSuffix)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    // The open dialog takes a name that does not exist yet, and the save
    // dialog replaces a file without asking, as the program always did.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (mode == QFileDialog::AcceptSave)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    // A command shows the busy cursor while it runs; what it asks waits
    // for the user, so the ordinary arrow shows over it.
    const ScopedCursor arrow(Qt::ArrowCursor);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString box_clipboard_text(const QString& title, const QString& text, const QStringList& captions)
{
    const QString rule = QString(27, u'-') + u'\n';
    return rule + title + u'\n' + rule + text + u'\n' + rule + captions.join(QLatin1String("   ")) + u'\n' +
           rule;
}

CopyableMessageBox::CopyableMessageBox(QWidget* parent, const QString& title, const QString& text,
                                       BoxIcon icon, BoxButtons buttons)
    : QMessageBox(parent), buttons_(buttons)
{
    setWindowTitle(title);
    setTextFormat(Qt::PlainText);
    setText(text);
    setIcon(icon == BoxIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon);
    if (buttons == BoxButtons::YesNo) {
        setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        setDefaultButton(QMessageBox::Yes);
        setEscapeButton(QMessageBox::No);
    } else {
        setStandardButtons(QMessageBox::Ok);
    }
}

QString CopyableMessageBox::clipboardText() const
{
    QStringList captions;
    if (buttons_ == BoxButtons::YesNo)
        captions << caption_of(button(QMessageBox::Yes)) << caption_of(button(QMessageBox::No));
    else
        captions << caption_of(button(QMessageBox::Ok));
    return box_clipboard_text(windowTitle(), text(), captions);
}

BoxAnswer CopyableMessageBox::answer() const
{
    if (buttons_ == BoxButtons::Ok)
        return BoxAnswer::Ok;
    return clickedButton() == button(QMessageBox::Yes) ? BoxAnswer::Yes : BoxAnswer::No;
}

void CopyableMessageBox::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(clipboardText());
        event->accept();
        return;
    }
    QMessageBox::keyPressEvent(event);
}

QString shown_box_title(const QString& title)
{
    return QCoreApplication::translate("box_title", title.toUtf8().constData());
}

QString shown_box_text(const QString& text)
{
    const QByteArray source = text.toUtf8();
    const QString shown = QCoreApplication::translate("box_text", source.constData());
    return shown != text ? shown : QCoreApplication::translate("status", source.constData());
}

BoxAnswer WidgetDialogs::message(const QString& title, const QString& text, BoxIcon icon, BoxButtons buttons)
{
    CopyableMessageBox box(parent_, shown_box_title(title), shown_box_text(text), icon, buttons);
    // As over the file dialogs: the arrow, not the command's busy cursor.
    const ScopedCursor arrow(Qt::ArrowCursor);
    box.exec();
    return box.answer();
}

QString WidgetDialogs::openFileName(const QString& filter, const QString& defaultSuffix)
{
    return file_dialog(parent_, QFileDialog::AcceptOpen, filter, defaultSuffix);
}

QString WidgetDialogs::saveFileName(const QString& filter, const QString& defaultSuffix)
{
    return file_dialog(parent_, QFileDialog::AcceptSave, filter, defaultSuffix);
}
