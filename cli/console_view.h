#pragma once
// What the operations show, kept as data for the commands to print, with the
// firmware update's status and progress on standard error.

#include "link/esc_view.h"

#include <QStringList>

namespace cli {

class ConsoleView : public EscView {
public:
    // While set, status texts and the progress in steps of 10 % go to stderr.
    bool reportProgress = false;

    QString status;
    bool cardLamp = false;
    bool escLamp = false;
    QString rotateSpeed = QStringLiteral("0");

    void showStatus(const QString& text) override;
    void showCardLamp(bool lit) override { cardLamp = lit; }
    void showEscLamp(bool lit) override { escLamp = lit; }
    void showEscLabels(const QString&, const QString&, const QString&) override {}  // Link keeps them
    // The firmware update's progress, in steps of 10 % while reportProgress is set.
    void showProgress(int value, int maximum);
    void showBusy(bool) override {}
    // A command selects a mode only by switching to it.
    void showMode(OperationMode mode) override { selected_ = mode; }
    OperationMode selectedMode() const override { return selected_; }
    void showThrottleText(const QString&) override {}
    void showPoleCountText(const QString&) override {}
    void showRotateSpeed(const QString& text) override { rotateSpeed = text; }
    void showPortName(const QString&) override {}
    void showPortList(const QStringList&) override {}

private:
    OperationMode selected_ = OperationMode::Parameter;
    int progressMaximum_ = 100;
    int progressStep_ = -1;  // the last tenth reported
};

}  // namespace cli
