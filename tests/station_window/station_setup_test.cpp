// The set-up as the user leaves it: every control reached with Tab and named
// for a screen reader, the ports following plug and unplug (an unchecked one
// stays unchecked when it comes back), and the choices kept in the
// station's own settings file for the next start.

#include "link/dialogs.h"
#include "serial/port_list.h"
#include "serial/port_watcher.h"
#include "station_window/setup_panel.h"
#include "station_window/station_window.h"
#include "testing/answering_dialogs.h"
#include "testing/event_wait.h"
#include "testing/qstring_printer.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace {

class StationSetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        roots_.dev = home_.filePath(QStringLiteral("dev"));
        roots_.sysClassTty = home_.filePath(QStringLiteral("sys"));
        roots_.virtualDir = home_.filePath(QStringLiteral("serialcomm"));
        ASSERT_TRUE(QDir().mkpath(roots_.virtualDir));
        QFile::setPermissions(roots_.virtualDir,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    // A virtual port: a link to a terminal that exists.
    QString plug(const char* name)
    {
        const QString link = QDir(roots_.virtualDir).filePath(QString::fromLatin1(name));
        EXPECT_TRUE(QFile::link(QStringLiteral("/dev/null"), link));
        return link;
    }
    QString ini() const { return home_.filePath(QStringLiteral("station.ini")); }

    QTemporaryDir home_;
    PortRoots roots_;
    AnsweringDialogs dialogs_;
};

TEST_F(StationSetupTest, TabReachesEveryControlAndEachHasAName)
{
    plug("ttyA");
    QSettings settings(ini(), QSettings::IniFormat);
    PortWatcher watcher(roots_);
    station_window::StationWindow window(settings, dialogs_, watcher, home_.path());
    window.show();
    std::set<QWidget*> focusable;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled() || w->focusProxy())
            continue;
        if (qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
            continue;  // a spin box's own editor
        focusable.insert(w);
        EXPECT_FALSE(w->accessibleName().isEmpty())
            << w->metaObject()->className() << " has no accessible name";
    }
    std::set<QWidget*> reached;
    // Tab follows the focus chain, once round the window.
    for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain())
        if (focusable.count(w))
            reached.insert(w);
    for (QWidget* f : focusable)
        EXPECT_TRUE(reached.count(f)) << f->metaObject()->className() << " "
                                      << f->accessibleName().toStdString() << " is not reached with Tab";
    EXPECT_GE(focusable.size(), 15u);
}

TEST_F(StationSetupTest, PortsFollowPlugAndUnplugAndTheChoicesAreKept)
{
    const QString a = plug("ttyA");
    const QString b = plug("ttyB");
    const QString golden = home_.filePath(QStringLiteral("golden.zelt"));
    {
        QSettings settings(ini(), QSettings::IniFormat);
        PortWatcher watcher(roots_);
        station_window::SetupPanel panel(settings, dialogs_, watcher);
        auto* list = panel.findChild<QListWidget*>();
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(panel.choices().ports, (QStringList{a, b}));  // checked by default
        EXPECT_FALSE(panel.choices().spin);                     // off by default
        EXPECT_FALSE(panel.choices().firmware);
        list->item(1)->setCheckState(Qt::Unchecked);
        ASSERT_TRUE(QFile::remove(b));
        ASSERT_TRUE(wait_until([&] { return list->count() == 1; }, 5000));
        const QString c = plug("ttyC");
        plug("ttyB");
        ASSERT_TRUE(wait_until([&] { return list->count() == 3; }, 5000));
        EXPECT_EQ(panel.choices().ports, (QStringList{a, c}));  // B came back unchecked, C came checked

        for (QLineEdit* edit : panel.findChildren<QLineEdit*>())
            if (edit->accessibleName() == "Setup file")
                edit->setText(golden);
        for (QRadioButton* r : panel.findChildren<QRadioButton*>())
            if (r->text() == "The image for the ESC's model")
                r->setChecked(true);
        panel.findChild<QCheckBox*>()->setChecked(true);
        for (QSpinBox* box : panel.findChildren<QSpinBox*>())
            if (box->accessibleName() == "Spin check seconds")
                box->setValue(5);
        panel.remember();
    }
    QSettings settings(ini(), QSettings::IniFormat);
    PortWatcher watcher(roots_);
    station_window::SetupPanel panel(settings, dialogs_, watcher);
    const station::Choices again = panel.choices();
    EXPECT_EQ(again.ports, (QStringList{a, home_.filePath("serialcomm/ttyC")}));
    EXPECT_EQ(again.setup, golden);
    EXPECT_TRUE(again.firmware);
    EXPECT_TRUE(again.image.isEmpty());
    ASSERT_TRUE(again.spin);
    EXPECT_EQ(again.spin->seconds, 5);
    EXPECT_EQ(again.spin->poles, 14);
    EXPECT_FALSE(QFile::exists(home_.filePath(QStringLiteral("zelt.ini"))));
}

}  // namespace
