// Start-up, the searches and the watchdog, end to end.

#include "app/lamp.h"
#include "app/log_window.h"
#include "params/ini_file.h"
#include "link_e2e_support.h"
#include "serial/link_trace.h"
#include "serial/trace_capture.h"
#include "testing/held_pty.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>

namespace {

class SearchE2e : public E2eTest {
protected:
    QString portBox() { return control<QComboBox>("cmbbxcomnum")->currentText(); }
    void clickSearch() { control<QPushButton>("Button5")->click(); }
};

TEST_F(SearchE2e, StartupWithRememberedPortIdentifiesTheEsc)
{
    startWindow();
    ASSERT_TRUE(waitConnected());
    EXPECT_TRUE(lit("shcom"));
    EXPECT_TRUE(lit("Shdt"));
    EXPECT_EQ(labels(), (QStringList{"HW type:ESC_T03", "HW version:V1.0", "FW version:V1.2"}));
    EXPECT_EQ(form().state().fw_group, 1);
    EXPECT_FALSE(form().state().auto_search);
    EXPECT_FALSE(form().Timer1().isActive());
    EXPECT_EQ(wire(sim().received()), QByteArray("\x35\x50"));
    settle(1300);  // the watchdog stays quiet
    EXPECT_TRUE(boxes().boxes.empty());
    EXPECT_TRUE(form().state().esc_ok);
}

// The trace is kept from the program's start, as main() keeps it: the log
// window opened after the start-up shows the exchange that found the ESC.
class TraceHistoryE2e : public SearchE2e {
protected:
    void SetUp() override
    {
        enable_link_trace(false);
        capture_ = std::make_unique<LinkTraceCapture>();
        capture_->keepFromStart();
        traceLines = &capture_->recent();
    }
    void TearDown() override
    {
        SearchE2e::TearDown();  // the window goes before the lines it shows
        capture_.reset();
        enable_link_trace(false);
    }
    std::unique_ptr<LinkTraceCapture> capture_;
};

TEST_F(TraceHistoryE2e, TheLogWindowShowsTheStartupExchangeWhenFirstOpened)
{
    startWindow();
    ASSERT_TRUE(waitConnected());
    LogWindow* log = form().showLogWindow();
    ASSERT_NE(log, nullptr);
    QStringList shown;
    for (const QString& line : log->shownText().split(QLatin1Char('\n')))
        shown << line.mid(13);  // after "hh:mm:ss.zzz "
    EXPECT_EQ(shown, (QStringList{"open " + simPort(),
                                  "low latency asked: not offered here (Inappropriate ioctl for device)", "TX 35",
                                  "RX 25 01", "TX 50", "RX 50 03 10 12"}));
}

TEST_F(SearchE2e, MissingRememberedPortQuietSearchFindsTheCardOnTheSecondPort)
{
    QElapsedTimer t;
    t.start();
    startWindow(fastOptions(), /*rememberPort=*/false, {missingPort()});
    ASSERT_TRUE(waitConnected(8000));
    // Timer1's second, then the missing first port's full probe wait.
    EXPECT_GE(t.elapsed(), 1800);
    EXPECT_TRUE(boxes().boxes.empty());
    EXPECT_EQ(portBox(), simPort());
    EXPECT_EQ(form().comm().CommName(), simPort());
    EXPECT_TRUE(form().comm().IsOpen());
    EXPECT_TRUE(lit("shcom"));
    EXPECT_FALSE(form().state().auto_search);
    EXPECT_FALSE(form().state().cmd_mode);
    EXPECT_EQ(status(), QStringLiteral("Wait user command"));
    EXPECT_EQ(labels()[0], QStringLiteral("HW type:ESC_T03"));

    form().FormDestroy();
    IniFile ini(programDir() + QStringLiteral("/zelt.ini"));
    EXPECT_EQ(ini.readString(QStringLiteral("COMSET"), QStringLiteral("COM"), QString()), simPort());
    EXPECT_TRUE(boxes().boxes.empty());
}

// A port another program has open is passed over as one that cannot be
// opened: nothing is sent to it and its line settings stay its holder's.
TEST_F(SearchE2e, QuietSearchPassesOverAPortAnotherProgramHolds)
{
    HeldPty held;
    ASSERT_TRUE(held.ok());
    const termios before = held.settings();
    startWindow(fastOptions(), /*rememberPort=*/false, {held.path()});
    ASSERT_TRUE(waitConnected(8000));
    EXPECT_EQ(form().comm().CommName(), simPort());
    EXPECT_TRUE(boxes().boxes.empty());
    EXPECT_TRUE(same_settings(held.settings(), before));
    EXPECT_EQ(held.sent(), QByteArray());
}

TEST_F(SearchE2e, UserSearchReportsCardPortAndModel)
{
    startWindow(fastOptions(), true, {missingPort()});
    ASSERT_TRUE(waitConnected());
    sim().clear_received();
    clickSearch();
    ASSERT_EQ(boxes().boxes.size(), 1u);
    const RecordedBox& box = boxes().boxes[0];
    EXPECT_EQ(box.title, QStringLiteral("Find hardware"));
    EXPECT_EQ(box.text, QStringLiteral("find setting card connected with") + simPort() +
                            QStringLiteral("\r\nand find ESCESC_T03"));
    EXPECT_EQ(box.icon, BoxIcon::None);
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
    EXPECT_EQ(wire(sim().received()), QByteArray("\x35\x50"));
    EXPECT_EQ(portBox(), simPort());
    EXPECT_TRUE(form().state().esc_ok);
    EXPECT_FALSE(form().state().cmd_mode);
    EXPECT_EQ(status(), QStringLiteral("Wait user command"));
}

TEST_F(SearchE2e, UserSearchCardWithoutEsc)
{
    sim::Options o = fastOptions();
    o.esc_present = false;
    startWindow(o);
    ASSERT_TRUE(waitUntil([&] { return lit("shcom"); }, 3000));
    settle(100);
    clickSearch();
    ASSERT_EQ(boxes().boxes.size(), 1u);
    EXPECT_EQ(boxes().boxes[0].title, QStringLiteral("Find hardware"));
    EXPECT_EQ(boxes().boxes[0].text, QStringLiteral("find setting card connected with") + simPort() +
                                         QStringLiteral("\r\nnot find ESC"));
    EXPECT_EQ(labels(), kNoEscLabels);
    EXPECT_FALSE(lit("Shdt"));
    EXPECT_TRUE(lit("shcom"));
    EXPECT_FALSE(form().state().esc_ok);
}

TEST_F(SearchE2e, NoCardQuietThenUserSearch)
{
    // The remembered port is missing, so the start-up probe goes nowhere and
    // the card is silent before the quiet search reaches it.
    startWindow(fastOptions(), /*rememberPort=*/false);
    sim().change_faults([&](sim::Faults& f) { f.silent_card = true; });
    ASSERT_TRUE(waitUntil([&] { return !form().state().auto_search && !form().link().busy(); }, 5000));
    settle(200);
    EXPECT_TRUE(boxes().boxes.empty());
    EXPECT_EQ(labels(), kUnknownLabels);
    EXPECT_FALSE(lit("shcom"));
    EXPECT_FALSE(lit("Shdt"));
    EXPECT_FALSE(form().state().esc_ok);

    clickSearch();
    ASSERT_EQ(boxes().boxes.size(), 1u);
    EXPECT_EQ(boxes().boxes[0].title, QStringLiteral("not find hardware"));
    EXPECT_EQ(boxes().boxes[0].text, QStringLiteral("can not find hardware,please confirm:\r\n"
                                                    "  1.Hardware port connect.\r\n"
                                                    "  2.Hardware power."));
    EXPECT_EQ(boxes().boxes[0].icon, BoxIcon::Error);
    EXPECT_FALSE(lit("shcom"));
    EXPECT_FALSE(lit("Shdt"));
    EXPECT_EQ(labels(), kUnknownLabels);
    EXPECT_FALSE(form().comm().IsOpen());
    EXPECT_EQ(status(), QStringLiteral("Wait user command"));
}

TEST_F(SearchE2e, SimulatorHangsUpMidSearch)
{
    startWindow(fastOptions(), true, {missingPort()});
    ASSERT_TRUE(waitConnected());
    sim().change_faults([&](sim::Faults& f) { f.hangup_after_bytes = 1; });  // the card goes away after the next probe
    clickSearch();
    EXPECT_FALSE(form().link().busy());
    // Whether the card still answered the probe before it went is up to the
    // line; either way the search ends with one report and no ESC.
    ASSERT_EQ(boxes().boxes.size(), 1u);
    const RecordedBox& box = boxes().boxes[0];
    if (box.title == QStringLiteral("Find hardware"))
        EXPECT_TRUE(box.text.endsWith(QStringLiteral("\r\nnot find ESC"))) << box.text.toStdString();
    else
        EXPECT_EQ(box.title, QStringLiteral("not find hardware"));
    EXPECT_EQ(status(), QStringLiteral("Wait user command"));
    EXPECT_FALSE(form().state().esc_ok);
    settle(1300);  // nothing left running that reports later
    EXPECT_EQ(boxes().boxes.size(), 1u);
}

}  // namespace
