// The main window as it stands after start-up: its controls, their places,
// captions, contents and states, its size, caption and colours.

#include "app/lamp.h"
#include "control_texts.h"
#include "form_fixture.h"
#include "params/parameter_set.h"

#include <QAccessible>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyleOption>

#include <algorithm>

namespace {

struct ControlRow {
    const char* name;
    const char* className;
    const char* parent;  // object name of the widget that holds it
    QRect place;
    const char* caption;  // nullptr: a control without a caption
    bool enabled;
};

// clang-format off
const ControlRow kControls[] = {
    {"GroupBox1",    "QGroupBox",    "TForm1",    {8, 8, 113, 59},    "Choose COM", true},
    {"cmbbxcomnum",  "QComboBox",    "GroupBox1", {8, 16, 65, 21},    nullptr, true},
    {"shcom",        "QFrame",       "GroupBox1", {8, 40, 13, 14},    nullptr, true},
    {"Label1",       "QLabel",       "GroupBox1", {24, 40, 83, 17},   "COM Connection", true},
    {"GroupBox2",    "QGroupBox",    "TForm1",    {128, 8, 257, 59},  "ESC Hardware", true},
    {"Label2",       "QLabel",       "GroupBox2", {8, 16, 129, 13},   "HW Type: Unknown", true},
    {"Label3",       "QLabel",       "GroupBox2", {136, 16, 113, 13}, "HW version: Unknown", true},
    {"Label4",       "QLabel",       "GroupBox2", {8, 35, 121, 13},   "FW version: Unknown", true},
    {"Shdt",         "QFrame",       "GroupBox2", {136, 37, 13, 14},  nullptr, true},
    {"Label13",      "QLabel",       "GroupBox2", {152, 37, 89, 17},  "ESC Connection", true},
    {"GroupBox3",    "QGroupBox",    "TForm1",    {8, 72, 217, 273},  "Parameter Setup/Display", true},
    {"ComboBox1",    "QComboBox",    "GroupBox3", {120, 16, 89, 21},  nullptr, true},
    {"ComboBox2",    "QComboBox",    "TForm1",    {128, 120, 89, 21}, nullptr, true},
    {"ComboBox3",    "QComboBox",    "GroupBox3", {120, 80, 89, 21},  nullptr, true},
    {"ComboBox4",    "QComboBox",    "GroupBox3", {120, 112, 89, 21}, nullptr, true},
    {"ComboBox5",    "QComboBox",    "GroupBox3", {120, 144, 89, 21}, nullptr, true},
    {"ComboBox6",    "QComboBox",    "GroupBox3", {120, 176, 89, 21}, nullptr, true},
    {"ComboBox7",    "QComboBox",    "GroupBox3", {120, 208, 89, 21}, nullptr, true},
    {"ComboBox8",    "QComboBox",    "GroupBox3", {120, 240, 89, 21}, nullptr, false},
    {"Label6",       "QLabel",       "GroupBox3", {8, 18, 110, 13},   "Cut Off Type", true},
    {"Label12",      "QLabel",       "GroupBox3", {8, 50, 110, 13},   "Battery Type", true},
    {"Label5",       "QLabel",       "GroupBox3", {8, 82, 110, 13},   "Cut Off Voltage", true},
    {"Label7",       "QLabel",       "GroupBox3", {8, 112, 110, 13},  "Start Mode", true},
    {"Label8",       "QLabel",       "GroupBox3", {8, 144, 110, 13},  "Brake Mode", true},
    {"Label9",       "QLabel",       "GroupBox3", {8, 176, 110, 13},  "Timing option", true},
    {"Label10",      "QLabel",       "GroupBox3", {8, 208, 110, 13},  "Current limited sesitivity", true},
    {"Label11",      "QLabel",       "GroupBox3", {8, 240, 110, 13},  "Govener mode", true},
    {"GroupBox4",    "QGroupBox",    "TForm1",    {232, 72, 153, 44}, "Opration select", true},
    {"RadioButton1", "QRadioButton", "GroupBox4", {8, 16, 65, 17},    "Parameter", true},
    {"RadioButton2", "QRadioButton", "GroupBox4", {88, 16, 57, 17},   "Speed", true},
    {"Button5",      "QPushButton",  "TForm1",    {240, 125, 137, 25}, "Auto find hardware", true},
    {"Button7",      "QPushButton",  "TForm1",    {240, 163, 137, 25}, "Load setup", true},
    {"Button8",      "QPushButton",  "TForm1",    {240, 192, 137, 25}, "Save setup", true},
    {"Button2",      "QPushButton",  "TForm1",    {240, 230, 137, 25}, "Update firmware", true},
    {"Button3",      "QPushButton",  "TForm1",    {240, 258, 137, 25}, "Read ESC parameter", true},
    {"Button6",      "QPushButton",  "TForm1",    {240, 286, 137, 25}, "Restore default  parameter", true},
    {"Button4",      "QPushButton",  "TForm1",    {240, 314, 137, 25}, "Download parameter to ESC", true},
    {"Bevel3",       "QFrame",       "TForm1",    {232, 120, 153, 36}, nullptr, true},
    {"Bevel9",       "QFrame",       "TForm1",    {232, 158, 153, 65}, nullptr, true},
    {"Bevel1",       "QFrame",       "TForm1",    {232, 225, 153, 120}, nullptr, true},
    {"GroupBox5",    "QGroupBox",    "TForm1",    {8, 345, 377, 73},  "Rotate speed test", true},
    {"TrackBar1",    "QSlider",      "GroupBox5", {8, 40, 233, 25},   nullptr, false},
    {"Edit1",        "QLineEdit",    "GroupBox5", {328, 40, 41, 21},  "900us", false},
    {"Label14",      "QLabel",       "GroupBox5", {240, 43, 73, 17},  "Throttle signal", false},
    {"UpDown1",      "QSpinBox",     "GroupBox5", {352, 13, 17, 25},  nullptr, false},
    {"Edit2",        "QLineEdit",    "GroupBox5", {328, 16, 25, 21},  "2", false},
    {"Label18",      "QLabel",       "GroupBox5", {224, 19, 89, 13},  "Polarity number", false},
    {"Edit3",        "QLineEdit",    "GroupBox5", {80, 16, 113, 21},  "0", false},
    {"Label16",      "QLabel",       "GroupBox5", {8, 19, 65, 17},    "Rotate speed", false},
    {"Label17",      "QLabel",       "GroupBox5", {196, 19, 37, 13},  "R/M", false},
    {"Label19",      "QLabel",       "TForm1",    {40, 424, 97, 13},  "Current work status", true},
    {"Bevel2",       "QFrame",       "TForm1",    {144, 422, 241, 19}, nullptr, true},
    {"Label15",      "QLabel",       "TForm1",    {148, 425, 161, 15}, "Wait user command", true},
    {"ProgressBar1", "QProgressBar", "TForm1",    {304, 424, 78, 15}, nullptr, true},
    {"Image1",       "QLabel",       "TForm1",    {8, 426, 33, 33},   nullptr, true},
    {"Edit4",        "QLineEdit",    "TForm1",    {48, 444, 337, 16}, nullptr, true},
};
// clang-format on

TEST_F(FormTest, EveryControlHasItsPlaceCaptionAndState)
{
    auto form = makeForm();
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        QWidget* w = form->findChild<QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), row.className);
        ASSERT_NE(w->parentWidget(), nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(row.parent));
        EXPECT_EQ(w->geometry(), row.place);
        EXPECT_EQ(w->isEnabled(), row.enabled);
        EXPECT_FALSE(w->isHidden());
        if (row.caption) {
            EXPECT_EQ(caption_of(w), QString::fromLatin1(row.caption));
        }
    }
}

TEST_F(FormTest, CaptionsAndListItemsFitTheirControls)
{
    auto form = makeForm();
    for (const ControlRow& row : kControls) {
        QWidget* w = form->findChild<QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(w, nullptr) << row.name;
        QStringList texts{caption_of(w)};
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        for (const QString& text : texts)
            EXPECT_LE(w->fontMetrics().horizontalAdvance(text), text_room(w))
                << row.name << " cannot show '" << text.toStdString() << "'";
    }
}

TEST_F(FormTest, SettingListsHoldTheirItemsInOrder)
{
    const std::pair<const char*, QStringList> lists[] = {
        {"ComboBox1", {"Soft cut*", "Cut off"}},
        {"ComboBox2", {"Li-xx*", "Ni-xx"}},
        {"ComboBox3", {"Low", "Middle*", "High"}},
        {"ComboBox4", {"Normal start*", "Soft start", "Very soft start"}},
        {"ComboBox5", {"Brake off*", "Low brake", "Middle brake", "High brake"}},
        {"ComboBox6", {"Low", "Middle*", "High"}},
        {"ComboBox7", {"Highest", "High", "Middle*", "Low", "Off"}},
        {"ComboBox8", {"OFF", "ON"}},
    };
    auto form = makeForm();
    for (int pos = 0; pos < kSettingCount; ++pos) {
        const auto& [name, items] = lists[pos];
        QComboBox* combo = control<QComboBox>(*form, name);
        ASSERT_NE(combo, nullptr);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        EXPECT_EQ(shown, items) << name;
        // The command line names the items from the same table.
        QStringList named;
        for (int i = 0; i < setting_item_count(pos); ++i)
            named << QString::fromLatin1(kSettingTable[pos].items[i]);
        EXPECT_EQ(named, items) << name;
        EXPECT_FALSE(combo->isEditable()) << name;
    }
    // The second row's list lies on the window, over the group box, and is
    // drawn above it.
    QWidget* box3 = control<QWidget>(*form, "GroupBox3");
    QWidget* list2 = control<QWidget>(*form, "ComboBox2");
    const QWidgetList order = form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    EXPECT_GT(order.indexOf(list2), order.indexOf(box3));
    EXPECT_TRUE(box3->geometry().contains(list2->geometry()));
}

TEST_F(FormTest, PortBoxTakesFreeTextAndListsThePortsInOrder)
{
    auto form = makeForm({"/dev/zelt-none-b", "/dev/zelt-none-a", "/dev/zelt-none-b"});
    QComboBox* box = control<QComboBox>(*form, "cmbbxcomnum");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isEditable());
    EXPECT_EQ(box->completer(), nullptr);
    EXPECT_EQ(box->insertPolicy(), QComboBox::NoInsert);
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    EXPECT_EQ(items, QStringList({"/dev/zelt-none-b", "/dev/zelt-none-a", "/dev/zelt-none-b"}));
}

TEST_F(FormTest, SpeedTestControlsStartAtTheirFirstValues)
{
    auto form = makeForm();
    QSlider* slider = control<QSlider>(*form, "TrackBar1");
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->minimum(), 900);
    EXPECT_EQ(slider->maximum(), 2100);
    EXPECT_EQ(slider->value(), 900);
    EXPECT_EQ(slider->orientation(), Qt::Horizontal);
    EXPECT_EQ(slider->tickPosition(), QSlider::NoTicks);

    QSpinBox* poles = control<QSpinBox>(*form, "UpDown1");
    ASSERT_NE(poles, nullptr);
    EXPECT_EQ(poles->minimum(), 2);
    EXPECT_EQ(poles->maximum(), 24);
    EXPECT_EQ(poles->singleStep(), 2);
    EXPECT_EQ(poles->value(), 2);
    EXPECT_FALSE(poles->wrapping());

    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4"}) {
        QLineEdit* edit = control<QLineEdit>(*form, name);
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(edit->isReadOnly()) << name;
    }
    EXPECT_FALSE(control<QLineEdit>(*form, "Edit4")->hasFrame());
    EXPECT_FALSE(control<QLineEdit>(*form, "Edit4")->text().isEmpty());

    QProgressBar* progress = control<QProgressBar>(*form, "ProgressBar1");
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->value(), progress->minimum());

    EXPECT_TRUE(control<QRadioButton>(*form, "RadioButton1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(*form, "RadioButton2")->isChecked());

    for (const char* name : {"Label14", "Label16", "Label18", "Label19"})
        EXPECT_TRUE(control<QLabel>(*form, name)->alignment() & Qt::AlignRight) << name;
    EXPECT_FALSE(control<QLabel>(*form, "Image1")->pixmap().isNull());
}

TEST_F(FormTest, WindowHasFixedSizeCaptionAndNoMaximiseBox)
{
    auto form = makeForm();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("ZELT brushless ESC software V1.2 "));
    EXPECT_EQ(form->size(), QSize(389, 463));
    EXPECT_EQ(form->minimumSize(), QSize(389, 463));
    EXPECT_EQ(form->maximumSize(), QSize(389, 463));
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    form->show();
    form->resize(600, 600);
    EXPECT_EQ(form->size(), QSize(389, 463));
}

TEST_F(FormTest, ColoursSetAtStartUpShow)
{
    const QColor dark(0, 0, 51), face(0, 0, 60), silver(192, 192, 192);
    auto form = makeForm();
    EXPECT_EQ(form->palette().color(QPalette::Window), dark);
    for (const char* name : {"Label1", "Label6", "Label5"}) {
        QWidget* w = control<QWidget>(*form, name);
        EXPECT_EQ(w->palette().color(QPalette::Window), dark) << name;
        EXPECT_TRUE(w->autoFillBackground()) << name;
    }
    EXPECT_EQ(control<QWidget>(*form, "Edit4")->palette().color(QPalette::Base), dark);
    for (const char* name : {"Button5", "Button7", "Button8", "Button2", "Button3", "Button6", "Button4"}) {
        QWidget* b = control<QWidget>(*form, name);
        EXPECT_EQ(b->palette().color(QPalette::Button), face) << name;
        EXPECT_EQ(b->palette().color(QPalette::ButtonText), QColor(Qt::white)) << name;
    }
    for (const char* name : {"Label1", "Label13", "Label19", "Label15", "RadioButton1"})
        EXPECT_EQ(control<QWidget>(*form, name)->palette().color(QPalette::WindowText), QColor(Qt::white))
            << name;

    // What is drawn: the window's background and both lamps, silver.
    const QImage image = form->grab().toImage();
    EXPECT_EQ(QColor(image.pixel(2, 2)), dark);
    EXPECT_EQ(QColor(image.pixel(200, 455)), dark);
    for (const char* name : {"shcom", "Shdt"}) {
        QWidget* lamp = control<QWidget>(*form, name);
        EXPECT_FALSE(lamp_lit(lamp)) << name;
        const QPoint centre = lamp->mapTo(form.get(), lamp->rect().center());
        EXPECT_EQ(QColor(image.pixel(centre)), silver) << name;
    }
}

TEST_F(FormTest, TimersAndSharedStateAfterStartUp)
{
    auto form = makeForm({}, /*keepWatchdog=*/true);
    EXPECT_EQ(form->Timer1().interval(), 1000);
    EXPECT_EQ(form->Timer2().interval(), 1000);
    EXPECT_EQ(form->Timer3().interval(), 5);
    EXPECT_TRUE(form->Timer1().isActive());  // the watchdog of the start-up probe
    EXPECT_FALSE(form->Timer2().isActive());
    EXPECT_FALSE(form->Timer3().isActive());

    const SharedState& st = form->state();
    EXPECT_TRUE(form->session().setupFiles().file_name().isEmpty());
    EXPECT_FALSE(st.time_out);
    EXPECT_TRUE(st.recv_str.isEmpty());
    EXPECT_FALSE(st.cmd_mode);
    EXPECT_TRUE(st.auto_search);
    EXPECT_FALSE(st.esc_ok);
    EXPECT_EQ(st.fw_group, 0);
    EXPECT_FALSE(form->session().speed().throttle_armed());
    EXPECT_EQ(form->session().speed().measured_samples(), 0);
    EXPECT_FALSE(form->link().busy());
}

TEST_F(FormTest, Comm1HasTheFormsLineSettings)
{
    auto form = makeForm();
    TComm& c = form->comm();
    EXPECT_EQ(c.CommName(), QStringLiteral("COM1"));  // the port box's text at start-up
    LineSettings card;  // 19200 8N1, DTR and RTS low, no flow control either way
    card.baudRate = 19200;
    card.dtr = TDtrControl::DtrDisable;
    card.rts = TRtsControl::RtsDisable;
    card.outX = card.inX = false;
    EXPECT_EQ(c.Line(), card);
    EXPECT_EQ(c.IoTimeouts().readInterval, 1u);
    EXPECT_FALSE(c.IsOpen());
}

// The name a screen reader says for a control. Qt's Linux bridge gives a list
// its current item as its name and its caption as the label it is labelled
// by: the caption label whose buddy it is, or its group box. A list outside
// the group of its caption has only the name it was given.
QString heard_name(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    if (!qobject_cast<QComboBox*>(w))
        return a->text(QAccessible::Name);
    const auto labels = a->relations(QAccessible::Label);
    return labels.isEmpty() ? w->accessibleName() : labels.first().first->text(QAccessible::Name);
}

// What a screen reader says for each control, the states it hears in words
// (also the tooltips, for those who cannot tell the lamps' colours apart),
// and the order the Tab key takes through the controls.
TEST_F(FormTest, ScreenReadersHearEveryControlsNameAndStateAndTabFollowsTheForm)
{
    auto form = makeForm();
    struct Named {
        const char* control;
        const char* name;
        const char* description;  // nullptr: none asked for
    };
    // clang-format off
    const Named named[] = {
        {"cmbbxcomnum", "Choose COM", nullptr},         {"ComboBox1", "Cut Off Type", nullptr},
        {"ComboBox2", "Battery Type", nullptr},         {"ComboBox3", "Cut Off Voltage", nullptr},
        {"ComboBox4", "Start Mode", nullptr},           {"ComboBox5", "Brake Mode", nullptr},
        {"ComboBox6", "Timing option", nullptr},        {"ComboBox7", "Current limited sesitivity", nullptr},
        {"ComboBox8", "Govener mode", nullptr},         {"Edit1", "Throttle signal", nullptr},
        {"TrackBar1", "Throttle signal", nullptr},      {"Edit2", "Polarity number", nullptr},
        {"UpDown1", "Polarity number", nullptr},        {"Edit3", "Rotate speed", nullptr},
        {"Button5", "Auto find hardware", nullptr},     {"Button4", "Download parameter to ESC", nullptr},
        {"shcom", "COM Connection", "Setting card not connected"},
        {"Shdt", "ESC Connection", "No ESC identified"},
        {"RadioButton1", "Parameter", "Parameter mode selected"},
        {"RadioButton2", "Speed", "Speed test mode not selected"},
        {"ProgressBar1", "Progress", "0% done"},
    };
    // clang-format on
    for (const Named& row : named) {
        SCOPED_TRACE(row.control);
        QWidget* w = control<QWidget>(*form, row.control);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(heard_name(w), QString::fromLatin1(row.name));
        if (row.description) {
            EXPECT_EQ(a->text(QAccessible::Description), QString::fromLatin1(row.description));
            EXPECT_EQ(w->toolTip(), QString::fromLatin1(row.description));
        }
    }

    // Every control that takes the focus, in the order of the form: the port,
    // the lists top down, the mode, the buttons top down, the speed test.
    QStringList order;
    QWidget* w = control<QWidget>(*form, "cmbbxcomnum");
    do {
        const bool own = std::any_of(std::begin(kControls), std::end(kControls),
                                     [w](const ControlRow& row) { return w->objectName() == row.name; });
        if (own && (w->focusPolicy() & Qt::TabFocus))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w->objectName() != "cmbbxcomnum");
    EXPECT_EQ(order.join(' '),
              "cmbbxcomnum ComboBox1 ComboBox2 ComboBox3 ComboBox4 ComboBox5 ComboBox6 ComboBox7 "
              "ComboBox8 RadioButton1 RadioButton2 Button5 Button7 Button8 Button2 Button3 "
              "Button6 Button4 Edit3 Edit2 UpDown1 TrackBar1 Edit1 Edit4");
}

}  // namespace
