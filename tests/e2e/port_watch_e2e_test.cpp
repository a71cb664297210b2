// Ports that come and go while the window is open, with the simulator's port
// registered as a virtual port: the list follows, and pulling the port in
// use (its registration removed, as an adapter pulled out removes its node)
// ends the link; putting it back reconnects without a click.

#include "e2e_fixture.h"

#include "app/lamp.h"
#include "testing/thread_cpu.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <iostream>

namespace {

const QString kLossBox = QStringLiteral("Comm error|Hardware not connect or Comm port select error");

class PortWatchE2e : public E2eTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(root_.filePath("dev")));
        ASSERT_TRUE(QDir().mkpath(root_.filePath("sys")));
        ASSERT_TRUE(QDir().mkpath(root_.filePath("run/serialcomm")));
        PortRoots roots;
        roots.dev = root_.filePath("dev");
        roots.sysClassTty = root_.filePath("sys");
        roots.virtualDir = root_.filePath("run/serialcomm");
        followedPorts = roots;
    }
    QString registration(int n) const { return root_.filePath(QStringLiteral("run/serialcomm/ttySIM%1").arg(n)); }
    QStringList listed()
    {
        QComboBox* box = control<QComboBox>("cmbbxcomnum");
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }

    QTemporaryDir root_;
};

TEST_F(PortWatchE2e, ListFollowsPlugAndUnplugAndThePortInUseComesBackWithoutAClick)
{
    rememberedPort = registration(0);
    beforeWindow = [&](sim::Simulator& s) {
        ASSERT_TRUE(QFile::link(QString::fromStdString(s.port_path()), registration(0)));
    };
    startWindow(fastOptions());
    ASSERT_TRUE(waitConnected());
    QComboBox* box = control<QComboBox>("cmbbxcomnum");
    EXPECT_EQ(listed(), QStringList{registration(0)});

    // Another card plugged in: listed at once; the port in use stays in the box.
    sim::Simulator other(fastOptions());
    ASSERT_TRUE(other.start());
    ASSERT_TRUE(QFile::link(QString::fromStdString(other.port_path()), registration(1)));
    ASSERT_TRUE(waitUntil([&] { return listed().size() == 2; }, 2000));
    EXPECT_EQ(listed(), (QStringList{registration(0), registration(1)}));
    EXPECT_EQ(box->currentText(), registration(0));
    EXPECT_TRUE(boxes().boxes.empty());

    // A speed test runs when the card is pulled out.
    control<QRadioButton>("RadioButton2")->click();
    ASSERT_TRUE(waitUntil([&] { return sim().received().size() > 20; }, 3000));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(QFile::remove(registration(0)));
    ASSERT_TRUE(waitUntil([&] { return !lit("shcom"); }, 2000));
    const qint64 unplugToSilver = clock.elapsed();
    settle(50);
    EXPECT_EQ(shownBoxes(), QStringList{kLossBox});
    EXPECT_FALSE(lit("Shdt"));
    EXPECT_EQ(control<QLabel>("Label2")->text(), QStringLiteral("HW type:unknown"));
    EXPECT_EQ(status(), QStringLiteral("Comm error"));
    EXPECT_FALSE(form().state().esc_ok);
    EXPECT_FALSE(form().Timer3().isActive());
    EXPECT_FALSE(form().comm().IsOpen());
    EXPECT_EQ(listed(), QStringList{registration(1)});
    EXPECT_EQ(box->currentText(), registration(0)) << "the port in use stays named";
    // No more bytes, and no CPU spent while the port is away.
    const size_t sent = sim().received().size();
    const double cpu0 = thread_cpu_seconds();
    {
        QEventLoop idle;  // nothing but the window's own events
        QTimer::singleShot(1500, &idle, &QEventLoop::quit);
        idle.exec();
    }
    const double idleCpu = thread_cpu_seconds() - cpu0;
    EXPECT_EQ(sim().received().size(), sent);
    EXPECT_LT(idleCpu, 0.02);
    EXPECT_EQ(shownBoxes(), QStringList{kLossBox}) << "no watchdog report after it";

    // Put back: opened again, probed, identified, and the speed test goes on.
    sim().clear_received();
    clock.restart();
    ASSERT_TRUE(QFile::link(QString::fromStdString(sim().port_path()), registration(0)));
    ASSERT_TRUE(waitConnected(3000));
    const qint64 replugToRed = clock.elapsed();
    EXPECT_TRUE(lit("shcom"));
    EXPECT_EQ(shownBoxes(), QStringList{kLossBox});
    EXPECT_EQ(box->currentText(), registration(0));
    EXPECT_EQ(listed(), (QStringList{registration(0), registration(1)}));
    ASSERT_TRUE(waitUntil([&] { return sim().received().size() > 5; }, 2000));
    const std::vector<uint8_t> bytes = sim().received();
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin(), bytes.begin() + 3)), (std::vector<uint8_t>{0x35, 0x50, 0x06}));
    EXPECT_TRUE(form().Timer3().isActive());

    RecordProperty("unplug_to_silver_ms", static_cast<int>(unplugToSilver));
    RecordProperty("replug_to_red_ms", static_cast<int>(replugToRed));
    RecordProperty("idle_cpu_us", static_cast<int>(idleCpu * 1e6));
    std::cout << "unplug to silver " << unplugToSilver << " ms, replug to red " << replugToRed
              << " ms, main-thread CPU while away " << idleCpu * 1e3 << " ms in 1.5 s" << std::endl;
    QFile::remove(registration(1));
}

}  // namespace
