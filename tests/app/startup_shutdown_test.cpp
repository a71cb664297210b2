// Start-up reads zelt.ini into the port box and the eight lists; shut-down
// writes them back.

#include "app/lamp.h"
#include "file_helpers.h"
#include "form_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>

namespace {

using Indexes = std::array<int, 8>;
constexpr Indexes kDefaults = {0, 0, 1, 0, 0, 1, 2, 0};

Indexes shown_indexes(TForm1& form)
{
    Indexes out{};
    for (int i = 0; i < 8; ++i)
        out[i] = form.findChild<QComboBox*>(QStringLiteral("ComboBox%1").arg(i + 1))->currentIndex();
    return out;
}

QString port_text(TForm1& form)
{
    return form.findChild<QComboBox*>(QStringLiteral("cmbbxcomnum"))->currentText();
}

struct StartCase {
    const char* name;
    const char* file;  // nullptr: no settings file
    QStringList ports;
    const char* port;
    Indexes indexes;  // -1: the list shows no selection
};

TEST_F(FormTest, StartUpShowsTheStoredPortAndSettings)
{
    const StartCase cases[] = {
        {"no file", nullptr, {}, "COM1", kDefaults},
        {"no file, ports listed", nullptr, kNoDevicePorts, "COM1", kDefaults},
        {"all keys",
         "[COMSET]\nCOM=/dev/zelt-none-b\n[INC]\nlow_volt_threshold=1\nlow_volt_mode=1\nstartup_mode=2\n"
         "break_mode=2\ntiming_mode=3\ncurrent_threshold=0\nother1=4\nother2=1\n",
         kNoDevicePorts,
         "/dev/zelt-none-b",
         {1, 1, 2, 2, 3, 0, 4, 1}},
        {"other2 outside its list", "[INC]\nother2=5\n", {}, "COM1", {0, 0, 1, 0, 0, 1, 2, -1}},
        {"negative index", "[INC]\nlow_volt_threshold=-1\n", {}, "COM1", {-1, 0, 1, 0, 0, 1, 2, 0}},
        {"hex 0x", "[INC]\nother1=0x3\n", {}, "COM1", {0, 0, 1, 0, 0, 1, 3, 0}},
        {"hex $", "[INC]\nother1=$3\n", {}, "COM1", {0, 0, 1, 0, 0, 1, 3, 0}},
        {"not a number", "[INC]\nother1=three\n", {}, "COM1", kDefaults},
        {"port not listed", "[COMSET]\nCOM=COM9\n", kNoDevicePorts, "COM9", kDefaults},
        {"windows line ends, other case",
         "[comset]\r\ncom=COM3\r\n[inc]\r\nBREAK_MODE=2\r\n",
         {},
         "COM3",
         {0, 0, 1, 2, 0, 1, 2, 0}},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(iniPath());
        if (c.file)
            write_bytes(iniPath(), c.file);
        boxes.boxes.clear();
        auto form = makeForm(c.ports);
        EXPECT_EQ(port_text(*form), QString::fromLatin1(c.port));
        EXPECT_EQ(form->comm().CommName(), QString::fromLatin1(c.port));
        EXPECT_EQ(shown_indexes(*form), c.indexes);
        // The remembered port opens nowhere, and nothing says so.
        EXPECT_FALSE(form->comm().IsOpen());
        EXPECT_TRUE(boxes.boxes.empty());
        form->FormDestroy();
    }
}

TEST_F(FormTest, ShutDownWritesANewFileInTheFixedLayout)
{
    auto form = makeForm(kNoDevicePorts);
    form->comm().SetCommName(QStringLiteral("/dev/ttyUSB0"));  // the port in use, as after a switch
    form->findChild<QComboBox*>(QStringLiteral("ComboBox3"))->setCurrentIndex(2);
    form->findChild<QComboBox*>(QStringLiteral("ComboBox7"))->setCurrentIndex(-1);
    form->close();
    EXPECT_EQ(read_bytes(iniPath()),
              QByteArray("[COMSET]\nCOM=/dev/ttyUSB0\n\n[INC]\nlow_volt_threshold=0\n"
                         "low_volt_mode=0\nstartup_mode=2\nbreak_mode=0\ntiming_mode=0\n"
                         "current_threshold=1\nother1=-1\nother2=0\n"));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(FormTest, ShutDownWritesNoSelectionAsMinusOneAndKeepsTheRest)
{
    write_bytes(iniPath(),
                "[COMSET]\nCOM=COM9\nbaud=19200\n\n[INC]\nother2=5\nother1=$3\n\n[Motor]\npoles=14\n");
    auto form = makeForm();
    form->close();
    EXPECT_EQ(
        read_bytes(iniPath()),
        QByteArray("[COMSET]\nCOM=COM9\nbaud=19200\n\n[INC]\nother2=-1\nother1=3\nlow_volt_threshold=0\n"
                   "low_volt_mode=0\nstartup_mode=1\nbreak_mode=0\ntiming_mode=0\ncurrent_threshold=1\n\n"
                   "[Motor]\npoles=14\n"));
}

TEST_F(FormTest, ShutDownRunsOnce)
{
    auto form = makeForm();
    form->close();
    ASSERT_TRUE(QFile::exists(iniPath()));
    write_bytes(iniPath(), "changed by hand");
    form->FormDestroy();
    form->close();
    form.reset();
    EXPECT_EQ(read_bytes(iniPath()), QByteArray("changed by hand"));
}

TEST_F(FormTest, DestroyingAWindowNeverClosedStillWritesTheFile)
{
    auto form = makeForm();
    form->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(1);
    form.reset();
    EXPECT_TRUE(read_bytes(iniPath()).contains("\nlow_volt_threshold=1\n"));
}

// Whatever stops the write, the old file stays and the box names the path.
TEST_F(FormTest, SettingsFileThatCannotBeWrittenOrReadShowsTheBoxAndStays)
{
    const QByteArray old = "[COMSET]\nCOM=COM3\n[Mine]\nkept=1\n";
    struct Case {
        const char* name;
        std::function<void()> breakFile;
        std::function<void()> close;
    };
    std::unique_ptr<TForm1> form;
    const auto closeAsUser = [&] {
        AsUnprivilegedUser user;
        form->close();
    };
    const Case cases[] = {
        {"unwritable folder", [] {},
         [&] {
             UnwritableFolder guard(dir.path());
             form->close();
         }},
        // Without read permission the file cannot be read, though it could be replaced.
        {"write-only file",
         [&] {
             ::chmod(QFile::encodeName(iniPath()).constData(), 0200);
             ::chmod(QFile::encodeName(dir.path()).constData(), 0777);
         },
         closeAsUser},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(iniPath());
        boxes.boxes.clear();
        write_bytes(iniPath(), old);
        form = makeForm();
        form->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(1);
        c.breakFile();
        c.close();
        ::chmod(QFile::encodeName(iniPath()).constData(), 0600);
        EXPECT_EQ(read_bytes(iniPath()), old);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].title, QStringLiteral("Error"));
        EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("Unable to write to ") + iniPath());
        EXPECT_EQ(boxes.boxes[0].icon, BoxIcon::Error);
        EXPECT_EQ(boxes.boxes[0].buttons, BoxButtons::Ok);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"zelt.ini"});
        form.reset();
    }
}

TEST_F(FormTest, SettingsFileLivesInTheProgramFolderNotTheWorkingFolder)
{
    QTemporaryDir elsewhere;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    write_bytes(iniPath(), "[COMSET]\nCOM=COM5\n");
    write_bytes(elsewhere.filePath("zelt.ini"), "[COMSET]\nCOM=COM6\n");
    auto form = makeForm();
    EXPECT_EQ(port_text(*form), QStringLiteral("COM5"));
    form->close();
    EXPECT_EQ(read_bytes(elsewhere.filePath("zelt.ini")), QByteArray("[COMSET]\nCOM=COM6\n"));
    QDir::setCurrent(before);
}

// With no answer on any port, the watchdog's search after start-up runs
// quietly and leaves everything unlit.
TEST_F(FormTest, SilentStartUpSearchesQuietly)
{
    auto form = makeForm(kNoDevicePorts, /*keepWatchdog=*/true);
    form->show();
    ASSERT_TRUE(waitUntil([&] { return !form->state().auto_search; }, 8000));
    settle(50);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(lamp_lit(control<QWidget>(*form, "shcom")));
    EXPECT_FALSE(lamp_lit(control<QWidget>(*form, "Shdt")));
    EXPECT_FALSE(form->state().esc_ok);
    EXPECT_EQ(control<QLabel>(*form, "Label2")->text(), QStringLiteral("HW type:unknown"));
}

}  // namespace
