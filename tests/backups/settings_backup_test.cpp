// Settings backups on disk: where they go, their names and contents, the
// newest kept, two saves at once, and the window's rule of backing up only
// its own last read.

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
#include <QTimeZone>

#include <gtest/gtest.h>
#include <latch>
#include <thread>

namespace {

const SettingValues kHeld = {1, 1, 2, 2, 3, 2, 4, 1};
// 20:52:07.123 UTC, on a clock an hour ahead of it.
const QDateTime kWhen(QDate(2026, 12, 8), QTime(21, 52, 7, 123), QTimeZone(3600));

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

TEST(BackupLocation, FollowsXdgStateHomeThenHomeAndNeverTheRoot)
{
    struct Case {
        const char* state;  // null: unset
        const char* home;   // null: unset
        QString folder;     // empty: none
    };
    const Case cases[] = {
        {"/srv/bench/state", "/home/op", "/srv/bench/state/zelt/backups"},
        {nullptr, "/home/op", "/home/op/.local/state/zelt/backups"},
        {"", "/home/op", "/home/op/.local/state/zelt/backups"},
        {"relative/state", "/home/op", "/home/op/.local/state/zelt/backups"},  // only an absolute path counts
        {"/srv/bench/state", nullptr, "/srv/bench/state/zelt/backups"},
        {nullptr, nullptr, {}},
        {"", "", {}},
        {nullptr, "relative/home", {}},
        {nullptr, "/", {}},
    };
    for (const Case& c : cases) {
        const std::string row = std::string(c.state ? c.state : "(unset)") + ", " + (c.home ? c.home : "(unset)");
        ScopedEnv state("XDG_STATE_HOME", QByteArray(c.state));
        ScopedEnv home("HOME", QByteArray(c.home));
        if (!c.state)
            qunsetenv("XDG_STATE_HOME");
        if (!c.home)
            qunsetenv("HOME");
        QString whyNone;
        EXPECT_EQ(backups::folder(&whyNone), c.folder) << row;
        EXPECT_EQ(whyNone.isEmpty(), !c.folder.isEmpty()) << row;
        if (c.folder.isEmpty()) {
            QString error;
            EXPECT_EQ(backups::save(kHeld, "ESC_T03", &error, kWhen), std::nullopt) << row;
            EXPECT_EQ(error, "neither XDG_STATE_HOME nor HOME names a folder for them (an absolute path, not /)")
                << row;
            EXPECT_TRUE(backups::list().isEmpty()) << row;
        }
    }
    EXPECT_FALSE(QFileInfo::exists("/.local/state/zelt")) << "nothing was written at the root";
}

TEST_F(BackupFolder, NameCarriesNumberUtcTimeAndModelAndTheFileHoldsAllEight)
{
    struct Case {
        QString model;
        const char* name;
    };
    const Case cases[] = {
        {"ESC_T03", "000001_2026-12-08_20-52-07.123Z_ESC_T03.zelt"},
        {"ESC_T03", "000002_2026-12-08_20-52-07.123Z_ESC_T03.zelt"},  // the same millisecond again
        {"T/4 x", "000003_2026-12-08_20-52-07.123Z_T_4_x.zelt"},
        {"", "000004_2026-12-08_20-52-07.123Z_unknown.zelt"},
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

// The newest are kept, by their number: a backup made after the clock or the
// time zone went back is the newest all the same, and never the one pruned.
// Backups named by their local time alone are older than any numbered one.
TEST_F(BackupFolder, KeepsTheNewestHundredAndNoFileOfTheUsers)
{
    ASSERT_TRUE(QDir().mkpath(backupDir()));
    const QDir dir(backupDir());
    for (const char* name : {"my-settings.zelt", "2026-12-01_10-00-00.000_ESC_T03.zelt"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString oldStyle = dir.filePath("2026-12-01_10-00-00.000_ESC_T03.zelt");
    EXPECT_EQ(backups::list(), QStringList{oldStyle});

    QStringList saved;
    QString error;
    for (int i = 0; i < backups::kKept - 1; ++i)
        saved.prepend(*backups::save(kHeld, "ESC_T03", &error, kWhen.addSecs(i * 3600)));
    EXPECT_EQ(backups::list(), saved + QStringList{oldStyle});
    const QDateTime steps[] = {
        kWhen.addSecs(-7200),                                         // the clock went back
        kWhen.toTimeZone(QTimeZone(-5 * 3600)),  // the time zone went back
    };
    for (const QDateTime& when : steps) {
        const std::optional<QString> path = backups::save(kHeld, "ESC_T03", &error, when);
        ASSERT_TRUE(path) << error.toStdString();
        saved.prepend(*path);
        EXPECT_EQ(backups::list().first(), *path) << "the newest";
    }
    EXPECT_EQ(backups::list(), saved.mid(0, backups::kKept));
    EXPECT_FALSE(QFileInfo::exists(oldStyle));
    for (const QString& gone : saved.mid(backups::kKept))
        EXPECT_FALSE(QFileInfo::exists(gone)) << gone.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("my-settings.zelt")));
}

// Two saves at once (two ESCs written at the same time) never share a file.
TEST_F(BackupFolder, TwoSavesAtOnceNeverShareAFile)
{
    const SettingValues other = {0, 2, 0, 3, 1, 0, 2, 0};
    for (int round = 0; round < 50; ++round) {
        std::latch start(2);
        std::optional<QString> paths[2];
        QString errors[2];
        const auto save = [&](int i) {
            start.arrive_and_wait();
            paths[i] = backups::save(i == 0 ? kHeld : other, "ESC_T03", &errors[i], kWhen);
        };
        std::thread a(save, 0);
        std::thread b(save, 1);
        a.join();
        b.join();
        ASSERT_TRUE(paths[0] && paths[1]) << errors[0].toStdString() << errors[1].toStdString();
        ASSERT_NE(*paths[0], *paths[1]) << "round " << round;
        EXPECT_EQ(values_in(*paths[0]), kHeld) << "round " << round;
        EXPECT_EQ(values_in(*paths[1]), other) << "round " << round;
    }
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
