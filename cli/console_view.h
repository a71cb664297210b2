#pragma once
// What the operations show, kept as data for the commands to print, with the
// firmware update's status and progress on standard error. The setting
// selections start at the defaults; a command reads them from the ESC (or
// sets them) before it uses them.

#include "link/esc_view.h"
#include "params/parameter_set.h"

#include <QStringList>

namespace cli {

class ConsoleView : public EscView {
public:
    // While set, status texts and the progress in steps of 10 % go to stderr.
    bool reportProgress = false;
    // The mode the command asks for; the core switches modes by it.
    OperationMode selected = OperationMode::Parameter;

    QString status;
    bool cardLamp = false;
    bool escLamp = false;
    SettingValues settings = kDefaultSettings;
    QString rotateSpeed = QStringLiteral("0");

    void showStatus(const QString& text) override;
    void showCardLamp(bool lit) override { cardLamp = lit; }
    void showEscLamp(bool lit) override { escLamp = lit; }
    void showEscLabels(const QString&, const QString&, const QString&) override {}  // Link keeps them
    int settingIndex(int pos) const override { return settings[pos]; }
    void showSettingIndex(int pos, int index) override;
    void showProgressMaximum(int maximum) override;
    void showProgress(int value) override;
    void showBusy(bool) override {}
    void showMode(OperationMode mode) override { selected = mode; }
    OperationMode selectedMode() const override { return selected; }
    void showThrottleText(const QString&) override {}
    void showPoleCountText(const QString&) override {}
    void showRotateSpeed(const QString& text) override { rotateSpeed = text; }
    void showPortName(const QString&) override {}
    void showPortList(const QStringList&) override {}

private:
    int progressMaximum_ = 100;
    int progressStep_ = -1;  // the last tenth reported
};

}  // namespace cli
