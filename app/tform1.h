#pragma once
// The main window: every control, over the one session with the card
// (EscSession) that holds the serial port Comm1, the three timers and the
// state the operations share. Creating it runs the start-up sequence
// (FormCreate); closing it writes the settings file (FormDestroy).

#include "backups/last_read.h"
#include "core/esc_session.h"
#include "link/dialogs.h"
#include "link/esc_view.h"
#include "serial/port_list.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class LogWindow;
class SpeedPlotWindow;
class PortWatcher;
class QComboBox;
class RecentLines;

namespace Ui {
class TForm1;
}

// What the window takes from its surroundings; empty members take the
// program's own: the folder of the executable, the machine's serial ports
// (followed as they come and go) and real message boxes.
struct AppEnv {
    QString programDir;
    // A fixed port list, read once; the ports are then not followed.
    std::function<QStringList()> listPorts;
    // Where the followed ports are looked for (tests); unset: the machine's.
    std::optional<PortRoots> portRoots;
    Dialogs* dialogs = nullptr;
    // The recent link trace lines that Ctrl+L shows; null: no log window.
    RecentLines* traceLines = nullptr;
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

    EscSession& session() { return session_; }
    const SharedState& state() const { return session_.state(); }
    Link& link() { return session_.link(); }
    TComm& comm() { return session_.comm(); }
    WindowTimer& Timer1() { return session_.watchdog(); }
    WindowTimer& Timer2() { return session_.replyTimer(); }
    WindowTimer& Timer3() { return session_.pollTimer(); }
    PortLoss& portLoss() { return *session_.portLoss(); }
    // Ctrl+L: the log window with the recent trace lines (null without them).
    LogWindow* showLogWindow();
    // Ctrl+G, or the rotate-speed group's context menu: the speed plot.
    SpeedPlotWindow* showSpeedPlot();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void test_com();
    void connectControls();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void TrackBar1Change(int position);
    void UpDown1Click(int poles);
    void modeClicked(OperationMode mode);
    void describeStates();
    void addShortcuts();
    void backUpBeforeOverwrite();  // the last read of this ESC, before a download, restore or update
    // Runs an operation that overwrites what the ESC holds, after that backup.
    void runOverwriting(const std::function<Outcome()>& operation);
    std::array<QComboBox*, kSettingCount> settingLists() const;  // frame order
    // The eight lists' item indexes, -1 for a list without a selection.
    SettingValues listValues() const;
    void showSettingIndex(int pos, int index);
    void showListValues(const SettingValues& values);

    // EscView
    void showStatus(const QString& text) override;
    void showCardLamp(bool lit) override;
    void showEscLamp(bool lit) override;
    void showEscLabels(const QString& type, const QString& hwVersion, const QString& fwVersion) override;
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
    std::unique_ptr<PortWatcher> watcher_;  // null with a fixed port list
    RecentLines* traceLines_;
    LogWindow* logWindow_ = nullptr;
    SpeedPlotWindow* speedPlot_ = nullptr;  // made when first asked for

    EscSession session_;
    backups::LastRead lastRead_;

    bool closed_ = false;
    bool destroyed_ = false;
};
