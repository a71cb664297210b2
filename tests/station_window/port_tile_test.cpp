// A tile shows what the engine last said: the word, the colour, what to do
// or why the unit failed, the running step's progress, and the same state in
// words for a screen reader.

#include "station_window/port_tile.h"

#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <functional>

namespace {

using station::PortState;
using station::Step;
using station_window::PortTile;

const QColor kGreen(0x2e, 0x7d, 0x32), kRed(0xc6, 0x28, 0x28), kAmber(0xff, 0xd5, 0x4f),
    kGrey(0xe0, 0xe0, 0xe0), kDark(0x9e, 0x9e, 0x9e), kOrange(0xff, 0x98, 0x00);

constexpr int kBusy = -1;  // a bar with no range yet: busy, no value

struct Row {
    const char* name;
    std::function<void(PortTile&)> events;
    QString word;
    QString detail;
    QColor colour;
    bool bar;  // the progress bar shows
    int value, maximum;
};

class PortTileTest : public ::testing::TestWithParam<Row> {};

TEST_P(PortTileTest, ShowsTheLastEvent)
{
    const Row& row = GetParam();
    PortTile tile(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("usb-FTDI_FT232R_A1-if00-port0"));
    tile.show();
    row.events(tile);
    EXPECT_EQ(tile.word(), row.word);
    EXPECT_EQ(tile.detail(), row.detail);
    EXPECT_EQ(tile.colour(), row.colour);
    EXPECT_EQ(tile.palette().color(QPalette::Window), row.colour);
    const auto* bar = tile.findChild<QProgressBar*>(QStringLiteral("progress"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->isVisible(), row.bar);
    if (row.bar) {
        EXPECT_EQ(bar->value(), row.value);
        EXPECT_EQ(bar->maximum(), row.maximum);
    }
    // Never colour alone: the screen reader gets the word and the detail.
    EXPECT_EQ(tile.accessibleDescription(), row.detail.isEmpty() ? row.word : row.word + ": " + row.detail);
    EXPECT_GE(tile.findChild<QWidget*>(QStringLiteral("word"))->font().pointSize(), 24);
}

const Row kRows[] = {
    {"AtFirst", [](PortTile&) {}, "NO CARD", "the setting card does not answer; it keeps being tried", kDark,
     false, 0, 0},
    {"Waiting", [](PortTile& t) { t.showState(PortState::Waiting, {}); }, "WAITING", "put an ESC in", kGrey,
     false, 0, 0},
    {"RunningBeforeItsStep", [](PortTile& t) { t.showState(PortState::Running, {}); }, "RUNNING", "", kAmber,
     true, kBusy, 0},
    {"Step",
     [](PortTile& t) {
         t.showState(PortState::Running, {});
         t.showStep(Step::Firmware, 17);
     },
     "Firmware", "unit 17", kAmber, true, kBusy, 0},
    {"Progress",
     [](PortTile& t) {
         t.showState(PortState::Running, {});
         t.showStep(Step::Firmware, 17);
         t.showProgress(40, 160);
     },
     "Firmware", "unit 17", kAmber, true, 40, 160},
    {"NextStepStartsItsBarAfresh",
     [](PortTile& t) {
         t.showState(PortState::Running, {});
         t.showProgress(160, 160);
         t.showStep(Step::Settings, 17);
     },
     "Settings", "unit 17", kAmber, true, kBusy, 0},
    {"Pass",
     [](PortTile& t) {
         t.showState(PortState::Running, {});
         t.showProgress(3, 4);
         t.showState(PortState::Passed, {});
     },
     "PASS", "take the ESC out", kGreen, false, 0, 0},
    {"FailWithItsReason",
     [](PortTile& t) { t.showState(PortState::Failed, QStringLiteral("the settings read back differ")); },
     "FAIL", "the settings read back differ; take the ESC out", kRed, false, 0, 0},
    {"FailWithoutReason", [](PortTile& t) { t.showState(PortState::Failed, {}); }, "FAIL", "take the ESC out",
     kRed, false, 0, 0},
    {"LateProgressAfterTheResultIsIgnored",
     [](PortTile& t) {
         t.showState(PortState::Passed, {});
         t.showProgress(1, 2);
         t.showStep(Step::Spin, 3);
     },
     "PASS", "take the ESC out", kGreen, false, 0, 0},
    {"Paused", [](PortTile& t) { t.showState(PortState::Paused, {}); }, "PAUSED",
     "the records cannot be stored", kOrange, false, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Events, PortTileTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PortTileUnits, CountsEachUnit)
{
    PortTile tile(QStringLiteral("/dev/ttyUSB1"), {});
    tile.countUnit();
    tile.countUnit();
    EXPECT_EQ(tile.units(), 2);
    EXPECT_EQ(tile.findChild<QLabel*>(QStringLiteral("units"))->text(), "Units: 2");
    EXPECT_EQ(tile.findChild<QLabel*>(QStringLiteral("port"))->text(), "ttyUSB1");
    EXPECT_EQ(tile.findChild<QLabel*>(QStringLiteral("adapter"))->text(), "no stable name");
}

}  // namespace
