// SIGTERM and SIGINT close the window the normal way, so that the settings
// file is written.

#include "app/close_on_signal.h"
#include "tests/app/form_fixture.h"

#include <QComboBox>
#include <QFile>

#include <csignal>

namespace {

TEST_F(FormTest, TerminationSignalsCloseTheWindowAndWriteTheSettings)
{
    for (int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sig);
        QFile::remove(iniPath());
        auto form = makeForm();
        form->show();
        form->findChild<QComboBox*>(QStringLiteral("ComboBox5"))->setCurrentIndex(3);
        CloseOnSignal closer(form.get());
        ASSERT_EQ(::raise(sig), 0);
        EXPECT_TRUE(waitUntil([&] { return !form->isVisible(); }, 2000));
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().contains("\ntiming_mode=3\n"));
    }
}

}  // namespace
