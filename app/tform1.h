#pragma once
// The main window: every control, the serial port Comm1, the three timers and
// the state the operations share. Creating it runs the start-up sequence
// (FormCreate); closing it writes the settings file (FormDestroy).

#include "firmware/firmware_update.h"
#include "link/dialogs.h"
#include "link/link.h"
#include "link/shared_state.h"
#include "link/window_timer.h"
#include "params/param_ops.h"
#include "params/setup_files.h"
#include "serial/tcomm.h"
#include "speedtest/speed_test.h"

#include <QStringList>
#include <QTimer>
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

class TForm1 : public QWidget {
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
    void command(const std::function<void()>& handler);
    void Timer3Timer();
    void modeClicked();
    void runModeSwitch();
    LinkUi linkUi() const;
    std::array<QComboBox*, 8> settingLists() const;  // frame order

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
    SpeedTest speed_;

    // A mode switch clicked during an exchange runs once the exchange is over.
    QTimer modeSwitchRetry_;
    bool speedModeShown_ = false;
    bool closed_ = false;
    bool destroyed_ = false;
};
