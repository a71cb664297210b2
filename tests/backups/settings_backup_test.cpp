// Settings backups on disk: where they go, their names and contents, the
// newest kept, and the window's rule of backing up only its own last read.

#include "backups/settings_backup.h"
#include "params/setup_file_format.h"
#include "backups/last_read.h"
#include "params/ini_file.h"
#include "params/setting_keys.h"
#include "testing/qstring_printer.h"
#include "testing/scoped_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const SettingValues kHeld = {1, 1, 2, 2, 3, 2, 4, 1};
const QDateTime kWhen(QDate(2026, 12, 8), QTime(21, 52, 7, 123));

SettingValues values_in(const QString& path)
{
    const IniFile ini(path);
    SettingValues v{};
    for (int pos = 0; pos < kSettingCount; ++pos)
        v[pos] = ini.readInteger(kIncSection, kIncKeys[pos], -9);
    return v;
}

class BackupFolder : public ::testing::Test {
protected:
    QString backupDir() const { return QDir(root_.path()).filePath("state/zelt/backups"); }
    QTemporaryDir root_;
    ScopedEnv state_{"XDG_STATE_HOME", QFile::encodeName(QDir(root_.path()).filePath("state"))};
};

TEST(BackupLocation, FollowsXdgStateHome)
{
    const QString home = QDir::homePath() + "/.local/state/zelt/backups";
    struct Case {
        const char* value;  // null: unset
        QString folder;
    };
    const Case cases[] = {
        {"/srv/bench/state", "/srv/bench/state/zelt/backups"},
        {nullptr, home},
        {"", home},
        {"relative/state", home},  // only an absolute path counts
    };
    for (const Case& c : cases) {
        ScopedEnv env("XDG_STATE_HOME", c.value ? QByteArray(c.value) : QByteArray());
        if (!c.value)
            qunsetenv("XDG_STATE_HOME");
        EXPECT_EQ(backups::folder(), c.folder) << (c.value ? c.value : "(unset)");
    }
}

TEST_F(BackupFolder, NameCarriesTimeAndModelAndTheFileHoldsAllEight)
{
    struct Case {
        QString model;
        const char* name;
    };
    const Case cases[] = {
        {"ESC_T03", "2026-12-08_21-52-07.123_ESC_T03.zelt"},
        {"ESC_T03", "2026-12-08_21-52-07.124_ESC_T03.zelt"},  // the same millisecond again
        {"T/4 x", "2026-12-08_21-52-07.123_T_4_x.zelt"},
        {"", "2026-12-08_21-52-07.123_unknown.zelt"},
    };
    for (const Case& c : cases) {
        QString error;
        const std::optional<QString> path = backups::save(kHeld, c.model, &error, kWhen);
        ASSERT_TRUE(path) << error.toStdString();
        EXPECT_EQ(*path, QDir(backupDir()).filePath(c.name));
        EXPECT_EQ(values_in(*path), kHeld);
        // Loaded as a setup file it gives the first six; a backup also gives the last two.
        EXPECT_EQ(read_extra_settings(*path), (std::array<int, 2>{4, 1}));
    }
}

TEST_F(BackupFolder, KeepsTheNewestHundredAndNoFileOfTheUsers)
{
    ASSERT_TRUE(QDir().mkpath(backupDir()));
    QFile own(QDir(backupDir()).filePath("my-settings.zelt"));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.close();
    QStringList saved;
    QString error;
    for (int i = 0; i < backups::kKept + 3; ++i)
        saved.prepend(*backups::save(kHeld, "ESC_T03", &error, kWhen.addSecs(i * 3600)));
    const QStringList listed = backups::list();
    EXPECT_EQ(listed, saved.mid(0, backups::kKept)) << "newest first";
    for (const QString& gone : saved.mid(backups::kKept))
        EXPECT_FALSE(QFileInfo::exists(gone)) << gone.toStdString();
    EXPECT_TRUE(own.exists());
}

TEST_F(BackupFolder, AFolderThatCannotBeMadeIsAnError)
{
    // A file where the folder should be: even root cannot make it.
    QFile blocker(QDir(root_.path()).filePath("state"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_EQ(backups::save(kHeld, "ESC_T03", &error, kWhen), std::nullopt);
    EXPECT_EQ(error, "cannot make the folder " + backupDir());
    EXPECT_TRUE(backups::list().isEmpty());
}

TEST_F(BackupFolder, ExtraSettingsOnlyFromAFileThatHoldsBoth)
{
    struct Case {
        const char* text;
        std::optional<std::array<int, 2>> extra;
    };
    const Case cases[] = {
        {"[INC]\nother1=3\nother2=0\n", std::array<int, 2>{3, 0}},
        {"[inc]\nOTHER1=$2\nother2=1\n", std::array<int, 2>{2, 1}},
        {"[INC]\nlow_volt_threshold=1\n", std::nullopt},  // a plain setup file
        {"[INC]\nother1=3\n", std::nullopt},
        {"[INC]\nother1=x\nother2=1\n", std::nullopt},
    };
    for (const Case& c : cases) {
        const QString path = QDir(root_.path()).filePath("f.zelt");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.text);
        f.close();
        EXPECT_EQ(read_extra_settings(path), c.extra) << c.text;
    }
}

TEST_F(BackupFolder, TheWindowBacksUpOnlyItsLastReadOfThatEsc)
{
    backups::LastRead last;
    EXPECT_EQ(last.back_up_before_overwrite("/dev/ttyUSB0", "ESC_T03"), std::nullopt) << "nothing read yet";
    last.remember("/dev/ttyUSB0", "ESC_T03", kHeld);
    EXPECT_EQ(last.back_up_before_overwrite("/dev/ttyUSB1", "ESC_T03"), std::nullopt) << "another port";
    EXPECT_EQ(last.back_up_before_overwrite("/dev/ttyUSB0", "ESC_T04"), std::nullopt) << "another model";
    EXPECT_TRUE(backups::list().isEmpty());
    const std::optional<QString> path = last.back_up_before_overwrite("/dev/ttyUSB0", "ESC_T03");
    ASSERT_TRUE(path);
    EXPECT_EQ(backups::list(), QStringList{*path});
    EXPECT_EQ(values_in(*path), kHeld);
}

}  // namespace
