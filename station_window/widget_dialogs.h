#pragma once
// The station window's boxes and file dialogs (link/dialogs.h), shown with
// Qt's own; tests hand the window dialogs of their own instead.

#include "link/dialogs.h"

class QWidget;

namespace station_window {

class WidgetDialogs : public Dialogs {
public:
    explicit WidgetDialogs(QWidget* parent) : parent_(parent) {}
    BoxAnswer message(const QString& title, const QString& text, BoxIcon icon, BoxButtons buttons) override;
    QString openFileName(const QString& filter, const QString& defaultSuffix) override;
    QString saveFileName(const QString& filter, const QString& defaultSuffix) override;

private:
    QWidget* parent_;
};

}  // namespace station_window
