#include "params/setup_file_format.h"
#include "params/ini_file.h"
#include "testing/file_size_limit.h"
#include "testing/qstring_printer.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(text), text.size());
}

// The lines of a file that carry something, without line ends.
QStringList contentLines(const QByteArray& text)
{
    QStringList lines;
    for (const QByteArray& line : text.split('\n')) {
        const QString trimmed = QString::fromUtf8(line).trimmed();
        if (!trimmed.isEmpty())
            lines << trimmed;
    }
    return lines;
}

class SetupFileTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
    QTemporaryDir dir_;
};

const SetupValues kFallbacks = {2, 0, 0, 0, 1, 2};

struct ReadCase {
    const char* name;
    const char* text;  // nullptr: no file at all
    SetupValues values;
};
void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.name;
}

class ReadTable : public SetupFileTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadTable, GivesTheSixValues)
{
    const ReadCase& c = GetParam();
    const QString file = path("case.zelt");
    if (c.text != nullptr)
        writeAll(file, c.text);
    EXPECT_EQ(read_setup_file(file), c.values);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadTable,
    ::testing::Values(
        ReadCase{"NoFile", nullptr, kFallbacks}, ReadCase{"EmptyFile", "", kFallbacks},
        ReadCase{"OnlySectionLine", "[INC]\n", kFallbacks},
        ReadCase{"AllKeys",
                 "[INC]\nlow_volt_threshold=1\nlow_volt_mode=1\nstartup_mode=2\nbreak_mode=2\n"
                 "timing_mode=3\ncurrent_threshold=0\n",
                 {1, 1, 2, 2, 3, 0}},
        ReadCase{"KeysInAnyOrder", "[INC]\ncurrent_threshold=0\nlow_volt_threshold=1\n", {1, 0, 0, 0, 1, 0}},
        ReadCase{"NamesIgnoreCase",
                 "[inc]\nLOW_VOLT_THRESHOLD=1\nLow_Volt_Mode=1\nStartup_Mode=2\n",
                 {1, 1, 2, 0, 1, 2}},
        ReadCase{"HexWithPrefixes",
                 "[INC]\nlow_volt_mode=0x1\nstartup_mode=$2\nbreak_mode=0X2\n",
                 {2, 1, 2, 2, 1, 2}},
        ReadCase{"NotANumberReadsAsMissing",
                 "[INC]\nlow_volt_threshold=abc\nlow_volt_mode=1x\ntiming_mode=\ncurrent_threshold=1.5\n",
                 kFallbacks},
        ReadCase{
            "OutOfRangeValuesPassThrough", "[INC]\nlow_volt_mode=7\nstartup_mode=-1\n", {2, 7, -1, 0, 1, 2}},
        ReadCase{
            "KeysOfOtherSectionsIgnored",
            "[COMSET]\nCOM=/dev/ttyS0\nlow_volt_threshold=1\n[INC]\nlow_volt_mode=1\n[More]\ntiming_mode=3\n",
            {2, 1, 0, 0, 1, 2}},
        ReadCase{"SettingsFileLoadsAsSetupFile",
                 "[COMSET]\nCOM=COM3\n[INC]\nlow_volt_threshold=1\nlow_volt_mode=1\nstartup_mode=0\n"
                 "break_mode=1\ntiming_mode=2\ncurrent_threshold=2\nother1=4\nother2=1\n",
                 {1, 1, 0, 1, 2, 2}},
        ReadCase{"CrLfLineEnds", "[INC]\r\nlow_volt_threshold=1\r\nbreak_mode=2\r\n", {1, 0, 0, 2, 1, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SetupFileTest, NewFileHoldsTheSectionThenTheSixKeysInOrder)
{
    const QString file = path("defaults.zelt");
    ASSERT_TRUE(write_setup_file(file, {0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(contentLines(readAll(file)),
              QStringList({"[INC]", "low_volt_threshold=0", "low_volt_mode=0", "startup_mode=1",
                           "break_mode=0", "timing_mode=0", "current_threshold=1"}));
}

TEST_F(SetupFileTest, ValuesSurviveSaveAndLoad)
{
    const std::vector<SetupValues> sets = {
        {0, 0, 1, 0, 0, 1}, {1, 1, 2, 2, 3, 2}, {-1, 0, -1, 1, -1, 0}, {-1, -1, -1, -1, -1, -1}};
    for (const SetupValues& values : sets) {
        const QString file = path("roundtrip.zelt");
        ASSERT_TRUE(write_setup_file(file, values));
        EXPECT_EQ(read_setup_file(file), values);
    }
}

TEST_F(SetupFileTest, EmptyListIsWrittenAsMinusOne)
{
    const QString file = path("empty.zelt");
    ASSERT_TRUE(write_setup_file(file, {0, -1, 1, 0, 0, 1}));
    EXPECT_TRUE(contentLines(readAll(file)).contains(QStringLiteral("low_volt_mode=-1")));
}

TEST_F(SetupFileTest, SavingKeepsWhatTheFileAlreadyHolds)
{
    const QString file = path("zelt.ini");
    writeAll(file,
             "[COMSET]\nCOM=/dev/ttyUSB3\n[INC]\nother1=4\nother2=1\nLOW_VOLT_MODE=1\nnote=kept\n"
             "[Extra]\nanswer=42\n");
    ASSERT_TRUE(write_setup_file(file, {1, 0, 2, 2, 3, 0}));

    const IniFile ini(file);
    EXPECT_EQ(ini.readString("COMSET", "COM", ""), QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(ini.readInteger("INC", "other1", -9), 4);
    EXPECT_EQ(ini.readInteger("INC", "other2", -9), 1);
    EXPECT_EQ(ini.readString("INC", "note", ""), QStringLiteral("kept"));
    EXPECT_EQ(ini.readInteger("Extra", "answer", -9), 42);
    EXPECT_EQ(read_setup_file(file), (SetupValues{1, 0, 2, 2, 3, 0}));
    // The existing key is updated in place, not written a second time.
    const QStringList lines = contentLines(readAll(file));
    EXPECT_EQ(lines.filter(QStringLiteral("low_volt_mode="), Qt::CaseInsensitive).size(), 1);
}

// Saved twice with the same values: the six key lines are written, every
// other byte stays, and the second save changes nothing.
TEST_F(SetupFileTest, OddFilesKeepEveryByteOutsideTheSixKeys)
{
    using namespace Qt::StringLiterals;
    const SetupValues values = {1, 0, 2, 2, 3, 0};
    const QByteArray keys =
        "low_volt_threshold=1\nlow_volt_mode=0\nstartup_mode=2\nbreak_mode=2\ntiming_mode=3\n"
        "current_threshold=0\n"_ba;
    QByteArray keysCrLf = keys;
    keysCrLf.replace("\n", "\r\n");
    const struct {
        const char* name;
        QByteArray before, after;
    } cases[] = {
        {"NUL bytes", "; a\0b\n[X]\nk=\0\n"_ba, "; a\0b\n[X]\nk=\0\n\n[INC]\n"_ba + keys},
        {"CR inside a section line", "[IN\rC]\nlow_volt_mode=5\n"_ba,
         "[IN\rC]\nlow_volt_mode=5\n\n[INC]\n"_ba + keys},
        {"unclosed [", "[INC]\n[Mine\nlow_volt_mode=5\n"_ba, "[INC]\n"_ba + keys + "[Mine\nlow_volt_mode=5\n"_ba},
        {"comment before a section", "[INC]\nlow_volt_threshold=0\n\n; mine\n[Mine]\nx=1\n"_ba,
         "[INC]\n"_ba + keys + "\n; mine\n[Mine]\nx=1\n"_ba},
        {"CRLF", "[Mine]\r\nx=1\r\n"_ba, "[Mine]\r\nx=1\r\n\r\n[INC]\r\n"_ba + keysCrLf},
        {"byte-order mark", "\xEF\xBB\xBF[INC]\n"_ba, "\xEF\xBB\xBF[INC]\n"_ba + keys},
        {"not UTF-8", "[\xFF]\nlow_volt_mode=\xFE\n[INC]\n\xC0=1\n"_ba,
         "[\xFF]\nlow_volt_mode=\xFE\n[INC]\n\xC0=1\n"_ba + keys},
    };
    const QString file = path("odd.zelt");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeAll(file, c.before);
        ASSERT_TRUE(write_setup_file(file, values));
        EXPECT_EQ(readAll(file), c.after);
        ASSERT_TRUE(write_setup_file(file, values));
        EXPECT_EQ(readAll(file), c.after);
        EXPECT_EQ(read_setup_file(file), values);
    }
}

TEST_F(SetupFileTest, FailedSaveLeavesTheOldFileWhole)
{
    const QString file = path("old.zelt");
    const QByteArray old = "[INC]\nlow_volt_threshold=1\nlow_volt_mode=1\n[Mine]\nx=1\n";
    writeAll(file, old);
    bool saved = true;
    QString error;
    {
        const FileSizeLimit limit(8);
        saved = write_setup_file(file, {0, 0, 1, 0, 0, 1}, &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, QStringLiteral("File too large"));
    EXPECT_EQ(readAll(file), old);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"old.zelt"}));
}

TEST_F(SetupFileTest, SaveToAPlaceThatCannotHoldAFileFails)
{
    const QString inMissingFolder = path("no/such/folder/a.zelt");
    QString error;
    EXPECT_FALSE(write_setup_file(inMissingFolder, {0, 0, 1, 0, 0, 1}, &error));
    EXPECT_EQ(error, QStringLiteral("No such file or directory"));
    EXPECT_FALSE(QFile::exists(inMissingFolder));

    const QString folder = path("folder.zelt");
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_FALSE(write_setup_file(folder, {0, 0, 1, 0, 0, 1}, &error));
    EXPECT_EQ(error, QStringLiteral("Is a folder, not a file"));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

}  // namespace
