#include "firmware/image_file.h"
#include "testing/qstring_printer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <sys/stat.h>

using firmware::ImageFile;

namespace {

QStringList all_lines(ImageFile& file)
{
    QStringList lines;
    while (const std::optional<QString> line = file.readLine())
        lines << *line;
    return lines;
}

}  // namespace

TEST(ImageFile, LinesEndAtLineFeedAndCtrlZEndsTheFile)
{
    const struct {
        const char* name;
        QByteArray content;
        QStringList lines;
    } cases[] = {
        {"LF", "V1.2\n:00\n", {"V1.2", ":00"}},
        {"CR LF", "V1.2\r\n:00\r\n", {"V1.2", ":00"}},
        {"last line without line end", "V1.2\r\n:0011", {"V1.2", ":0011"}},
        {"empty lines kept", "V1.2\n\n\r\n:00\n", {"V1.2", "", "", ":00"}},
        {"lone CR stays", "V1.2\r:00\n", {"V1.2\r:00"}},
        {"Ctrl-Z ends the file", "V1.2\n:00\n\x1A:11\n", {"V1.2", ":00"}},
        {"Ctrl-Z inside a line", "V1.2\n:0022\x1A\n:11\n", {"V1.2", ":0022"}},
        {"empty file", "", {}},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& c : cases) {
        const QString path = dir.filePath(QStringLiteral("upt03.blo"));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(c.content);
        out.close();

        ImageFile file;
        ASSERT_TRUE(file.open(path)) << c.name;
        EXPECT_EQ(all_lines(file), c.lines) << c.name;
        EXPECT_EQ(file.error(), QString()) << c.name;
        EXPECT_EQ(file.readLine(), std::nullopt) << c.name << ": reading past the end";
    }
}

// What is no regular file, or is far larger than an image, is refused at
// once: a FIFO does not hang the open, a device is never read.
TEST(ImageFile, OpenFailuresSayWhy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto make_file = [](qint64 size) {
        return [size](const QString& p) {
            QFile f(p);
            return f.open(QIODevice::WriteOnly) && f.write("V1.2\n") == 5 && f.resize(size);
        };
    };
    struct Case {
        const char* name;
        std::function<bool(const QString&)> make;  // null: nothing there
        const char* error;                         // empty: it opens
    };
    const Case cases[] = {
        {"upt05.blo", nullptr, "File not found"},
        {"upt07.blo", [](const QString& p) { return QDir().mkdir(p); }, "Is a folder, not a file"},
        {"upt03.blo", [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0666) == 0; },
         "Is a FIFO, not a file"},
        {"upt04.blo", make_file(ImageFile::kMaxBytes + 1), "Is larger than 1 MiB"},
        {"upt06.blo", make_file(ImageFile::kMaxBytes), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(!c.make || c.make(path));
        ImageFile file;
        EXPECT_EQ(file.open(path), !*c.error);
        EXPECT_EQ(file.error(), QString::fromLatin1(c.error));
        if (*c.error) {
            EXPECT_EQ(file.readLine(), std::nullopt);
        } else {
            EXPECT_EQ(file.readLine(), QStringLiteral("V1.2"));
        }
    }
}

TEST(ImageFile, UnreadableFileIsNotReportedAsMissing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ImageFile file;
    const QString locked = dir.filePath(QStringLiteral("upt11.blo"));
    QFile out(locked);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("V1.2\n");
    out.close();
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    if (QFile(locked).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that read any file";
    EXPECT_FALSE(file.open(locked));
    EXPECT_FALSE(file.error().isEmpty());
    EXPECT_NE(file.error(), QStringLiteral("File not found"));
}
