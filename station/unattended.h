#pragma once
// The view and the dialogs of a port with nobody at it: every question is
// answered Yes (the station was started to update and write), every box is
// kept as the unit's reason, nothing is shown.

#include "link/dialogs.h"
#include "link/esc_view.h"

#include <functional>

namespace station {

class UnattendedView : public EscView {
public:
    void showStatus(const QString&) override {}
    void showCardLamp(bool) override {}
    void showEscLamp(bool lit) override
    {
        if (lit && onEscIdentified)
            onEscIdentified();
    }
    void showEscLabels(const QString&, const QString&, const QString&) override {}
    void showBusy(bool) override {}
    void showMode(OperationMode mode) override { selected_ = mode; }
    OperationMode selectedMode() const override { return selected_; }
    void showThrottleText(const QString&) override {}
    void showPoleCountText(const QString&) override {}
    void showRotateSpeed(const QString&) override {}
    void showPortName(const QString&) override {}
    void showPortList(const QStringList&) override {}

    // Called when an identification has come, asked or not.
    std::function<void()> onEscIdentified;

private:
    OperationMode selected_ = OperationMode::Parameter;
};

class UnattendedDialogs : public Dialogs {
public:
    BoxAnswer message(const QString&, const QString& text, BoxIcon icon, BoxButtons buttons) override
    {
        if (icon == BoxIcon::Error)
            lastError = text;
        return buttons == BoxButtons::YesNo ? BoxAnswer::Yes : BoxAnswer::Ok;
    }
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&) override { return {}; }

    QString lastError;  // the last error box; the caller clears it
};

}  // namespace station
