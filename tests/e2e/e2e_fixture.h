#pragma once
// End-to-end tests: the real main window on the offscreen platform, talking
// through the real serial component over a pseudo-terminal to the device
// simulator. Each test gets its own program folder, simulator and window.

#include "app/tform1.h"
#include "sim/simulator.h"
#include "testing/recording_dialogs.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

class E2eTest : public ::testing::Test {
public:
    // Starts a simulator, writes zelt.ini in a fresh program folder (COM=the
    // simulator's port when rememberPort, else a port that does not exist),
    // builds the window with the port list portsBefore + {simulator port}
    // and shows it.
    void startWindow(sim::Options o = fastOptions(), bool rememberPort = true, QStringList portsBefore = {});
    static sim::Options fastOptions();
    // Run on the simulator before the window is built, e.g. to switch a fault
    // on for the start-up chain.
    std::function<void(sim::Simulator&)> beforeWindow;
    // Set: the window follows the ports under these folders as they come and
    // go, and remembers rememberedPort, instead of a fixed list.
    std::optional<PortRoots> followedPorts;
    QString rememberedPort;
    // Set: the trace lines the window's log window shows.
    RecentLines* traceLines = nullptr;

    TForm1& form() { return *form_; }
    sim::Simulator& sim() { return *sim_; }
    RecordingDialogs& boxes() { return dialogs_; }
    // The boxes shown so far as "title|text", for compact comparisons.
    QStringList shownBoxes() const;
    QString programDir() const { return dir_.path(); }
    QString simPort() const;

    template <class T>
    T* control(const char* name)
    {
        T* c = form_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << "no control " << name;
        return c;
    }

    // Handles events until cond holds or timeoutMs has passed; blocks between
    // events instead of spinning.
    bool waitUntil(const std::function<bool()>& cond, int timeoutMs);
    void settle(int ms);
    // esc_ok set and the ESC lamp lit.
    bool waitConnected(int timeoutMs = 5000);

    // A port name that no device answers to.
    static QString missingPort();

    // The eight setting lists in frame order, by their control names.
    static constexpr const char* kLists[8] = {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4",
                                              "ComboBox5", "ComboBox6", "ComboBox7", "ComboBox8"};
    QComboBox* list(int pos) { return control<QComboBox>(kLists[pos]); }
    // The item index each list shows, and the lists set to given ones.
    SettingValues values();
    void setValues(const SettingValues& v);
    void click(const char* button) { control<QPushButton>(button)->click(); }
    // The three ESC labels and the status line as shown, and whether a lamp is lit.
    QStringList labels();
    QString status();
    QLabel* statusLabel();
    bool lit(const char* lamp);

protected:
    void TearDown() override;

private:
    QTemporaryDir dir_;
    RecordingDialogs dialogs_;
    std::unique_ptr<sim::Simulator> sim_;
    std::unique_ptr<TForm1> form_;
};
