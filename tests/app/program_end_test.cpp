// However the window's program is ended, a motor it drives stops first and
// its settings are kept: the real program on a display of its own (Xvfb),
// put into Speed mode by a click at the Speed button's place, against the
// simulator, and then ended as desktops, terminals and scripts end it.

#include "file_helpers.h"
#include "testing/own_display.h"
#include "testing/started_sim.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <functional>
#include <memory>

namespace {

constexpr int kAnyOfThem = -1;  // 128 + any one of the signals sent

// One run of the program: its folder, its display, its card.
class ProgramEndTest : public ::testing::Test {
protected:
    enum class Before { SpeedMode, QuietSearch, FirmwareUpdate };

    // A fresh program folder, display and card for each row.
    void fresh(Before before)
    {
        program_process_.reset();
        sim_.reset();
        display_ = std::make_unique<OwnDisplay>();
        dir_ = std::make_unique<QTemporaryDir>();
        ASSERT_FALSE(display_->name().isEmpty()) << "Xvfb did not start";
        sim_ = started_sim();
        ASSERT_NE(sim_, nullptr);
        sim_->change_faults([&](sim::Faults& f) { f.silent_card = before == Before::QuietSearch; });
        program_ = dir_->filePath(QStringLiteral("zelt-esc"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZELT_PROGRAM), program_));
        if (before == Before::FirmwareUpdate) {
            // Found beside the program; each reply a little late, so that
            // the signals come during the blocks.
            ASSERT_TRUE(sim::Simulator::write_sample_images(dir_->path().toStdString(), "1.3"));
            sim_->change_faults([&](sim::Faults& f) { f.reply_delay_ms = 5; });
        }
        // The card's port is the only one listed, and the one remembered: the
        // start-up finds the ESC at once, and a search probes it again.
        ASSERT_TRUE(QDir(dir_->path()).mkdir(QStringLiteral("serialcomm")));
        ASSERT_TRUE(QFile::link(QString::fromStdString(sim_->port_path()),
                                dir_->filePath(QStringLiteral("serialcomm/card"))));
        write_bytes(iniPath(), "[COMSET]\nCOM=" + QByteArray::fromStdString(sim_->port_path()) + "\n");
        program_process_ = std::make_unique<QProcess>();
    }

    QString iniPath() const { return dir_->filePath(QStringLiteral("zelt.ini")); }

    // Starts the program and waits until its window shows and it has probed the card.
    bool start()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_->name());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_->path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_->path());
        // Under AddressSanitizer: the X11 platform's D-Bus library leaks at
        // exit, which LeakSanitizer would turn into exit status 1.
        env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) + ":detect_leaks=0");
        program_process_->setProcessEnvironment(env);
        program_process_->start(program_, {});
        if (!program_process_->waitForStarted(5000))
            return false;
        window_ = xdotool({"search", "--sync", "--onlyvisible", "--pid",
                           QString::number(program_process_->processId())})
                      .section('\n', 0, 0);
        return !window_.isEmpty() && wait([this] { return !sim_->received().empty(); }, 5000);
    }

    QString xdotool(const QStringList& args) const { return display_->xdotool(args); }

    // Clicks at a place in the window, in the form's coordinates.
    void click(int x, int y)
    {
        xdotool({"mousemove", "--window", window_, QString::number(x), QString::number(y), "click", "1"});
    }

    // Brings the program to the state the row ends it in.
    bool reach(Before before)
    {
        switch (before) {
            case Before::SpeedMode:
                if (!wait([this] { return sim_->received().size() >= 2; }, 5000))  // the ESC identified
                    return false;
                click(232 + 88 + 10, 72 + 16 + 8);  // "Speed"
                if (!wait([this] { return sim_->in_speed_mode(); }, 5000))
                    return false;
                QThread::msleep(200);  // some throttle ticks
                return true;
            case Before::QuietSearch:
                // The watchdog's search probes the silent card again.
                return wait([this] { return sim_->received().size() >= 2; }, 5000);
            case Before::FirmwareUpdate: {
                const int before = sim_->request_count();
                click(240 + 68, 230 + 12);  // "Update firmware"
                // "Are you really update hardware to V1.3": Yes is the default button.
                for (int tries = 0; tries < 50 && sim_->request_count() < before + 3; ++tries) {
                    xdotool({"key", "Return"});
                    wait([&] { return sim_->request_count() >= before + 3; }, 100);
                }
                return wait([&] { return sim_->request_count() >= before + 10; }, 5000);
            }
        }
        return false;
    }

    static bool wait(const std::function<bool()>& done, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > timeoutMs)
                return false;
            QThread::msleep(5);
        }
        return true;
    }

    // Waits for the program's end; -1 when it did not end in time (it is killed).
    int finished(int timeoutMs)
    {
        if (!program_process_->waitForFinished(timeoutMs)) {
            program_process_->kill();
            program_process_->waitForFinished(5000);
            return -1;
        }
        return program_process_->exitStatus() == QProcess::NormalExit ? program_process_->exitCode() : -2;
    }

    std::string err() const { return program_process_->readAllStandardError().toStdString(); }

    void sendSignals(const std::vector<int>& sent, int gapUs)
    {
        for (size_t i = 0; i < sent.size(); ++i) {
            if (i > 0)
                ::usleep(static_cast<useconds_t>(gapUs));
            ::kill(static_cast<pid_t>(program_process_->processId()), sent[i]);
        }
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<OwnDisplay> display_;
    std::unique_ptr<sim::Simulator> sim_;
    QString program_;
    std::unique_ptr<QProcess> program_process_;
    QString window_;
};

TEST_F(ProgramEndTest, EveryEndStopsTheMotorFinishesAnUpdateAndKeepsTheSettings)
{
    struct Row {
        const char* name;
        Before before;
        std::vector<int> sent;  // none: the display goes
        int gapUs;
        int status;
        int withinMs;  // from the end's start
    };
    const Row rows[] = {
        {"SIGINT", Before::SpeedMode, {SIGINT}, 0, 130, 3000},
        {"SIGTERM", Before::SpeedMode, {SIGTERM}, 0, 143, 3000},
        {"SIGHUP", Before::SpeedMode, {SIGHUP}, 0, 129, 3000},
        {"SIGQUIT", Before::SpeedMode, {SIGQUIT}, 0, 131, 3000},
        {"SIGTERM twice, 0.2 ms apart", Before::SpeedMode, {SIGTERM, SIGTERM}, 200, 143, 3000},
        // Signals close together reach whichever thread is free, in any order.
        {"SIGTERM, then SIGINT 1 ms later", Before::SpeedMode, {SIGTERM, SIGINT}, 1000, kAnyOfThem, 3000},
        {"the display's server killed", Before::SpeedMode, {}, 0, 1, 3000},
        {"SIGTERM twice during the quiet search", Before::QuietSearch, {SIGTERM, SIGTERM}, 200, 143, 3000},
        {"SIGTERM twice during a firmware update", Before::FirmwareUpdate, {SIGTERM, SIGTERM}, 200, 143, 20000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fresh(row.before);
        ASSERT_TRUE(start()) << err();
        ASSERT_TRUE(reach(row.before)) << err();
        QElapsedTimer sinceEnd;
        sinceEnd.start();
        if (row.sent.empty())
            display_->end();
        else
            sendSignals(row.sent, row.gapUs);
        const int status = finished(row.withinMs);
        const std::string stderrText = err();
        if (row.status == kAnyOfThem)
            EXPECT_TRUE(status == 128 + row.sent.front() || status == 128 + row.sent.back())
                << status << ", " << sinceEnd.elapsed() << " ms\n" << stderrText;
        else
            EXPECT_EQ(status, row.status) << sinceEnd.elapsed() << " ms\n" << stderrText;
        // The settings' lists are written only at the end.
        EXPECT_TRUE(read_bytes(iniPath()).contains("\ntiming_mode=")) << read_bytes(iniPath()).toStdString();
        const std::vector<uint8_t> wire = sim_->received();
        ASSERT_FALSE(wire.empty());
        EXPECT_FALSE(sim_->in_speed_mode());
        if (row.before == Before::SpeedMode)
            EXPECT_EQ(wire.back(), 0xFF);
        if (row.before == Before::FirmwareUpdate) {
            EXPECT_EQ(sim_->fw_version(), 0x13) << "every block";
            EXPECT_NE(stderrText.find("zelt-esc: the firmware update goes on to its end"), std::string::npos)
                << stderrText;
        }
    }
}

}  // namespace
