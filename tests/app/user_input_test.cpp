// What the user does on the window reaches its handler once, and only when no
// exchange is running; what the program itself changes raises nothing.

#include "settings/settings_file.h"
#include "form_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

namespace {

const QString kOpenError = QStringLiteral("Comm port open error") + QChar(0xFF01);

int open_error_boxes(const RecordingDialogs& d)
{
    int n = 0;
    for (const RecordedBox& b : d.boxes)
        n += b.title == QLatin1String("Comm error") && b.text == kOpenError && b.icon == BoxIcon::Error;
    return n;
}

TEST_F(FormTest, EachTypedOrDeletedCharacterSwitchesThePortOnce)
{
    auto form = makeForm(kNoDevicePorts);
    QComboBox* box = control<QComboBox>(*form, "cmbbxcomnum");
    ASSERT_NE(box, nullptr);
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, "COM12");
    EXPECT_EQ(box->currentText(), QStringLiteral("COM12"));
    EXPECT_EQ(open_error_boxes(boxes), 5);
    EXPECT_EQ(form->comm().CommName(), QStringLiteral("COM12"));

    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(open_error_boxes(boxes), 6);
    EXPECT_EQ(form->comm().CommName(), QStringLiteral("COM1"));
    EXPECT_EQ(boxes.boxes.size(), 6u);
    EXPECT_FALSE(form->link().busy());
}

TEST_F(FormTest, ChoosingAnItemWithTheArrowKeysSwitchesThePort)
{
    auto form = makeForm(kNoDevicePorts);
    QComboBox* box = control<QComboBox>(*form, "cmbbxcomnum");
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->currentText(), kNoDevicePorts[1]);
    EXPECT_EQ(form->comm().CommName(), kNoDevicePorts[1]);
    EXPECT_EQ(open_error_boxes(boxes), 1);
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(form->comm().CommName(), kNoDevicePorts[0]);
    EXPECT_EQ(open_error_boxes(boxes), 2);
}

TEST_F(FormTest, TextSetByTheProgramSwitchesNothing)
{
    auto form = makeForm(kNoDevicePorts);
    QComboBox* box = control<QComboBox>(*form, "cmbbxcomnum");
    ASSERT_NE(box, nullptr);
    box->setEditText(QStringLiteral("COM7"));
    box->setCurrentIndex(1);
    box->setCurrentText(QStringLiteral("COM8"));
    settle(20);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(form->comm().CommName(), QStringLiteral("COM1"));
}

TEST_F(FormTest, CommandsAreNotActedOnDuringAnExchange)
{
    auto form = makeForm(kNoDevicePorts);
    QComboBox* first = control<QComboBox>(*form, "ComboBox1");
    QComboBox* box = control<QComboBox>(*form, "cmbbxcomnum");
    first->setCurrentIndex(1);
    {
        Link::Exchange running(form->link());
        QTest::mouseClick(control<QPushButton>(*form, "Button6"), Qt::LeftButton);  // restore defaults
        QTest::keyClicks(box, "9");
        EXPECT_EQ(first->currentIndex(), 1);
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_EQ(form->comm().CommName(), QStringLiteral("COM1"));
    }
    QTest::mouseClick(control<QPushButton>(*form, "Button6"), Qt::LeftButton);
    EXPECT_EQ(first->currentIndex(), 0);
    EXPECT_FALSE(form->link().busy());
}

TEST_F(FormTest, ModeSwitchClickedDuringAnExchangeRunsWhenItEnds)
{
    auto form = makeForm();
    QSlider* throttle = control<QSlider>(*form, "TrackBar1");
    std::optional<Link::Exchange> running(std::in_place, form->link());
    QTest::mouseClick(control<QRadioButton>(*form, "RadioButton2"), Qt::LeftButton);
    settle(50);
    EXPECT_TRUE(control<QRadioButton>(*form, "RadioButton2")->isChecked());
    EXPECT_FALSE(throttle->isEnabled());
    EXPECT_FALSE(form->Timer3().isActive());

    running.reset();
    ASSERT_TRUE(waitUntil([&] { return throttle->isEnabled(); }, 1000));
    EXPECT_TRUE(form->Timer3().isActive());

    QTest::mouseClick(control<QRadioButton>(*form, "RadioButton1"), Qt::LeftButton);
    EXPECT_FALSE(throttle->isEnabled());
    EXPECT_FALSE(form->Timer3().isActive());
    EXPECT_EQ(control<QLabel>(*form, "Label15")->text(), QStringLiteral("Wait user command"));
}

TEST_F(FormTest, SpeedPollSkipsTicksDuringAnExchange)
{
    auto form = makeForm();
    QLabel* status = control<QLabel>(*form, "Label15");
    QTest::mouseClick(control<QRadioButton>(*form, "RadioButton2"), Qt::LeftButton);
    // Without an ESC every tick puts the idle text back.
    ASSERT_TRUE(waitUntil([&] { return status->text() == QLatin1String("Wait user command"); }, 1000));
    {
        Link::Exchange running(form->link());
        status->setText(QStringLiteral("marker"));
        settle(60);
        EXPECT_EQ(status->text(), QStringLiteral("marker"));
    }
    EXPECT_TRUE(waitUntil([&] { return status->text() == QLatin1String("Wait user command"); }, 1000));
}

TEST_F(FormTest, SliderAndPoleCountShowTheirValues)
{
    auto form = makeForm();
    control<QSlider>(*form, "TrackBar1")->setValue(1500);
    EXPECT_EQ(control<QLineEdit>(*form, "Edit1")->text(), QStringLiteral("1500us"));
    control<QSpinBox>(*form, "UpDown1")->setValue(14);
    EXPECT_EQ(control<QLineEdit>(*form, "Edit2")->text(), QStringLiteral("14"));
}

TEST_F(FormTest, TypedPoleCountsAreAlwaysEven)
{
    auto form = makeForm();
    QSpinBox* poles = control<QSpinBox>(*form, "UpDown1");
    poles->setEnabled(true);
    const struct {
        const char* typed;
        int value;
    } cases[] = {{"13", 12}, {"3", 2}, {"24", 24}, {"7", 6}, {"16", 16}, {"23", 22}};
    for (const auto& c : cases) {
        poles->selectAll();
        QTest::keyClicks(poles, c.typed);
        QTest::keyClick(poles, Qt::Key_Enter);
        EXPECT_EQ(poles->value(), c.value) << c.typed;
        EXPECT_EQ(control<QLineEdit>(*form, "Edit2")->text(), QString::number(c.value)) << c.typed;
    }
}

// A change of the port box is acted on, now or right after a background
// exchange, or the box goes back to the port in use; shut-down stores that port.
TEST_F(FormTest, PortBoxShowsThePortInUseWhateverBecomesOfAChange)
{
    const struct {
        const char* name;
        CommandKind running;
        const char* boxDuring;
        const char* inUseAfter;
    } cases[] = {
        {"refused during a command", CommandKind::Click, "COM1", "COM1"},
        {"kept during a speed tick", CommandKind::SpeedTick, "COM19", "COM19"},
        {"kept during the watchdog", CommandKind::Watchdog, "COM19", "COM19"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.boxes.clear();
        QFile::remove(iniPath());
        auto form = makeForm(kNoDevicePorts);
        QComboBox* box = control<QComboBox>(*form, "cmbbxcomnum");
        ASSERT_EQ(form->comm().CommName(), QStringLiteral("COM1"));
        {
            Link::Exchange running(form->link(), c.running);
            box->lineEdit()->end(false);
            QTest::keyClicks(box, "9");
            EXPECT_EQ(box->currentText(), QString::fromLatin1(c.boxDuring));
            EXPECT_EQ(form->comm().CommName(), QStringLiteral("COM1"));
        }
        settle(50);
        EXPECT_EQ(form->comm().CommName(), QString::fromLatin1(c.inUseAfter));
        EXPECT_EQ(box->currentText(), form->comm().CommName());
        EXPECT_EQ(open_error_boxes(boxes), c.inUseAfter == QLatin1String("COM1") ? 0 : 1);
        form->FormDestroy();
        EXPECT_EQ(read_settings(iniPath()).port, QString::fromLatin1(c.inUseAfter));
    }
}

TEST_F(FormTest, ClosingEndsWatchdogAndPoll)
{
    auto form = makeForm({}, /*keepWatchdog=*/true);
    form->show();
    QTest::mouseClick(control<QRadioButton>(*form, "RadioButton2"), Qt::LeftButton);
    ASSERT_TRUE(form->Timer3().isActive());
    form->close();
    EXPECT_FALSE(form->Timer1().isActive());
    EXPECT_FALSE(form->Timer3().isActive());
    EXPECT_TRUE(QFile::exists(iniPath()));
}

}  // namespace

namespace {

// A search writes a listed port into the box; leaving the box afterwards is no
// choice of the user's.
TEST_F(FormTest, EndOfEditOnAListedNameSwitchesNothing)
{
    auto form = makeForm(kNoDevicePorts);
    QComboBox* box = control<QComboBox>(*form, "cmbbxcomnum");
    ASSERT_NE(box, nullptr);
    box->setEditText(kNoDevicePorts[1]);
    emit box->lineEdit()->editingFinished();
    box->setEditText(kNoDevicePorts[0]);
    emit box->lineEdit()->editingFinished();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(form->comm().CommName(), QStringLiteral("COM1"));
    // The arrow keys go on from the port shown.
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(form->comm().CommName(), kNoDevicePorts[1]);
}

}  // namespace
