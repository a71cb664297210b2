#include "params/ini_file.h"
#include "file_helpers.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <climits>
#include <functional>
#include <optional>
#include <sys/sysmacros.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString path(const char* name = "test.ini") const { return dir.filePath(name); }
    QTemporaryDir dir;
};

struct NumberCase {
    const char* stored;
    int expected;
};

TEST_F(IniFileTest, ReadsDecimalAndPrefixedHexAndFallsBackOnAnythingElse)
{
    constexpr int def = 7;
    const NumberCase cases[] = {
        {"3", 3},
        {"-1", -1},
        {"+4", 4},
        {"0", 0},
        {"0x3", 3},
        {"0X1f", 31},
        {"$3", 3},
        {"$fF", 255},
        {"-$10", -16},
        {"  12  ", 12},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"three", def},
        {"", def},
        {"3a", def},
        {"0x", def},
        {"$", def},
        {"-", def},
        {"0xG1", def},
        {"1 2", def},
        {"--1", def},
        {"2147483648", def},
        {"$80000000", def},
        {"99999999999999999999", def},
        {"3.0", def},
        {"\xd9\xa3", def},  // a non-ASCII digit
    };
    QByteArray text = "[INC]\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        text += "k" + QByteArray::number(int(i)) + "=" + cases[i].stored + "\n";
    write_bytes(path(), text);

    const IniFile ini(path());
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ini.readInteger("INC", QString("k%1").arg(i), def), cases[i].expected)
            << "stored text '" << cases[i].stored << "'";
    EXPECT_EQ(ini.readInteger("INC", "absent", def), def);
    EXPECT_EQ(ini.readInteger("NOSECTION", "k0", def), def);
}

TEST_F(IniFileTest, MissingFileReadsDefaultsAndIsCreatedOnSave)
{
    IniFile ini(path());
    EXPECT_EQ(ini.readString("COMSET", "COM", "COM1"), "COM1");
    EXPECT_EQ(ini.readInteger("INC", "other1", 2), 2);
    EXPECT_EQ(ini.path(), path());

    ini.writeString("A", "name", "text with = sign");
    ini.writeInteger("A", "n", -1);
    ASSERT_TRUE(ini.save());
    // key=value without blanks around "=", no byte-order mark, one line each.
    EXPECT_EQ(read_bytes(path()), QByteArray("[A]\nname=text with = sign\nn=-1\n"));
}

TEST_F(IniFileTest, NamesMatchWithoutRegardToCaseAndKeepTheirSpelling)
{
    write_bytes(path(), "[inc]\nOTHER1=4\n[ComSet]\n  com = COM5\n");
    IniFile ini(path());
    EXPECT_EQ(ini.readInteger("INC", "other1", 0), 4);
    EXPECT_EQ(ini.readString("COMSET", "COM", "x"), "COM5");

    ini.writeInteger("Inc", "Other1", 1);
    ini.writeString("COMSET", "COM", "COM6");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(read_bytes(path()), QByteArray("[inc]\nOTHER1=1\n[ComSet]\n  com=COM6\n"));
}

// Each file is saved with new values, then saved again with the same values.
// Only the lines of the keys written may change, and the second save changes
// nothing at all.
struct OddFileCase {
    const char* name;
    QByteArray before;
    QByteArray after;  // after the first save
    const char* com;   // what COMSET/COM reads before the save
};

TEST_F(IniFileTest, OddFilesKeepEveryByteOutsideTheKeysWritten)
{
    using namespace Qt::StringLiterals;
    const OddFileCase cases[] = {
        {"NUL bytes", "[Extra]\na=\0b\n\0\n[COMSET]\nCOM=COM3\nx=1\0\n[INC]\nother1=1\n"_ba,
         "[Extra]\na=\0b\n\0\n[COMSET]\nCOM=COM4\nx=1\0\n[INC]\nother1=2\n"_ba, "COM3"},
        // The stray carriage return makes a section of another name.
        {"CR inside a section line", "[COM\rSET]\nCOM=COM3\n[INC]\nother1=1\n"_ba,
         "[COM\rSET]\nCOM=COM3\n[INC]\nother1=2\n\n[COMSET]\nCOM=COM4\n"_ba, "-"},
        // An unclosed section line opens a section nobody can ask for.
        {"unclosed [", "[COMSET]\nCOM=COM3\n[Extra\n; note\nCOM=COM8\n[INC]\nother1=1\n"_ba,
         "[COMSET]\nCOM=COM4\n[Extra\n; note\nCOM=COM8\n[INC]\nother1=2\n"_ba, "COM3"},
        // New keys go after the last key, the comment stays with the next section.
        {"comment before a section", "[INC]\nlow_volt_mode=1\n\n; the port\n[COMSET]\nbaud=1\n"_ba,
         "[INC]\nlow_volt_mode=1\nother1=2\n\n; the port\n[COMSET]\nbaud=1\nCOM=COM4\n"_ba, "-"},
        {"CRLF", "[COMSET]\r\nCOM=COM3\r\n\r\n; end"_ba,
         "[COMSET]\r\nCOM=COM4\r\n\r\n; end\r\n\r\n[INC]\r\nother1=2\r\n"_ba, "COM3"},
        {"byte-order mark", "\xEF\xBB\xBF[COMSET]\nCOM=COM3\n[INC]\n"_ba,
         "\xEF\xBB\xBF[COMSET]\nCOM=COM4\n[INC]\nother1=2\n"_ba, "COM3"},
        {"not UTF-8", "; gr\xFC\xDF\n[\xFF]\nCOM=\xFE\n[COMSET]\nCOM=COM3\nn\xE4me=\xC0\n"_ba,
         "; gr\xFC\xDF\n[\xFF]\nCOM=\xFE\n[COMSET]\nCOM=COM4\nn\xE4me=\xC0\n\n[INC]\nother1=2\n"_ba,
         "COM3"},
        {"keys above any section and lines without =", "COM=COM7\nnonsense\n[COMSET]\n=x\nCOM\n"_ba,
         "COM=COM7\nnonsense\n[COMSET]\n=x\nCOM\nCOM=COM4\n\n[INC]\nother1=2\n"_ba, "-"},
        {"no line end at the end", "[INC]\nother1=1\n[COMSET]\nbaud=1"_ba,
         "[INC]\nother1=2\n[COMSET]\nbaud=1\nCOM=COM4\n"_ba, "-"},
        {"blanks kept on lines not written", " [COMSET] \n\tbaud = 1 \nCOM = COM3\n[INC]\n"_ba,
         " [COMSET] \n\tbaud = 1 \nCOM=COM4\n[INC]\nother1=2\n"_ba, "COM3"},
        {"first of duplicate keys and sections", "[INC]\n[COMSET]\nCOM=COM3\n[comset]\nCOM=COM5\n"_ba,
         "[INC]\nother1=2\n[COMSET]\nCOM=COM4\n[comset]\nCOM=COM5\n"_ba, "COM3"},
    };
    for (const OddFileCase& c : cases) {
        SCOPED_TRACE(c.name);
        write_bytes(path(), c.before);
        for (int round = 0; round < 2; ++round) {
            IniFile ini(path());
            if (round == 0) {
                EXPECT_EQ(ini.readString("COMSET", "COM", "-"), QString::fromLatin1(c.com));
            }
            ini.writeString("COMSET", "COM", "COM4");
            ini.writeInteger("INC", "other1", 2);
            ASSERT_TRUE(ini.save());
            EXPECT_EQ(read_bytes(path()), c.after) << "save " << round + 1;
        }
        const IniFile reread(path());
        EXPECT_EQ(reread.readString("COMSET", "COM", "-"), "COM4");
        EXPECT_EQ(reread.readInteger("INC", "other1", -9), 2);
    }
}

TEST_F(IniFileTest, ValueWithLineBreakStaysOnOneLine)
{
    IniFile ini(path());
    ini.writeString("A", "k", "x\ny\r\n[B]");
    ini.writeString("A", "next", "1");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(read_bytes(path()), QByteArray("[A]\nk=x y  [B]\nnext=1\n"));
    EXPECT_EQ(IniFile(path()).readString("A", "next", "missing"), "1");
}

TEST_F(IniFileTest, NonAsciiTextRoundTrips)
{
    IniFile ini(path());
    ini.writeString("A", "name", QString::fromUtf8("M\xc3\xbcller \xe2\x80\x94 port"));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(IniFile(path()).readString("A", "name", ""),
              QString::fromUtf8("M\xc3\xbcller \xe2\x80\x94 port"));
}

TEST_F(IniFileTest, FailedSaveLeavesTheOldFileAndNoLeftovers)
{
    const QByteArray old = "[COMSET]\nCOM=COM3\n";
    write_bytes(path(), old);
    IniFile ini(path());
    ini.writeString("COMSET", "COM", "COM9");
    {
        UnwritableFolder guard(dir.path());
        EXPECT_FALSE(ini.save());
    }
    EXPECT_EQ(read_bytes(path()), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"test.ini"});
}

TEST_F(IniFileTest, ReadOnlyFileInWritableFolderIsNotReplaced)
{
    const QByteArray old = "[A]\nk=1\n";
    write_bytes(path(), old);
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0444), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    IniFile ini(path());
    ini.writeInteger("A", "k", 2);
    {
        AsUnprivilegedUser user;
        EXPECT_FALSE(ini.save());
    }
    EXPECT_EQ(read_bytes(path()), old);
}

TEST_F(IniFileTest, SaveIntoMissingFolderFails)
{
    IniFile ini(dir.filePath("no/such/folder/test.ini"));
    ini.writeInteger("A", "k", 1);
    EXPECT_FALSE(ini.save());
}

TEST_F(IniFileTest, FileThatCannotBeReadIsNotReplaced)
{
    const QByteArray old = "[Mine]\nkept=1\n";
    write_bytes(path(), old);
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0200), 0);  // write-only
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    {
        AsUnprivilegedUser user;
        IniFile ini(path());
        EXPECT_EQ(ini.readInteger("Mine", "kept", 7), 7);
        ini.writeInteger("INC", "other1", 2);
        EXPECT_FALSE(ini.save());
    }
    ::chmod(QFile::encodeName(path()).constData(), 0600);
    EXPECT_EQ(read_bytes(path()), old);

    const QString folder = path("folder.ini");
    ASSERT_TRUE(QDir().mkdir(folder));
    IniFile ini(folder);
    ini.writeInteger("INC", "other1", 2);
    EXPECT_FALSE(ini.save());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(IniFileTest, SaveKeepsPermissionsAndRemovesTemporariesLeftByAnInterruptedSave)
{
    write_bytes(path(), "[A]\nk=1\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0640), 0);
    const QStringList leftovers = {".test.ini.Ab3xYz.saving", ".test.ini.QQQQQQ.saving"};
    const QStringList usersOwn = {"test.ini.backup", ".test.ini.saving", ".test.ini.Ab3xYz.saving.old",
                                  ".other.ini.Ab3xYz.saving"};
    for (const QString& name : leftovers + usersOwn)
        write_bytes(dir.filePath(name), "x");

    IniFile ini(path());
    ini.writeInteger("A", "k", 2);
    ASSERT_TRUE(ini.save());
    QStringList expected = usersOwn + QStringList{"test.ini"};
    expected.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// The mask is read, not set and put back, which another thread's new file
// could have caught in between.
TEST_F(IniFileTest, ANewFileTakesTheProcesssCreationMask)
{
    const mode_t before = ::umask(027);
    IniFile ini(path());
    ini.writeInteger("A", "k", 1);
    const bool saved = ini.save();
    const mode_t after = ::umask(before);
    ASSERT_TRUE(saved);
    EXPECT_EQ(after, 027u);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// What is no regular file of a sane size reads as a file that cannot be read
// (the window then takes its fallbacks) and is never replaced: a FIFO neither
// hangs the read nor the save, a device stays a device.
TEST_F(IniFileTest, OnlyRegularFilesOfAtMost64KiBAreReadOrReplaced)
{
    struct Case {
        const char* name;
        std::function<bool(const QString&)> make;  // false: cannot be made here
        const char* readError;                     // empty: the file is read
    };
    const Case cases[] = {
        {"fifo", [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0666) == 0; },
         "Is a FIFO, not a file"},
        {"device",
         [](const QString& p) {
             return ::mknod(QFile::encodeName(p).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;  // as /dev/null
         },
         "Is a device, not a file"},
        {"folder", [](const QString& p) { return QDir().mkdir(p); }, "Is a folder, not a file"},
        {"too large",
         [](const QString& p) {
             write_bytes(p, "[A]\nk=1\n" + QByteArray(IniFile::kMaxBytes, '\n'));
             return true;
         },
         "Is larger than 64 KiB"},
        {"at the limit",
         [](const QString& p) {
             write_bytes(p, "[A]\nk=1\n" + QByteArray(IniFile::kMaxBytes - 8, '\n'));
             return true;
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(c.name);
        if (!c.make(file)) {
            EXPECT_NE(::geteuid(), 0u) << "only a device needs root to be made";
            continue;
        }
        struct stat before {};
        ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &before), 0);
        IniFile ini(file);
        EXPECT_EQ(ini.readError(), c.readError);
        EXPECT_EQ(ini.readInteger("A", "k", 7), *c.readError ? 7 : 1);
        ini.writeInteger("A", "k", 2);
        EXPECT_EQ(ini.saveProblem(), c.readError);
        EXPECT_EQ(ini.save(), !*c.readError);
        EXPECT_EQ(ini.saveError(), c.readError);
        struct stat after {};
        ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &after), 0);
        EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
        if (S_ISCHR(after.st_mode)) {
            EXPECT_EQ(after.st_rdev, before.st_rdev);
        }
    }
}

// A replaced file keeps its owner and group, the window's own zelt.ini too;
// when they cannot be kept, the file stays as it was.
TEST_F(IniFileTest, ReplacedFileKeepsItsOwnerAndGroupOrIsNotReplaced)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    const std::function<bool(const QString&)> writers[] = {
        [](const QString& p) {
            IniFile ini(p);
            ini.writeInteger("INC", "other1", 2);
            return ini.save();
        },
        [](const QString& p) { return write_settings(p, StoredSettings{}); },
    };
    struct Case {
        const char* name;
        uid_t owner;
        gid_t group;
        bool asNobody;  // saved by uid 65534, not by root
        bool replaced;
    };
    const Case cases[] = {
        {"root saves another user's file", 65534, 65534, false, true},
        {"a user saves a file of another user", 1234, 1234, true, false},
        {"a user saves their file of a group not theirs", 65534, 4321, true, false},
    };
    for (const auto& write : writers) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const QString file = path("owned.ini");
            const QByteArray old = "[Theirs]\nkept=1\n";
            write_bytes(file, old);
            const QByteArray name = QFile::encodeName(file);
            ASSERT_EQ(::chown(name.constData(), c.owner, c.group), 0);
            ASSERT_EQ(::chmod(name.constData(), c.asNobody ? 0666 : 0640), 0);
            {
                std::optional<AsUnprivilegedUser> user;
                if (c.asNobody)
                    user.emplace();
                EXPECT_EQ(write(file), c.replaced);
            }
            struct stat st {};
            ASSERT_EQ(::stat(name.constData(), &st), 0);
            EXPECT_EQ(st.st_uid, c.owner);
            EXPECT_EQ(st.st_gid, c.group);
            EXPECT_EQ(st.st_mode & 0777, c.asNobody ? 0666u : 0640u);
            EXPECT_EQ(read_bytes(file) == old, !c.replaced);
            EXPECT_TRUE(read_bytes(file).startsWith(old));
            ASSERT_TRUE(QFile::remove(file));
        }
    }
}

}  // namespace
