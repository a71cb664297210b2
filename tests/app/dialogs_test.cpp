// The real boxes and file dialogs: what they show, what they answer, and the
// text Ctrl+C copies from a box.

#include "app/widget_dialogs.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QFileDialog>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString kRule = QStringLiteral("---------------------------\n");

// Runs act on the modal widget that the caller's next call opens, once it is
// shown. A dialog an earlier call opened may still be the active modal
// widget for a moment while it closes; acting on that one instead would
// leave the new one open for good.
void when_modal_shows(const std::function<void(QWidget*)>& act)
{
    const QPointer<QWidget> earlier = QApplication::activeModalWidget();
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act, earlier] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == earlier || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start();
}

struct CopyCase {
    const char* title;
    const char* text;
    BoxIcon icon;
    BoxButtons buttons;
    const char* clipboard;
};

TEST(CopyableMessageBoxTest, CtrlCCopiesTitleTextAndButtons)
{
    const CopyCase cases[] = {
        {"Comm error", "Receive data error", BoxIcon::Error, BoxButtons::Ok,
         "---------------------------\nComm error\n---------------------------\nReceive data error\n"
         "---------------------------\nOK\n---------------------------\n"},
        {"Require", "Update firmware?", BoxIcon::None, BoxButtons::YesNo,
         "---------------------------\nRequire\n---------------------------\nUpdate firmware?\n"
         "---------------------------\nYes   No\n---------------------------\n"},
        {"Prompt", "two\nlines <b>as typed</b>", BoxIcon::None, BoxButtons::Ok,
         "---------------------------\nPrompt\n---------------------------\ntwo\nlines <b>as typed</b>\n"
         "---------------------------\nOK\n---------------------------\n"},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.title);
        QApplication::clipboard()->clear();
        CopyableMessageBox box(nullptr, c.title, c.text, c.icon, c.buttons);
        box.show();
        QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(c.clipboard));
        EXPECT_TRUE(box.isVisible());  // copying does not close the box
    }
}

TEST(CopyableMessageBoxTest, ClipboardTextUsesTwentySevenDashes)
{
    const QString text = box_clipboard_text("T", "X", {"A", "B"});
    EXPECT_EQ(text, kRule + "T\n" + kRule + "X\n" + kRule + "A   B\n" + kRule);
    EXPECT_EQ(kRule.size(), 28);
}

TEST(CopyableMessageBoxTest, ShowsTitleTextIconAndButtons)
{
    CopyableMessageBox error(nullptr, "Error", "Unable to write to /x/zelt.ini", BoxIcon::Error,
                             BoxButtons::Ok);
    EXPECT_EQ(error.windowTitle(), QStringLiteral("Error"));
    EXPECT_EQ(error.text(), QStringLiteral("Unable to write to /x/zelt.ini"));
    EXPECT_EQ(error.icon(), QMessageBox::Critical);
    EXPECT_EQ(error.standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(error.textFormat(), Qt::PlainText);

    CopyableMessageBox question(nullptr, "Require", "Sure?", BoxIcon::None, BoxButtons::YesNo);
    EXPECT_EQ(question.icon(), QMessageBox::NoIcon);
    EXPECT_EQ(question.standardButtons(), QMessageBox::Yes | QMessageBox::No);
}

struct AnswerCase {
    const char* name;
    BoxButtons buttons;
    std::function<void(QMessageBox*)> act;
    BoxAnswer expected;
};

TEST(WidgetDialogsTest, MessageReturnsTheButtonPressed)
{
    const AnswerCase cases[] = {
        {"ok", BoxButtons::Ok, [](QMessageBox* b) { b->button(QMessageBox::Ok)->click(); }, BoxAnswer::Ok},
        {"yes", BoxButtons::YesNo, [](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); },
         BoxAnswer::Yes},
        {"no", BoxButtons::YesNo, [](QMessageBox* b) { b->button(QMessageBox::No)->click(); }, BoxAnswer::No},
        {"escape", BoxButtons::YesNo, [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); },
         BoxAnswer::No},
    };
    WidgetDialogs dialogs(nullptr);
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        QString title;
        when_modal_shows([&](QWidget* w) {
            title = w->windowTitle();
            c.act(qobject_cast<QMessageBox*>(w));
        });
        EXPECT_EQ(dialogs.message("Require", "Go on?", BoxIcon::None, c.buttons), c.expected);
        EXPECT_EQ(title, QStringLiteral("Require"));
    }
}

TEST(WidgetDialogsTest, BoxShowsTheArrowWhileACommandShowsBusy)
{
    WidgetDialogs dialogs(nullptr);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    Qt::CursorShape whileShown = Qt::BusyCursor;
    when_modal_shows([&](QWidget* w) {
        whileShown = QGuiApplication::overrideCursor()->shape();
        qobject_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click();
    });
    dialogs.message("Prompt", "Done", BoxIcon::None);
    EXPECT_EQ(whileShown, Qt::ArrowCursor);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(WidgetDialogsTest, FileDialogsUseFilterAndDefaultSuffix)
{
    QTemporaryDir dir;
    WidgetDialogs dialogs(nullptr);
    for (bool save : {false, true}) {
        SCOPED_TRACE(save ? "save" : "open");
        QStringList filters;
        QString suffix;
        QFileDialog::AcceptMode mode{};
        when_modal_shows([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(d, nullptr);
            filters = d->nameFilters();
            suffix = d->defaultSuffix();
            mode = d->acceptMode();
            // A name that does not exist is taken; the suffix is added.
            d->selectFile(dir.filePath("mysetup"));
            QMetaObject::invokeMethod(d, "accept");
        });
        const QString chosen = save ? dialogs.saveFileName("Zelt File (*.zelt)", "zelt")
                                    : dialogs.openFileName("Zelt File (*.zelt)", "zelt");
        EXPECT_EQ(chosen, dir.filePath("mysetup.zelt"));
        EXPECT_EQ(filters, QStringList{"Zelt File (*.zelt)"});
        EXPECT_EQ(suffix, QStringLiteral("zelt"));
        EXPECT_EQ(mode, save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    }
}

TEST(WidgetDialogsTest, CancelledFileDialogGivesNoName)
{
    WidgetDialogs dialogs(nullptr);
    when_modal_shows([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_TRUE(dialogs.openFileName("Zelt File (*.zelt)", "zelt").isEmpty());
}

}  // namespace
