// The sample firmware images: names, layout and content the program's reader
// relies on.

#include "sim/simulator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QStringList kNames = {"upt03.blo", "upt05.blo", "upt07.blo", "upt11.blo", "upt13.blo", "upt15.blo"};

QStringList lines_of(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLatin1(f.readAll()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    return lines;
}

TEST(SampleImages, SixFilesInTheReadersLayout)
{
    QTemporaryDir dir;
    ASSERT_TRUE(sim::Simulator::write_sample_images(dir.path().toStdString(), "2.4"));
    QSet<QString> images;
    for (const QString& name : kNames) {
        SCOPED_TRACE(name.toStdString());
        const QStringList lines = lines_of(dir.filePath(name));
        ASSERT_EQ(lines.size(), 1 + 384 + 1);
        EXPECT_EQ(lines.first(), "V2.4");
        EXPECT_EQ(lines.last(), ":00000001FF");
        QString image;
        for (int i = 1; i <= 384; ++i) {
            const QString& l = lines[i];
            ASSERT_EQ(l.size(), 35) << "line " << i;
            ASSERT_EQ(l[0], ':');
            int sum = 0;
            for (int b = 0; b < 17; ++b) {
                bool ok = false;
                sum += l.mid(1 + 2 * b, 2).toInt(&ok, 16);
                ASSERT_TRUE(ok) << "line " << i << " byte " << b;
            }
            EXPECT_EQ(sum & 0xFF, 0) << "checksum of line " << i;
            image += l.mid(1, 32);
        }
        EXPECT_EQ(image.size(), 12288);
        images.insert(image);
    }
    EXPECT_EQ(images.size(), 6) << "each group has an image of its own";
}

TEST(SampleImages, ContentIsTheSameEachTime)
{
    QTemporaryDir a, b;
    ASSERT_TRUE(sim::Simulator::write_sample_images(a.path().toStdString()));
    ASSERT_TRUE(sim::Simulator::write_sample_images(b.path().toStdString()));
    for (const QString& name : kNames) {
        QFile fa(a.filePath(name)), fb(b.filePath(name));
        ASSERT_TRUE(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
        EXPECT_EQ(fa.readAll(), fb.readAll()) << name.toStdString();
    }
    EXPECT_EQ(lines_of(a.filePath("upt03.blo")).first(), "V1.3");
}

TEST(SampleImages, CreatesTheFolderAndRefusesBadInput)
{
    QTemporaryDir dir;
    const QString nested = dir.filePath("demo/images");
    EXPECT_TRUE(sim::Simulator::write_sample_images(nested.toStdString()));
    EXPECT_TRUE(QFile::exists(nested + "/upt15.blo"));

    for (const char* bad : {"13", "1.23", "a.b", "1,3", ""})
        EXPECT_FALSE(sim::Simulator::write_sample_images(dir.filePath("bad").toStdString(), bad)) << bad;
    EXPECT_FALSE(QDir(dir.filePath("bad")).exists());

    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(sim::Simulator::write_sample_images(dir.filePath("file/sub").toStdString()));
}

}  // namespace
