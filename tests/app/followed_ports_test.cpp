// The window's port list following plug and unplug, and its link trace: the
// log window (Ctrl+L) and the --log option of the program.

#include "form_fixture.h"

#include "app/log_window.h"
#include "serial/link_trace.h"
#include "serial/trace_capture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <csignal>

namespace {

class FollowedPortsTest : public FormTest {
protected:
    void SetUp() override
    {
        for (const char* folder : {"dev/serial/by-id", "sys", "run/serialcomm"})
            ASSERT_TRUE(QDir().mkpath(root.filePath(folder)));
        roots.dev = root.filePath("dev");
        roots.sysClassTty = root.filePath("sys");
        roots.virtualDir = root.filePath("run/serialcomm");
    }
    std::unique_ptr<TForm1> makeFollowingForm()
    {
        AppEnv env;
        env.programDir = dir.path();
        env.portRoots = roots;
        env.dialogs = &boxes;
        auto form = std::make_unique<TForm1>(env);
        form->Timer1().stop();
        return form;
    }
    // What the kernel and udev make of a USB adapter: the sysfs entry, the
    // node and (with byId) the stable link.
    void plug(const QString& name, const QString& byId = {})
    {
        ASSERT_TRUE(QDir().mkpath(root.filePath("sys/" + name + "/device")));
        QFile node(root.filePath("dev/" + name));
        ASSERT_TRUE(node.open(QIODevice::WriteOnly));
        if (!byId.isEmpty()) {
            ASSERT_TRUE(QFile::link("../../" + name, root.filePath("dev/serial/by-id/" + byId)));
        }
    }
    static QStringList items(QComboBox* box)
    {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i) + "|" + box->itemData(i, Qt::ToolTipRole).toString();
        return list;
    }

    QTemporaryDir root;
    PortRoots roots;
};

TEST_F(FollowedPortsTest, ListFollowsPlugAndUnplugAndLeavesTypedTextAlone)
{
    plug("ttyS1");
    auto form = makeFollowingForm();
    QComboBox* box = control<QComboBox>(*form, "cmbbxcomnum");
    const QString s1 = root.filePath("dev/ttyS1");
    const QString usb0 = root.filePath("dev/ttyUSB0");
    const QString byId = root.filePath("dev/serial/by-id/usb-Adapter_A1-if00-port0");
    EXPECT_EQ(items(box), QStringList{s1 + "|"});
    const QString portInUse = form->comm().CommName();

    // The user is half-way through typing a name, the caret inside it.
    box->lineEdit()->setText(QStringLiteral("/dev/ttyU"));
    box->lineEdit()->setCursorPosition(5);
    const struct {
        const char* name;
        std::function<void()> change;
        QStringList items;  // text|tooltip
    } steps[] = {
        {"an adapter plugged in", [&] { plug("ttyUSB0", "usb-Adapter_A1-if00-port0"); },
         {s1 + "|", usb0 + "|" + byId}},
        {"the built-in port gone", [&] { QFile::remove(s1); }, {usb0 + "|" + byId}},
        {"the adapter pulled out", [&] { QFile::remove(byId), QFile::remove(usb0); }, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        ASSERT_TRUE(waitUntil([&] { return items(box) == step.items; }, 2000)) << items(box).join(' ').toStdString();
        EXPECT_EQ(box->currentText(), QStringLiteral("/dev/ttyU"));
        EXPECT_EQ(box->lineEdit()->cursorPosition(), 5);
        EXPECT_EQ(form->comm().CommName(), portInUse) << "no switch";
        EXPECT_EQ(form->link().port_list().size(), step.items.size()) << "the search steps through the new list";
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(FollowedPortsTest, CtrlLShowsTheTraceAndSavesIt)
{
    enable_link_trace(false);
    LinkTraceCapture capture;
    AppEnv env;
    env.programDir = dir.path();
    env.listPorts = [] { return QStringList(); };
    env.dialogs = &boxes;
    env.traceLines = &capture.recent();
    TForm1 form(env);
    form.Timer1().stop();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));  // shortcuts go to the active window
    QTest::keyClick(&form, Qt::Key_L, Qt::ControlModifier);
    auto* log = form.findChild<LogWindow*>();
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->isVisible());
    EXPECT_TRUE(lcLink().isDebugEnabled()) << "the window shows the trace from now on";
    trace_block(TraceDirection::Sent, "\x35", 1);
    trace_block(TraceDirection::Received, "\x25\x01", 2);
    ASSERT_TRUE(waitUntil([&] { return log->shownText().endsWith(QStringLiteral("RX 25 01")); }, 2000))
        << log->shownText().toStdString();
    EXPECT_TRUE(log->shownText().contains(QStringLiteral(" TX 35\n")));

    const QString saved = dir.filePath(QStringLiteral("trace.log"));
    const QString unwritable = dir.filePath(QStringLiteral("no/such/folder/trace.log"));
    const struct {
        QString file;  // the file dialog's answer; empty: cancelled
        QStringList boxes;
    } cases[] = {
        {QString(), {}},
        {saved, {}},
        {unwritable, {QStringLiteral("Error|Unable to write to ") + unwritable}},
    };
    for (const auto& c : cases) {
        boxes.boxes.clear();
        boxes.saveFile = c.file;
        log->findChild<QPushButton*>(QStringLiteral("LogSave"))->click();
        QStringList shown;
        for (const RecordedBox& b : boxes.boxes)
            shown << b.title + "|" + b.text.section(QStringLiteral("\r\n"), 0, 0);
        EXPECT_EQ(shown, c.boxes) << c.file.toStdString();
    }
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" TX 35")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" RX 25 01")));
    form.FormDestroy();
    enable_link_trace(false);
}

// The real program, in a folder of its own whose settings name a port that
// is not there: its failed open is the first line of the trace.
TEST(TraceOption, LogFileOrLoggingRulesTurnTheTraceOn)
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("zelt-esc"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZELT_PROGRAM), program));
    {
        QFile ini(dir.filePath(QStringLiteral("zelt.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[COMSET]\nCOM=/dev/zelt-no-such-port\n");
    }
    const QString log = dir.filePath(QStringLiteral("trace.log"));
    const QString openFailed = QStringLiteral("open /dev/zelt-no-such-port failed: ");
    const QString reason = QStringLiteral("(No such file or directory)");
    const struct {
        const char* name;
        QStringList args;
        QString rules;
        bool toFile;
    } cases[] = {
        {"--log FILE", {QStringLiteral("--log"), log}, {}, true},
        {"QT_LOGGING_RULES", {}, QStringLiteral("zelt.link.debug=true"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(log);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());  // no virtual ports
        if (!c.rules.isEmpty())
            env.insert(QStringLiteral("QT_LOGGING_RULES"), c.rules);
        process.setProcessEnvironment(env);
        process.start(program, c.args);
        ASSERT_TRUE(process.waitForStarted(5000));
        QString traced;
        QByteArray stderrText;
        ASSERT_TRUE(wait_until(
            [&] {
                if (c.toFile) {
                    QFile f(log);
                    traced = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
                } else {
                    stderrText += process.readAllStandardError();
                    traced = QString::fromUtf8(stderrText);
                }
                return traced.contains(reason);
            },
            10000))
            << traced.toStdString();
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_TRUE(traced.contains(openFailed)) << traced.toStdString();
    }

    // A log file that cannot be written: said at once, and no window.
    QProcess refused;
    refused.start(program, {QStringLiteral("--log"), dir.filePath(QStringLiteral("no/such/folder/trace.log"))});
    ASSERT_TRUE(refused.waitForFinished(10000));
    EXPECT_EQ(refused.exitCode(), 1);
    EXPECT_TRUE(refused.readAllStandardError().contains("zelt-esc: cannot write the link trace to "));
}

}  // namespace
