// The operation modes and the rotate-speed test, driven through the main
// window against the device simulator and its motor model.

#include "e2e_fixture.h"

#include "app/lamp.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

const QString kIdle = QStringLiteral("Wait user command");
const QString kTesting = QStringLiteral("Testing rotate speed..");
const uint8_t kProbeThenIdentify[] = {0x35, 0x50};

// Greyed out in Speed mode, available in Parameter mode.
const char* const kParameterControls[] = {"Button2",   "Button7",   "Button8",   "Button3",   "Button6",
                                          "Button4",   "Label5",    "Label6",    "Label7",    "Label8",
                                          "Label9",    "Label10",   "Label12",   "ComboBox1", "ComboBox2",
                                          "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6", "ComboBox7"};
// Alive only in Speed mode.
const char* const kSpeedControls[] = {"TrackBar1", "Edit3",   "Edit1",   "Edit2",  "UpDown1",
                                      "Label18",   "Label16", "Label14", "Label17"};
// Left as they are by either switch (ComboBox8 stays disabled for good).
const char* const kModeFreeControls[] = {"ComboBox8", "Label11", "Button5", "cmbbxcomnum"};

class SpeedModeE2e : public E2eTest {
protected:
    void connectWindow(sim::Options o = fastOptions())
    {
        startWindow(o);
        ASSERT_TRUE(waitConnected());
        control<QSpinBox>("UpDown1")->setValue(o.poles);  // the motor on the ESC
        sim().clear_received();
    }
    void toSpeed() { control<QRadioButton>("RadioButton2")->click(); }
    void toParameter() { control<QRadioButton>("RadioButton1")->click(); }
    QSlider* slider() { return control<QSlider>("TrackBar1"); }
    QString shown() { return control<QLineEdit>("Edit3")->text(); }
    size_t sentCount() { return sim().received().size(); }
    bool waitSent(size_t n, int timeoutMs = 3000)
    {
        return waitUntil([&] { return sentCount() >= n; }, timeoutMs);
    }
    // Speed mode with the slider at 900 (arms the throttle), then the slider
    // at position once the first throttle bytes have gone out.
    void runAt(int position)
    {
        slider()->setValue(900);
        toSpeed();
        ASSERT_TRUE(waitSent(3));
        slider()->setValue(position);
    }
    bool shownWithin(double fraction)
    {
        const int model = sim().motor_rpm();
        bool ok = false;
        const int value = shown().toInt(&ok);
        return ok && model > 0 && std::abs(value - model) <= fraction * model;
    }
};

std::vector<uint8_t> after(const std::vector<uint8_t>& bytes, size_t from)
{
    return {bytes.begin() + static_cast<std::ptrdiff_t>(std::min(from, bytes.size())), bytes.end()};
}

bool allEqual(const std::vector<uint8_t>& bytes, uint8_t value)
{
    return std::all_of(bytes.begin(), bytes.end(), [&](uint8_t b) { return b == value; });
}

TEST_F(SpeedModeE2e, SwitchToSpeedSends06ThenOneThrottleBytePerTick)
{
    ASSERT_NO_FATAL_FAILURE(connectWindow());
    toSpeed();
    EXPECT_EQ(status(), kTesting);
    ASSERT_TRUE(waitSent(20));
    const std::vector<uint8_t> bytes = sim().received();
    EXPECT_EQ(bytes.front(), 0x06);
    EXPECT_TRUE(allEqual(after(bytes, 1), 0x01)) << "slider at 900 sends code 1";
    EXPECT_TRUE(sim().in_speed_mode());

    // One byte per tick of 5 ms at most; the machine may be slower.
    sim().clear_received();
    QElapsedTimer clock;
    clock.start();
    settle(600);
    const size_t n = sentCount();
    const qint64 elapsed = clock.elapsed();
    EXPECT_LE(n, static_cast<size_t>(elapsed / 5 + 2));
    EXPECT_GE(n, 10u);
    EXPECT_EQ(status(), kTesting);
    EXPECT_EQ(shown(), QStringLiteral("0"));
}

TEST_F(SpeedModeE2e, SwitchBackToParameterSendsFFAndStopsTheTicks)
{
    ASSERT_NO_FATAL_FAILURE(connectWindow());
    toSpeed();
    ASSERT_TRUE(waitSent(5));
    toParameter();
    EXPECT_EQ(status(), kIdle);
    EXPECT_FALSE(form().Timer3().isActive());
    ASSERT_TRUE(
        waitUntil([&] { return !sim().received().empty() && sim().received().back() == 0xFF; }, 1000));
    EXPECT_FALSE(sim().in_speed_mode());
    const std::vector<uint8_t> bytes = sim().received();
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0xFF), 1);

    sim().clear_received();
    settle(300);
    EXPECT_TRUE(sim().received().empty());
    EXPECT_FALSE(form().Timer3().isActive());
}

TEST_F(SpeedModeE2e, ModeSwitchEnablesAndDisablesExactlyItsControls)
{
    ASSERT_NO_FATAL_FAILURE(connectWindow());
    for (const char* name : kSpeedControls)
        EXPECT_FALSE(control<QWidget>(name)->isEnabled()) << name << " at start";
    std::vector<bool> modeFree;
    for (const char* name : kModeFreeControls)
        modeFree.push_back(control<QWidget>(name)->isEnabled());

    struct {
        const char* mode;
        std::function<void()> select;
        bool parameterControlsEnabled;
    } const switches[] = {{"Speed", [&] { toSpeed(); }, false}, {"Parameter", [&] { toParameter(); }, true}};
    for (const auto& sw : switches) {
        sw.select();
        for (const char* name : kParameterControls)
            EXPECT_EQ(control<QWidget>(name)->isEnabled(), sw.parameterControlsEnabled)
                << name << " in " << sw.mode;
        for (const char* name : kSpeedControls)
            EXPECT_EQ(control<QWidget>(name)->isEnabled(), !sw.parameterControlsEnabled)
                << name << " in " << sw.mode;
        for (size_t i = 0; i < std::size(kModeFreeControls); ++i)
            EXPECT_EQ(control<QWidget>(kModeFreeControls[i])->isEnabled(), modeFree[i])
                << kModeFreeControls[i] << " in " << sw.mode;
    }
}

TEST_F(SpeedModeE2e, WithoutEscNothingIsSentAndTheTicksReportIt)
{
    sim::Options o = fastOptions();
    o.esc_present = false;
    startWindow(o);
    ASSERT_TRUE(
        waitUntil([&] { return lamp_lit(control<QWidget>("shcom")) && !form().Timer1().isActive(); }, 5000));
    ASSERT_FALSE(form().state().esc_ok);
    sim().clear_received();

    toSpeed();
    EXPECT_EQ(status(), kTesting);
    EXPECT_TRUE(waitUntil([&] { return status() == kIdle; }, 1000));
    settle(200);
    EXPECT_TRUE(sim().received().empty());
    EXPECT_TRUE(form().Timer3().isActive()) << "the ticks go on, waiting for an ESC";

    // An ESC identified while Speed is selected starts the test at once.
    sim().plug(0x03, 0x10, 0x12);
    ASSERT_TRUE(waitSent(5));
    const std::vector<uint8_t> bytes = sim().received();
    EXPECT_EQ(bytes.front(), 0x06);
    EXPECT_TRUE(allEqual(after(bytes, 1), 0x01));
}

TEST_F(SpeedModeE2e, ThrottleStaysAtMinimumUntilSliderHasBeenBelow920)
{
    ASSERT_NO_FATAL_FAILURE(connectWindow());
    slider()->setValue(1500);
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("1500us"));
    toSpeed();
    ASSERT_TRUE(waitSent(30));
    EXPECT_EQ(sim().received().front(), 0x06);
    EXPECT_TRUE(allEqual(after(sim().received(), 1), 0x01)) << "unarmed: minimum code only";
    EXPECT_EQ(sim().motor_rpm(), 0);

    slider()->setValue(919);  // arms; code (919 - 900) div 9 = 2
    ASSERT_TRUE(waitUntil([&] { return sim().received().back() == 0x02; }, 1000));
    slider()->setValue(1500);
    ASSERT_TRUE(waitUntil([&] { return sim().received().back() == 0x42; }, 1000));
    settle(100);

    const std::vector<uint8_t> bytes = sim().received();
    const auto firstTwo = std::find(bytes.begin(), bytes.end(), 0x02);
    const auto firstHigh = std::find(bytes.begin(), bytes.end(), 0x42);
    ASSERT_LT(firstTwo, firstHigh);
    EXPECT_TRUE(std::all_of(bytes.begin() + 1, firstTwo, [](uint8_t b) { return b == 0x01; }));
    EXPECT_TRUE(std::all_of(firstTwo, firstHigh, [](uint8_t b) { return b == 0x02; }));
    EXPECT_TRUE(std::all_of(firstHigh, bytes.end(), [](uint8_t b) { return b == 0x42; }));
}

TEST_F(SpeedModeE2e, SliderAndPoleCountShowWithoutSendingAnything)
{
    ASSERT_NO_FATAL_FAILURE(connectWindow());
    struct {
        int position;
        const char* text;
    } const positions[] = {{900, "900us"}, {1500, "1500us"}, {2100, "2100us"}, {919, "919us"}};
    for (const auto& p : positions) {
        slider()->setValue(p.position);
        EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QString::fromLatin1(p.text));
    }
    QSpinBox* poles = control<QSpinBox>("UpDown1");
    for (int n : {4, 14, 24, 2}) {
        poles->setValue(n);
        EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QString::number(n));
    }
    poles->setValue(24);
    poles->stepUp();
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("24")) << "no wrap-around";
    settle(100);
    EXPECT_TRUE(sim().received().empty());
}

TEST_F(SpeedModeE2e, ShownSpeedSettlesOnTheMotorsSpeedForEachPoleCount)
{
    ASSERT_NO_FATAL_FAILURE(connectWindow());
    ASSERT_NO_FATAL_FAILURE(runAt(1500));
    for (int n : {2, 14, 24}) {
        sim().set_poles(n);
        control<QSpinBox>("UpDown1")->setValue(n);
        EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QString::number(n));
        // Several consecutive readings within 3 % of the model, once it has spun up.
        int agreeing = 0;
        EXPECT_TRUE(waitUntil(
            [&] {
                agreeing = shownWithin(0.03) && sim().motor_rpm() > 5000 ? agreeing + 1 : 0;
                return agreeing >= 5;
            },
            8000))
            << "poles " << n << ": shows " << shown().toStdString() << ", motor " << sim().motor_rpm();
    }
}

TEST_F(SpeedModeE2e, StandingMotorShowsZeroAndThePollGoesOn)
{
    ASSERT_NO_FATAL_FAILURE(connectWindow());
    ASSERT_NO_FATAL_FAILURE(runAt(1500));
    ASSERT_TRUE(waitUntil([&] { return shown().toInt() > 3000; }, 5000));

    // Code 5 leaves the motor standing; it answers a period of 0.
    slider()->setValue(950);
    ASSERT_TRUE(waitUntil([&] { return sim().motor_rpm() == 0 && shown() == QStringLiteral("0"); }, 8000))
        << "shows " << shown().toStdString();
    const size_t before = sentCount();
    settle(200);
    EXPECT_GT(sentCount(), before + 5);
    EXPECT_TRUE(form().Timer3().isActive());

    slider()->setValue(1500);
    EXPECT_TRUE(waitUntil([&] { return shown().toInt() > 1000; }, 5000));
}

// A tick without a whole answer shows nothing new; after half a second of
// them the box no longer shows the old speed as if it were measured, and the
// next answer brings the speed back. A byte without its rest holds the next
// code until the line has been quiet, so that the rest, should it come, is
// never taken with the next answer's first byte.
TEST_F(SpeedModeE2e, BadAnswersAreDroppedThePollGoesOnAndAStaleSpeedIsNotShown)
{
    struct {
        const char* name;
        std::vector<uint8_t> answer;
        size_t minTicks;  // in the 750 ms below
    } const cases[] = {{"no answer", {}, 8}, {"one byte", {0x12}, 4}};
    ASSERT_NO_FATAL_FAILURE(connectWindow());
    ASSERT_NO_FATAL_FAILURE(runAt(1500));
    ASSERT_TRUE(waitUntil([&] { return shown().toInt() > 3000; }, 5000));
    for (const auto& c : cases) {
        sim().change_faults([&](sim::Faults& f) { f.reply_overrides[0x42] = c.answer; });
        settle(100);  // a cycle under way may still complete
        const QString held = shown();
        const size_t before = sentCount();
        QElapsedTimer clock;
        clock.start();
        settle(250);
        EXPECT_EQ(shown(), held) << c.name;
        EXPECT_EQ(status(), kTesting) << c.name;
        settle(500);
        EXPECT_EQ(shown(), QStringLiteral("-")) << c.name;
        EXPECT_EQ(status(), QStringLiteral("ESC speed answers stopped")) << c.name;
        const size_t ticks = sentCount() - before;
        // Each tick waits at least its 20 ms for the answer, then the next one comes.
        EXPECT_LE(ticks, static_cast<size_t>(clock.elapsed() / 20 + 2)) << c.name;
        EXPECT_GE(ticks, c.minTicks) << c.name;
        EXPECT_TRUE(form().Timer3().isActive()) << c.name;
        sim().change_faults([&](sim::Faults& f) { f.reply_overrides.erase(0x42); });
        EXPECT_TRUE(waitUntil([&] { return shownWithin(0.05); }, 3000))
            << c.name << ": shows " << shown().toStdString() << ", motor " << sim().motor_rpm();
        EXPECT_EQ(status(), kTesting) << c.name;
    }
}

TEST_F(SpeedModeE2e, SliderMovedDuringATickIsSentByTheNextTick)
{
    ASSERT_NO_FATAL_FAILURE(connectWindow());
    ASSERT_NO_FATAL_FAILURE(runAt(1500));
    ASSERT_TRUE(waitUntil([&] { return sim().received().back() == 0x42; }, 1000));
    sim().change_faults([&](sim::Faults& f) { f.reply_overrides[0x42] = {}; });  // every tick now waits its full 20 ms

    // Move the slider from inside a tick's wait (the exchange runs, Timer3 is
    // stopped), and look at what went out once that tick has ended: a slot
    // connected after the window's runs when the tick's handler returns.
    bool moved = false;
    std::vector<uint8_t> atTickEnd;
    QTimer hook;
    hook.setTimerType(Qt::PreciseTimer);
    hook.setInterval(1);
    QObject::connect(&hook, &QTimer::timeout, [&] {
        if (form().link().busy() && !form().Timer3().isActive()) {
            slider()->setValue(2100);
            moved = true;
            hook.stop();
        }
    });
    const QMetaObject::Connection tickEnd = QObject::connect(&form().Timer3(), &WindowTimer::tick, [&] {
        if (moved && atTickEnd.empty())
            atTickEnd = sim().received();  // the tick waited 20 ms: its byte has arrived
    });
    hook.start();
    ASSERT_TRUE(waitUntil([&] { return !atTickEnd.empty(); }, 2000));
    QObject::disconnect(tickEnd);
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("2100us"));
    EXPECT_EQ(atTickEnd.back(), 0x42) << "the tick under way keeps the code it started with";
    EXPECT_EQ(std::count(atTickEnd.begin(), atTickEnd.end(), 0x85), 0) << "nothing is sent mid-exchange";
    ASSERT_TRUE(waitSent(atTickEnd.size() + 1));
    EXPECT_EQ(sim().received()[atTickEnd.size()], 0x85) << "the next tick sends 2100";
}

TEST_F(SpeedModeE2e, SearchInSpeedModeFindsTheCardAndThePollStartsAgain)
{
    ASSERT_NO_FATAL_FAILURE(connectWindow());
    ASSERT_NO_FATAL_FAILURE(runAt(1500));
    ASSERT_TRUE(waitUntil([&] { return sim().motor_rpm() > 1000; }, 3000));
    sim().clear_received();
    // The search closes the port: the card leaves speed mode and answers the
    // probe. A click that lands inside a tick's exchange may not start one, so
    // click until a search has run.
    QPushButton* search = control<QPushButton>("Button5");
    for (int tries = 0; tries < 10 && boxes().boxes.empty(); ++tries) {
        search->click();
        waitUntil([&] { return !boxes().boxes.empty(); }, 1000);
    }
    ASSERT_EQ(shownBoxes(), QStringList{QStringLiteral("Find hardware|find setting card connected with") +
                                        simPort() + QStringLiteral("\r\nand find ESCESC_T03")});
    EXPECT_EQ(sim().motor_rpm(), 0) << "the card started afresh";
    // The poll starts again: "06", then the lowest code until the slider has
    // been below 920 once more, each answered by the standing motor.
    const size_t searched = sentCount();
    ASSERT_TRUE(waitSent(searched + 10));
    const std::vector<uint8_t> bytes = sim().received();
    const auto probe = std::search(bytes.begin(), bytes.end(), std::begin(kProbeThenIdentify),
                                   std::end(kProbeThenIdentify));
    ASSERT_NE(probe, bytes.end());
    const auto restart = std::find(probe, bytes.end(), 0x06);
    ASSERT_NE(restart, bytes.end());
    EXPECT_TRUE(std::all_of(restart + 1, bytes.end(), [](uint8_t b) { return b == 0x01; }));
    EXPECT_TRUE(sim().in_speed_mode());
    EXPECT_EQ(shown(), QStringLiteral("0"));
}

TEST_F(SpeedModeE2e, ClosingInSpeedModeReleasesTheMotorFirst)
{
    ASSERT_NO_FATAL_FAILURE(connectWindow());
    ASSERT_NO_FATAL_FAILURE(runAt(1500));
    ASSERT_TRUE(waitUntil([&] { return sim().motor_rpm() > 1000; }, 3000));
    sim().clear_received();
    form().close();
    EXPECT_FALSE(form().Timer3().isActive());
    form().comm().CloseComm();  // as the program does right after, on its way out
    settle(300);
    const std::vector<uint8_t> bytes = sim().received();
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.back(), 0xFF);
    EXPECT_FALSE(sim().in_speed_mode());
}

TEST_F(SpeedModeE2e, ClosingInParameterModeSendsNothing)
{
    ASSERT_NO_FATAL_FAILURE(connectWindow());
    toSpeed();
    ASSERT_TRUE(waitSent(3));
    toParameter();
    settle(100);
    sim().clear_received();
    form().close();
    settle(300);
    EXPECT_TRUE(sim().received().empty());
}

// The user's clicks and keys in Speed mode land inside a tick's exchange most
// of the time; each must be acted on once, right after that exchange.
enum class Phase { EarlyInTick, LateInTick, BetweenTicks };

class SpeedModeInputE2e : public SpeedModeE2e {
protected:
    // Runs action once from the event loop when the poll is at phase. The
    // ESC does not answer throttle codes here, so each tick's exchange waits
    // its full 20 ms.
    void atPhase(Phase phase, const std::function<void()>& action)
    {
        bool done = false;
        bool wasInTick = false;
        QElapsedTimer inTickFor;
        QTimer hook;
        hook.setTimerType(Qt::PreciseTimer);
        hook.setInterval(1);
        QObject::connect(&hook, &QTimer::timeout, [&] {
            const bool inTick = form().link().busy() && !form().Timer3().isActive() && form().state().esc_ok;
            if (inTick && !wasInTick)
                inTickFor.start();
            wasInTick = inTick;
            const bool now = phase == Phase::EarlyInTick  ? inTick
                             : phase == Phase::LateInTick ? inTick && inTickFor.elapsed() >= 12
                                                          : !form().link().busy();
            if (done || !now)
                return;
            done = true;
            hook.stop();
            action();
        });
        hook.start();
        ASSERT_TRUE(waitUntil([&] { return done; }, 3000));
    }
    int probes() const
    {
        const std::vector<uint8_t> bytes = const_cast<SpeedModeInputE2e*>(this)->sim().received();
        return static_cast<int>(std::count(bytes.begin(), bytes.end(), 0x35));
    }
};

TEST_F(SpeedModeInputE2e, ClicksAndKeysDuringTheSpeedPollEachRunOnce)
{
    const QString found = QStringLiteral("Find hardware|find setting card connected with") + QStringLiteral("%1") +
                          QStringLiteral("\r\nand find ESCESC_T03");
    const QString openError = QStringLiteral("Comm error|Comm port open error") + QChar(0xFF01);
    const auto search = [this] { control<QPushButton>("Button5")->click(); };
    const auto typeX = [this] { QTest::keyClick(control<QComboBox>("cmbbxcomnum")->lineEdit(), Qt::Key_X); };
    const auto deleteX = [this] {
        QTest::keyClick(control<QComboBox>("cmbbxcomnum")->lineEdit(), Qt::Key_Backspace);
    };
    // Motor safety: Escape stops the motor wherever the focus is.
    const auto escapeIn = [this](const char* focused) {
        return [this, focused] { QTest::keyClick(control<QWidget>(focused), Qt::Key_Escape); };
    };
    const struct {
        const char* name;
        std::vector<std::pair<Phase, std::function<void()>>> steps;
        int searches;    // each shows its result box and probes once
        int openErrors;  // switches to the name with the x
        int probes;
        int releases = 0;  // Escape: back to Parameter, FF sent once, the poll stopped
    } cases[] = {
        {"search early in a tick", {{Phase::EarlyInTick, search}}, 1, 0, 1},
        {"search late in a tick", {{Phase::LateInTick, search}}, 1, 0, 1},
        {"search between ticks", {{Phase::BetweenTicks, search}}, 1, 0, 1},
        {"two searches in one tick", {{Phase::EarlyInTick, [&] { search(), search(); }}}, 2, 0, 2},
        // Each character switches the port: away to a name that is no port,
        // and back, where the probe finds the card again.
        {"a character typed in a tick, deleted later", {{Phase::LateInTick, typeX}, {Phase::BetweenTicks, deleteX}},
         0, 1, 1},
        {"typed and deleted in one tick", {{Phase::EarlyInTick, [&] { typeX(), deleteX(); }}}, 0, 1, 1},
        {"Escape on the slider early in a tick", {{Phase::EarlyInTick, escapeIn("TrackBar1")}}, 0, 0, 0, 1},
        {"Escape in the port box between ticks", {{Phase::BetweenTicks, escapeIn("cmbbxcomnum")}}, 0, 0, 0, 1},
        {"Escape on the pole count late in a tick, twice",
         {{Phase::LateInTick, [=] { escapeIn("UpDown1")(), escapeIn("UpDown1")(); }}}, 0, 0, 0, 1},
    };
    sim::Options o = fastOptions();
    ASSERT_NO_FATAL_FAILURE(connectWindow(o));
    ASSERT_NO_FATAL_FAILURE(runAt(1500));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!form().Timer3().isActive()) {
            ASSERT_NO_FATAL_FAILURE(runAt(1500));  // after an Escape
        }
        // Unanswered throttle codes (armed or not): every tick waits its full 20 ms.
        sim().change_faults([&](sim::Faults& f) { f.reply_overrides[0x42] = {}; });
        sim().change_faults([&](sim::Faults& f) { f.reply_overrides[0x01] = {}; });
        ASSERT_TRUE(waitUntil([&] { return form().state().esc_ok && form().Timer3().isActive(); }, 5000));
        sim().clear_received();
        boxes().boxes.clear();
        for (const auto& [phase, action] : c.steps)
            ASSERT_NO_FATAL_FAILURE(atPhase(phase, action));
        // Done when the poll runs again after the last search or switch.
        ASSERT_TRUE(waitUntil(
            [&] {
                return !form().link().busy() && form().state().esc_ok &&
                       static_cast<int>(boxes().boxes.size()) == c.searches + c.openErrors &&
                       (c.releases == 0 || form().state().mode == OperationMode::Parameter);
            },
            8000))
            << shownBoxes().join(QLatin1Char('\n')).toStdString();
        settle(100);
        const std::vector<uint8_t> sent = sim().received();
        EXPECT_EQ(std::count(sent.begin(), sent.end(), 0xFF), c.releases);
        if (c.releases) {
            EXPECT_EQ(sent.back(), 0xFF) << "nothing after the release";
            EXPECT_FALSE(sim().in_speed_mode());
            EXPECT_TRUE(control<QRadioButton>("RadioButton1")->isChecked());
            EXPECT_EQ(status(), kIdle);
        }
        QStringList expected;
        for (int i = 0; i < c.openErrors; ++i)
            expected << openError;
        for (int i = 0; i < c.searches; ++i)
            expected << found.arg(simPort());
        EXPECT_EQ(shownBoxes(), expected);
        EXPECT_EQ(probes(), c.probes);
        EXPECT_EQ(form().comm().CommName(), simPort());
        EXPECT_EQ(control<QComboBox>("cmbbxcomnum")->currentText(), simPort());
        EXPECT_EQ(form().Timer3().isActive(), c.releases == 0);
    }
}

}  // namespace
