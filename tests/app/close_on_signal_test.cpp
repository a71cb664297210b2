// SIGTERM and SIGINT close the window the normal way, so that the settings
// file is written; a file that cannot be written is reported on stderr, not in
// a box nobody is there to answer.

#include "app/close_on_signal.h"
#include "shutdown/stop_signals.h"
#include "file_helpers.h"
#include "form_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

namespace {

TEST_F(FormTest, TerminationSignalsCloseTheWindowAndWriteTheSettings)
{
    struct Case {
        int sig;
        bool unwritable;
    };
    for (const Case c : {Case{SIGTERM, false}, Case{SIGINT, false}, Case{SIGTERM, true}, Case{SIGINT, true}}) {
        SCOPED_TRACE(testing::Message() << "signal " << c.sig << (c.unwritable ? ", unwritable" : ""));
        boxes.boxes.clear();
        write_bytes(iniPath(), "[Mine]\nkept=1\n");
        auto form = makeForm();
        form->show();
        form->findChild<QComboBox*>(QStringLiteral("ComboBox5"))->setCurrentIndex(3);
        StopSignals stop(QStringLiteral("zelt-esc"));
        CloseOnSignal closer(form.get(), stop);
        {
            std::unique_ptr<UnwritableFolder> guard;
            if (c.unwritable)
                guard = std::make_unique<UnwritableFolder>(dir.path());
            testing::internal::CaptureStderr();
            ASSERT_EQ(::raise(c.sig), 0);
            EXPECT_TRUE(waitUntil([&] { return !form->isVisible(); }, 2000));
            const std::string err = testing::internal::GetCapturedStderr();
            EXPECT_EQ(err.find(("Unable to write to " + iniPath()).toStdString()) != std::string::npos,
                      c.unwritable)
                << err;
        }
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_EQ(read_bytes(iniPath()).contains("\ntiming_mode=3\n"), !c.unwritable);
        EXPECT_TRUE(read_bytes(iniPath()).startsWith("[Mine]\nkept=1\n"));
    }
}

// Whether the process catches SIGTERM yet, from its status in /proc.
bool catches_sigterm(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
}

// The program itself, in a folder whose zelt.ini is a folder: at SIGTERM it
// says so on stderr and ends, with no box to hold it open.
TEST(CloseOnSignalProgram, UnwritableSettingsAtSigtermEndTheProgramWithAMessage)
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("zelt-esc"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZELT_PROGRAM), program));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("zelt.ini")));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(program, {});
    ASSERT_TRUE(process.waitForStarted(5000));
    for (int i = 0; i < 500 && !catches_sigterm(process.processId()); ++i)
        QThread::msleep(10);
    ASSERT_TRUE(catches_sigterm(process.processId()));
    ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), SIGTERM), 0);
    ASSERT_TRUE(process.waitForFinished(10000)) << "still running after SIGTERM";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains(
        ("Unable to write to " + dir.filePath(QStringLiteral("zelt.ini"))).toUtf8()));
}

}  // namespace
