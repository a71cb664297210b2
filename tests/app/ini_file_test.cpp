#include "params/ini_file.h"
#include "tests/app/file_helpers.h"

#include <gtest/gtest.h>
#include <QDir>
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
    write_bytes(path(), "[inc]\nOTHER1=4\n[ComSet]\ncom=COM5\n");
    IniFile ini(path());
    EXPECT_EQ(ini.readInteger("INC", "other1", 0), 4);
    EXPECT_EQ(ini.readString("COMSET", "COM", "x"), "COM5");

    ini.writeInteger("Inc", "Other1", 1);
    ini.writeString("COMSET", "COM", "COM6");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(read_bytes(path()), QByteArray("[inc]\nOTHER1=1\n\n[ComSet]\ncom=COM6\n"));
}

TEST_F(IniFileTest, KeepsWhatItDoesNotKnowInItsOrder)
{
    write_bytes(path(),
                "; written by hand\n\n[Extra]\nfoo = bar\n; note on baz\nbaz=1\n\n\n[COMSET]\nCOM=COM3\n"
                "flow=none\n");
    IniFile ini(path());
    ini.writeString("COMSET", "COM", "COM4");
    ini.writeInteger("INC", "other2", 0);
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(
        read_bytes(path()),
        QByteArray("; written by hand\n\n[Extra]\nfoo=bar\n\n; note on baz\nbaz=1\n\n[COMSET]\nCOM=COM4\n"
                   "flow=none\n\n[INC]\nother2=0\n"));
}

TEST_F(IniFileTest, ReadsFilesWithByteOrderMarkAndWindowsLineEnds)
{
    write_bytes(path(), "\xEF\xBB\xBF[INC]\r\nother1=3\r\n[COMSET]\r\nCOM=COM2\r\n");
    IniFile ini(path());
    EXPECT_EQ(ini.readInteger("INC", "other1", 0), 3);
    EXPECT_EQ(ini.readString("COMSET", "COM", ""), "COM2");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(read_bytes(path()), QByteArray("[INC]\nother1=3\n\n[COMSET]\nCOM=COM2\n"));
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

}  // namespace
