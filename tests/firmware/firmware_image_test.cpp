#include "firmware/firmware_image.h"
#include "testing/qstring_printer.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace firmware;

namespace {

// 32 hex digits that differ from line to line, so that a dropped, doubled or
// reordered line changes the image.
QString payload(int i)
{
    return QStringLiteral("%1")
               .arg(i * 2654435761u % 0xFFFFFFFFu, 8, 16, QLatin1Char('0'))
               .toUpper()
               .repeated(3) +
           QStringLiteral("%1").arg(i, 8, 16, QLatin1Char('0')).toUpper();
}

QStringList data_lines(int count, const QString& tail = {})
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QLatin1Char(':') + payload(i) + tail;
    return lines;
}

QString payloads(int count)
{
    QString image;
    for (int i = 0; i < count; ++i)
        image += payload(i);
    return image;
}

struct ReadResult {
    QString image;
    int dataLines = 0;
    int linesRead = 0;  // lines handed over before reading stopped
    QString fault;
};

ReadResult read_lines(const QStringList& lines)
{
    DataLineReader reader;
    ReadResult r;
    for (const QString& line : lines) {
        ++r.linesRead;
        if (!reader.take(line))
            break;
    }
    r.image = reader.image();
    r.dataLines = reader.dataLines();
    r.fault = reader.fault();
    return r;
}

}  // namespace

TEST(ImageFileName, GroupsOneToSixNameTheirFilesOthersNone)
{
    const struct {
        int group;
        const char* name;
    } cases[] = {{1, "upt03.blo"}, {2, "upt05.blo"}, {3, "upt07.blo"}, {4, "upt11.blo"}, {5, "upt13.blo"},
                 {6, "upt15.blo"}, {0, ""},          {7, ""},          {-1, ""},         {100, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(image_file_name(c.group), QString::fromLatin1(c.name)) << "group " << c.group;
}

TEST(ImageHeader, VersionIsCharactersTwoToFourAndCodeIsTwoAndFour)
{
    const struct {
        const char* line;
        const char* version;
        const char* code;
        bool valid;
    } cases[] = {
        {"V1.2", "1.2", "12", true},
        {"V1.2 built for the T-series\r", "1.2", "12", true},
        {"x3.7", "3.7", "37", true},
        {"V0-9", "0-9", "09", true},   // only the two digits travel
        {"VA.2", "A.2", "A2", true},  // hex digits name a byte as well
        {"V1.b", "1.b", "1b", true},
        {"VG.2", "G.2", "G2", false},  // no byte
        {"V1. ", "1. ", "1 ", false},
        {"V1.", "1.", "", false},
        {"V", "", "", false},
        {"", "", "", false},
        {":10000000", "100", "10", true},  // no header at all: the first data line's digits are taken
    };
    for (const auto& c : cases) {
        const ImageHeader h = parse_header(QString::fromLatin1(c.line));
        EXPECT_EQ(h.version, QString::fromLatin1(c.version)) << c.line;
        EXPECT_EQ(h.versionCode, QString::fromLatin1(c.code)) << c.line;
        EXPECT_EQ(h.valid(), c.valid) << c.line;
    }
}

TEST(DataLines, ChecksumAfterCharacter33AndEmptyLinesChangeNothing)
{
    const ReadResult plain = read_lines(data_lines(kDataLines));
    ASSERT_EQ(plain.image, payloads(kDataLines));
    EXPECT_EQ(plain.image.size(), kImageChars);
    EXPECT_TRUE(plain.fault.isEmpty()) << plain.fault.toStdString();

    const ReadResult withChecksum = read_lines(data_lines(kDataLines, QStringLiteral("C7")));
    EXPECT_EQ(withChecksum.image, plain.image);
    EXPECT_TRUE(withChecksum.fault.isEmpty());

    QStringList spaced = data_lines(kDataLines);
    spaced.insert(0, QString());
    spaced.insert(100, QString());
    spaced.insert(101, QString());
    spaced.append(QString());
    const ReadResult withEmpty = read_lines(spaced);
    EXPECT_EQ(withEmpty.image, plain.image);
    EXPECT_EQ(withEmpty.dataLines, kDataLines);
    EXPECT_TRUE(withEmpty.fault.isEmpty());
}

TEST(DataLines, ReadingStopsAtTheRightLine)
{
    const QString end = QStringLiteral(":00000001FF");
    const struct {
        const char* name;
        QStringList lines;
        int dataLines;
        int linesRead;
    } cases[] = {
        {"400 lines: the first 384 only", data_lines(400), 384, 384},
        {"end line", data_lines(10) << end << data_lines(5), 10, 11},
        {"line without colon", data_lines(7) << QStringLiteral("V1.3") << data_lines(5), 7, 8},
        {"blank before colon", data_lines(3) << QStringLiteral(" :0011") << data_lines(5), 3, 4},
        {"end of lines", data_lines(20), 20, 20},
    };
    for (const auto& c : cases) {
        const ReadResult r = read_lines(c.lines);
        EXPECT_EQ(r.dataLines, c.dataLines) << c.name;
        EXPECT_EQ(r.linesRead, c.linesRead) << c.name;
        EXPECT_EQ(r.image, payloads(c.dataLines)) << c.name;
    }
}

TEST(DataLines, EndLineFollowedByABlankIsADataLine)
{
    const ReadResult r = read_lines(data_lines(2) << QStringLiteral(":00000001FF ") << data_lines(1));
    EXPECT_EQ(r.dataLines, 4);
    EXPECT_EQ(r.image, payloads(2) + QStringLiteral("00000001FF ") + payloads(1));
    EXPECT_FALSE(r.fault.isEmpty());
}

TEST(DataLines, ShortLineGivesItsCharactersButCountsEightWords)
{
    QStringList lines = data_lines(kDataLines - 1);
    const QString shortLine = QStringLiteral(":0123456789ABCDEF012");  // 20 characters
    lines << shortLine << data_lines(3);
    const ReadResult r = read_lines(lines);
    EXPECT_EQ(r.dataLines, kDataLines);  // the short line still makes 3072 words
    EXPECT_EQ(r.linesRead, kDataLines);
    EXPECT_EQ(r.image, payloads(kDataLines - 1) + shortLine.mid(1));
    EXPECT_EQ(r.image.size(), kImageChars - 13);
    // The header is line 1, so the short line is line 385 of the file.
    EXPECT_EQ(r.fault, QStringLiteral("line 385 holds fewer than 32 hex digits"));
}

TEST(DataLines, IncompleteOrNonHexImageIsRefusedWithTheFault)
{
    QStringList nonHex = data_lines(kDataLines);
    nonHex[200] = QStringLiteral(":0123456789ABCDEF0123456789ABCDEG");
    QStringList withEmpty = data_lines(kDataLines);
    withEmpty.insert(0, QString());
    withEmpty[51] = QStringLiteral(":0123456789abcdef 123456789ABCDEF");
    const struct {
        const char* name;
        QStringList lines;
        const char* fault;
    } cases[] = {
        {"383 lines", data_lines(383), "it holds 383 data lines, a complete image has 384"},
        {"none", {}, "it holds 0 data lines, a complete image has 384"},
        {"stopped early by a line without colon",
         data_lines(100) << QStringLiteral("garbage") << data_lines(284),
         "it holds 100 data lines, a complete image has 384"},
        {"non-hex", nonHex, "line 202 holds a character that is not a hex digit"},
        {"blank inside the digits, counting the empty line", withEmpty,
         "line 53 holds a character that is not a hex digit"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read_lines(c.lines).fault, QString::fromLatin1(c.fault)) << c.name;
}

TEST(DataLines, LowerCaseHexIsAccepted)
{
    QStringList lines = data_lines(kDataLines);
    lines[5] = lines[5].toLower();
    const ReadResult r = read_lines(lines);
    EXPECT_TRUE(r.fault.isEmpty()) << r.fault.toStdString();
    EXPECT_EQ(r.image.toUpper(), payloads(kDataLines));
}
