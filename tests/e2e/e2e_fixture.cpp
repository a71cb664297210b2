#include "e2e_fixture.h"

#include "app/lamp.h"
#include "testing/event_wait.h"
#include "testing/started_sim.h"

#include <QFile>
#include <QLabel>

void E2eTest::startWindow(sim::Options o, bool rememberPort, QStringList portsBefore)
{
    ASSERT_TRUE(dir_.isValid());
    sim_ = started_sim(o);
    ASSERT_NE(sim_, nullptr) << "the simulator could not open a pseudo-terminal";
    if (beforeWindow)
        beforeWindow(*sim_);

    QFile ini(dir_.filePath(QStringLiteral("zelt.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    const QString port = !rememberedPort.isEmpty() ? rememberedPort
                         : rememberPort            ? simPort()
                                                   : missingPort();
    ini.write(QStringLiteral("[COMSET]\r\nCOM=%1\r\n").arg(port).toLocal8Bit());
    ini.close();

    AppEnv env;
    env.programDir = dir_.path();
    const QStringList ports = portsBefore << simPort();
    if (followedPorts)
        env.portRoots = followedPorts;
    else
        env.listPorts = [ports] { return ports; };
    env.dialogs = &dialogs_;
    env.traceLines = traceLines;
    form_ = std::make_unique<TForm1>(env);
    form_->show();
}

sim::Options E2eTest::fastOptions()
{
    return unpaced_options();
}

QString E2eTest::simPort() const
{
    return QString::fromStdString(sim_->port_path());
}

QStringList E2eTest::labels()
{
    return {control<QLabel>("Label2")->text(), control<QLabel>("Label3")->text(),
            control<QLabel>("Label4")->text()};
}

QString E2eTest::status()
{
    return statusLabel()->text();
}

QLabel* E2eTest::statusLabel()
{
    return control<QLabel>("Label15");
}

bool E2eTest::lit(const char* lamp)
{
    return lamp_lit(control<QWidget>(lamp));
}

QString E2eTest::missingPort()
{
    return QStringLiteral("/dev/zelt-missing-port");
}

bool E2eTest::waitUntil(const std::function<bool()>& cond, int timeoutMs)
{
    return wait_until(cond, timeoutMs);
}

void E2eTest::settle(int ms)
{
    ::settle(ms);
}

bool E2eTest::waitConnected(int timeoutMs)
{
    QWidget* shdt = form_->findChild<QWidget*>(QStringLiteral("Shdt"));
    return waitUntil([&] { return form_->state().esc_ok && shdt && lamp_lit(shdt); }, timeoutMs);
}

void E2eTest::TearDown()
{
    if (form_) {
        form_->FormDestroy();
        form_.reset();
    }
    sim_.reset();
}

QStringList E2eTest::shownBoxes() const
{
    QStringList shown;
    for (const RecordedBox& b : dialogs_.boxes)
        shown << b.title + "|" + b.text;
    return shown;
}

SettingValues E2eTest::values()
{
    SettingValues v{};
    for (int i = 0; i < kSettingCount; ++i)
        v[i] = list(i)->currentIndex();
    return v;
}

void E2eTest::setValues(const SettingValues& v)
{
    for (int i = 0; i < kSettingCount; ++i)
        list(i)->setCurrentIndex(v[i]);
}
