// Where the settings file lives: beside a program in a folder of its own that
// it may write, else in the user's configuration folder.

#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "file_helpers.h"
#include "form_fixture.h"
#include "testing/qstring_printer.h"
#include "testing/scoped_env.h"

#include <QComboBox>
#include <QDir>

namespace {

// Mode bits on the program's folder for the test's lifetime; they decide for
// root too.
class FolderMode {
public:
    FolderMode(const QString& dir, mode_t mode) : dir_(QFile::encodeName(dir)) { ::chmod(dir_.constData(), mode); }
    ~FolderMode() { ::chmod(dir_.constData(), 0700); }
    FolderMode(const FolderMode&) = delete;
    FolderMode& operator=(const FolderMode&) = delete;

private:
    QByteArray dir_;
};

TEST(SettingsLocation, BesideTheProgramOnlyInAWritableFolderOfItsOwn)
{
    QTemporaryDir root;
    const ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(root.filePath("config")));
    const QString bin = root.filePath("bin");
    const QString user = root.filePath("config/zelt");
    struct Case {
        const char* name;
        mode_t mode;
        bool installed;  // <root>/share/zelt beside <root>/bin
        QString folder;
    };
    const Case cases[] = {
        {"build tree or copied folder", 0700, false, bin},
        {"read-only folder", 0555, false, user},
        {"installed copy", 0755, true, user},
        {"installed in a read-only folder", 0555, true, user},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(QDir().mkpath(bin));
        ASSERT_TRUE(c.installed ? QDir().mkpath(root.filePath("share/zelt"))
                                : QDir(root.filePath("share")).removeRecursively());
        const FolderMode mode(bin, c.mode);
        EXPECT_EQ(settings_folder(bin), c.folder) << c.name;
        EXPECT_EQ(settings_path(bin), QDir(c.folder).filePath("zelt.ini")) << c.name;
    }
}

TEST(SettingsLocation, FolderWritable)
{
    QTemporaryDir root;
    write_bytes(root.filePath("file"), "x");
    ASSERT_TRUE(QDir().mkpath(root.filePath("ro")));
    const FolderMode readOnly(root.filePath("ro"), 0555);
    EXPECT_TRUE(folder_writable(root.path()));
    EXPECT_FALSE(folder_writable(root.filePath("ro")));
    EXPECT_FALSE(folder_writable(root.filePath("missing")));
    EXPECT_FALSE(folder_writable(root.filePath("file")));
}

TEST(SettingsLocation, WritingCreatesTheUsersConfigurationFolder)
{
    QTemporaryDir root;
    const QString path = root.filePath("config/zelt/zelt.ini");
    StoredSettings s;
    s.port = QStringLiteral("ttyUSB0");
    ASSERT_TRUE(write_settings(path, s));
    EXPECT_TRUE(read_bytes(path).startsWith("[COMSET]\nCOM=ttyUSB0\n"));
}

// A program in a folder it may not write keeps its settings in
// XDG_CONFIG_HOME from one run to the next and leaves its folder alone.
TEST_F(FormTest, ReadOnlyProgramFolderKeepsSettingsInTheUsersConfigurationFolder)
{
    QTemporaryDir config;
    const ScopedEnv env("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const FolderMode readOnly(dir.path(), 0555);
    // The port comes from there; the shut-down stores the port in use.
    ASSERT_TRUE(QDir().mkpath(config.filePath("zelt")));
    write_bytes(config.filePath("zelt/zelt.ini"), "[COMSET]\nCOM=ttyUSB3\n");
    {
        auto form = makeForm();
        form->findChild<QComboBox*>(QStringLiteral("ComboBox7"))->setCurrentIndex(0);
        form->close();
    }
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(QFile::exists(iniPath()));
    const QByteArray stored = read_bytes(config.filePath("zelt/zelt.ini"));
    EXPECT_TRUE(stored.contains("\nCOM=ttyUSB3\n")) << stored.constData();
    EXPECT_TRUE(stored.contains("\nother1=0\n")) << stored.constData();

    auto again = makeForm();
    EXPECT_EQ(again->findChild<QComboBox*>(QStringLiteral("cmbbxcomnum"))->currentText(), "ttyUSB3");
    EXPECT_EQ(again->findChild<QComboBox*>(QStringLiteral("ComboBox7"))->currentIndex(), 0);
}

}  // namespace
