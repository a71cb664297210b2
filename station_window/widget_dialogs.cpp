#include "station_window/widget_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace station_window {

BoxAnswer WidgetDialogs::message(const QString& title, const QString& text, BoxIcon icon, BoxButtons buttons)
{
    QMessageBox box(icon == BoxIcon::Error ? QMessageBox::Critical : QMessageBox::Information, title, text,
                    buttons == BoxButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    parent_);
    const int answer = box.exec();
    if (buttons == BoxButtons::Ok)
        return BoxAnswer::Ok;
    return answer == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
}

QString WidgetDialogs::openFileName(const QString& filter, const QString&)
{
    return QFileDialog::getOpenFileName(parent_, QString(), QString(), filter);
}

QString WidgetDialogs::saveFileName(const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(parent_, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

}  // namespace station_window
