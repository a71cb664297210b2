#include "params/ini_file.h"
#include "file_helpers.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <climits>

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

}  // namespace
