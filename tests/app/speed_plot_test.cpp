// The speed plot fed by the speed mode on a FakeView against the simulator's
// motor: what it exports is what the poll recorded.

#include "app/speed_plot.h"
#include "app/plot_scale.h"
#include "form_fixture.h"
#include "speedtest/speed_mode.h"
#include "testing/event_wait.h"
#include "testing/qstring_printer.h"
#include "testing/recording_dialogs.h"
#include "testing/sim_session.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

class SpeedPlotOnLink : public SimSessionTest {
protected:
    static QString read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("(unreadable)");
    }

    RecordingDialogs plotDialogs_;
    QTemporaryDir dir_;
};

TEST_F(SpeedPlotOnLink, ExportsTheTicksOfTheSpeedTest)
{
    SpeedPlotWindow plot(plotDialogs_);
    plot.show();
    std::vector<SpeedTick> ticks;
    s().speed().onTick = [&](const SpeedTick& t) {
        ticks.push_back(t);
        plot.addTick(t);
    };
    s().speed().set_pole_count(14);
    s().speed().set_throttle(900);
    s().speed().switch_mode(OperationMode::Speed);
    ASSERT_TRUE(wait_until([&] { return ticks.size() >= 10; }, 2000));
    s().speed().set_throttle(1500);
    ASSERT_TRUE(wait_until([&] { return ticks.size() >= 100 && ticks.back().sampleRpm.value_or(0) > 1000; }, 4000));
    s().speed().switch_mode(OperationMode::Parameter);
    ASSERT_TRUE(wait_until([&] { return sim_->received().back() == 0xFF; }, 1000));

    QString expected = "time_ms,throttle_us,code,period_us,sample_rpm,shown_rpm\n";
    for (const SpeedTick& t : ticks)
        expected += speed::csv_row(t) + "\n";
    plotDialogs_.saveFile = dir_.filePath("ticks.csv");
    plot.exportCsv();
    EXPECT_EQ(read(plotDialogs_.saveFile), expected);

    plotDialogs_.saveFile = dir_.filePath("plot.png");
    plot.exportPng();
    const QImage image(plotDialogs_.saveFile);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), plot.findChild<QWidget*>("SpeedPlotView")->size());
    EXPECT_TRUE(plotDialogs_.boxes.empty());

    // Cancelled: nothing is written, nothing is said.
    plotDialogs_.saveFile.clear();
    plot.exportCsv();
    EXPECT_TRUE(plotDialogs_.boxes.empty());
    for (const char* path : {"/nonexistent/ticks.csv", "/nonexistent/plot.png"}) {
        plotDialogs_.saveFile = path;
        QString(path).endsWith(".csv") ? plot.exportCsv() : plot.exportPng();
        ASSERT_EQ(plotDialogs_.boxes.size(), 1u) << path;
        EXPECT_EQ(plotDialogs_.boxes[0].title, "Error");
        EXPECT_TRUE(plotDialogs_.boxes[0].text.startsWith(QString("Unable to write to ") + path + "\r\n"))
            << plotDialogs_.boxes[0].text.toStdString();
        EXPECT_EQ(plotDialogs_.boxes[0].icon, BoxIcon::Error);
        plotDialogs_.boxes.clear();
    }
}

TEST(SpeedPlot, KeepsTheLastMinuteAndStartsAgainWithANewTest)
{
    RecordingDialogs dialogs;
    SpeedPlotWindow plot(dialogs);
    struct Case {
        int64_t ms;
        size_t kept;      // ticks after this one
        int64_t firstMs;  // the oldest kept
    };
    const Case cases[] = {
        {0, 1, 0},         {30000, 2, 0},     {60000, 3, 0},
        {60001, 3, 30000}, {95000, 3, 60000},  // 35 s later: what is older than 60 s goes
        {10, 1, 10},                           // a new test: its time starts again
    };
    for (const Case& c : cases) {
        plot.addTick({c.ms, 1500, 66, 700, 1000, 1000});
        ASSERT_EQ(plot.ticks().size(), c.kept) << c.ms;
        EXPECT_EQ(plot.ticks().front().timeMs, c.firstMs) << c.ms;
    }
    EXPECT_EQ(plot.csv(),
              "time_ms,throttle_us,code,period_us,sample_rpm,shown_rpm\n10,1500,66,700,1000,1000\n");
}

// The axes' labels fall on round numbers, 1, 2 or 5 x 10^n apart, however
// fast the motor ran.
TEST(SpeedPlot, AxesStepInRoundNumbers)
{
    struct Case {
        int32_t largestRpm;
        AxisScale speed;
    };
    const Case cases[] = {
        {0, {200, 1000}},          {1000, {200, 1000}},        {1001, {200, 1200}},
        {9250, {2000, 10000}},     {12001, {5000, 15000}},     {27750, {5000, 30000}},
        {30001, {10000, 40000}},   {111000, {20000, 120000}},  {120000, {20000, 120000}},
        {250000, {50000, 250000}}, {600001, {200000, 800000}},
    };
    for (const Case& c : cases) {
        const AxisScale got = speed_axis(c.largestRpm);
        EXPECT_EQ(got.step, c.speed.step) << c.largestRpm;
        EXPECT_EQ(got.top, c.speed.top) << c.largestRpm;
    }
    // The throttle's 900-2100 us: labels 1000, 1200 ... 2000.
    EXPECT_EQ(round_step(1200, 6), 200);
    EXPECT_EQ(round_step(1, 6), 1);
    EXPECT_EQ(round_step(7, 6), 2);
}

// Ctrl+G and the rotate-speed group's context menu open the plot; the main
// window keeps its place, size and every text.
TEST_F(FormTest, CtrlGOpensTheSpeedPlotAndLeavesTheWindowAsItWas)
{
    auto form = makeForm();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    // The main window's own controls, not those of the windows it owns.
    const auto texts = [&] {
        QStringList all;
        const auto add = [&](const QWidget* w, const QString& text) {
            if (w->window() == form.get())
                all << w->objectName() + "=" + text;
        };
        for (const QLabel* w : form->findChildren<QLabel*>())
            add(w, w->text());
        for (const QAbstractButton* w : form->findChildren<QAbstractButton*>())
            add(w, w->text());
        for (const QGroupBox* w : form->findChildren<QGroupBox*>())
            add(w, w->title());
        for (const QLineEdit* w : form->findChildren<QLineEdit*>())
            add(w, w->text());
        return all.join('\n');
    };
    const QString before = texts();
    const QRect geometry = form->geometry();

    QTest::keyClick(form.get(), Qt::Key_G, Qt::ControlModifier);
    auto* plot = form->findChild<SpeedPlotWindow*>();
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->isVisible());
    EXPECT_TRUE(plot->isWindow());
    plot->close();
    const QList<QAction*> menu = control<QGroupBox>(*form, "GroupBox5")->actions();
    ASSERT_EQ(menu.size(), 1);
    EXPECT_EQ(control<QGroupBox>(*form, "GroupBox5")->contextMenuPolicy(), Qt::ActionsContextMenu);
    menu[0]->trigger();
    EXPECT_TRUE(plot->isVisible());
    EXPECT_EQ(form->findChildren<SpeedPlotWindow*>().size(), 1) << "one plot window";
    EXPECT_EQ(form->geometry(), geometry);
    EXPECT_EQ(texts(), before);
    EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
