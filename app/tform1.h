#pragma once
// The main window: every control, the serial port Comm1, the three timers and
// the state the operations share. Creating it runs the start-up sequence
// (FormCreate); closing it writes the settings file (FormDestroy).

#include "firmware/firmware_update.h"
#include "link/dialogs.h"
#include "link/esc_view.h"
#include "link/link.h"
#include "link/shared_state.h"
#include "link/window_timer.h"
#include "params/param_ops.h"
#include "params/setup_files.h"
#include "serial/tcomm.h"
#include "speedtest/speed_mode.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QComboBox;

namespace Ui {
class TForm1;
}

// What the window takes from its surroundings; empty members take the
// program's own: the folder of the executable, the machine's serial ports and
// real message boxes.
struct AppEnv {
    QString programDir;
    std::function<QStringList()> listPorts;
    Dialogs* dialogs = nullptr;
};

// The window is the operations' view: it shows what they report with its
// controls (EscView).
class TForm1 : public QWidget, private EscView {
    Q_OBJECT
public:
    explicit TForm1(const AppEnv& env, QWidget* parent = nullptr);
    ~TForm1() override;

    // Writes the settings file; runs once, however often it is called.
    void FormDestroy();

    SharedState& state() { return state_; }
    Link& link() { return link_; }
    TComm& comm() { return Comm1; }
    WindowTimer& Timer1() { return Timer1_; }
    WindowTimer& Timer2() { return Timer2_; }
    WindowTimer& Timer3() { return Timer3_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void test_com();
    void configureComm1();
    void connectControls();
    void modeClicked(OperationMode mode);
    std::array<QComboBox*, 8> settingLists() const;  // frame order

    // EscView
    void showStatus(const QString& text) override;
    void showCardLamp(bool lit) override;
    void showEscLamp(bool lit) override;
    void showEscLabels(const QString& type, const QString& hwVersion, const QString& fwVersion) override;
    int settingIndex(int pos) const override;
    void showSettingIndex(int pos, int index) override;
    void showProgressMaximum(int maximum) override;
    void showProgress(int value) override;
    void showBusy(bool on) override;
    void showMode(OperationMode mode) override;
    OperationMode selectedMode() const override;
    void showThrottleText(const QString& text) override;
    void showPoleCountText(const QString& text) override;
    void showRotateSpeed(const QString& text) override;
    void showPortName(const QString& name) override;
    void showPortList(const QStringList& ports) override;

    std::unique_ptr<Ui::TForm1> ui;
    QString programDir_;
    QString settingsPath_;  // chosen once, so that shut-down writes the file start-up read
    std::function<QStringList()> listPorts_;
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs& dialogs_;

    TComm Comm1;
    SharedState state_;
    WindowTimer Timer1_{1000};
    WindowTimer Timer2_{1000, Qt::PreciseTimer};
    WindowTimer Timer3_{5, Qt::PreciseTimer};
    Link link_;
    ParamOps params_;
    SetupFiles setupFiles_;
    FirmwareUpdate firmware_;
    SpeedMode speed_;

    bool closed_ = false;
    bool destroyed_ = false;
};
