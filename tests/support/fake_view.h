#pragma once
// An EscView that keeps what it is shown in plain fields, for tests and
// benchmarks that run the link and the operations without a window. Its
// starting values are those of the main window.

#include "link/esc_view.h"

#include <QStringList>
#include <functional>

class FakeView : public EscView {
public:
    QString status;
    QStringList statusTrail;  // every text shown, in order
    bool cardLamp = false;
    bool escLamp = false;
    QStringList labels{"HW Type: Unknown", "HW version: Unknown", "FW version: Unknown"};
    // Where a test's firmware progress goes (progressTo()).
    int progressMaximum = 100;
    int progress = 0;
    int busy = 0;  // nesting depth of the busy cursor
    OperationMode mode = OperationMode::Parameter;
    OperationMode selected = OperationMode::Parameter;  // the user's choice
    QString throttleText = QStringLiteral("900us");
    QString poleCountText = QStringLiteral("2");
    QString rotateSpeed = QStringLiteral("0");
    QString portName;
    QStringList ports;

    void showStatus(const QString& text) override
    {
        status = text;
        statusTrail << text;
    }
    void showCardLamp(bool lit) override { cardLamp = lit; }
    void showEscLamp(bool lit) override { escLamp = lit; }
    void showEscLabels(const QString& type, const QString& hwVersion, const QString& fwVersion) override
    {
        labels = {type, hwVersion, fwVersion};
    }
    // A firmware update's progress callback that keeps it in progress and progressMaximum.
    std::function<void(int, int)> progressTo()
    {
        return [this](int value, int maximum) {
            progress = value;
            progressMaximum = maximum;
        };
    }
    void showBusy(bool on) override { busy += on ? 1 : -1; }
    void showMode(OperationMode m) override { mode = selected = m; }
    OperationMode selectedMode() const override { return selected; }
    void showThrottleText(const QString& text) override { throttleText = text; }
    void showPoleCountText(const QString& text) override { poleCountText = text; }
    void showRotateSpeed(const QString& text) override { rotateSpeed = text; }
    void showPortName(const QString& name) override { portName = name; }
    void showPortList(const QStringList& list) override { ports = list; }
};
