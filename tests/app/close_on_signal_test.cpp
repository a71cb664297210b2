// SIGTERM and SIGINT close the window the normal way, so that the settings
// file is written; a file that cannot be written is reported on stderr, not in
// a box nobody is there to answer.

#include "app/close_on_signal.h"
#include "tests/app/file_helpers.h"
#include "tests/app/form_fixture.h"

#include <QComboBox>
#include <QFile>

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
        CloseOnSignal closer(form.get());
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

}  // namespace
