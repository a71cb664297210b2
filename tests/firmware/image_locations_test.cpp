// Where an image is found: the program's folder first, then the user's data
// folder, then the installation's; and what the box says when none has it.

#include "firmware/image_locations.h"
#include "testing/qstring_printer.h"
#include "testing/scoped_env.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// A scratch installation: <root>/bin is the program's folder,
// <root>/share/zelt/firmware the installation's, <root>/data the user's.
class ImageLocations : public ::testing::Test {
protected:
    QString program() const { return root.filePath("bin"); }
    QString user() const { return root.filePath("data/zelt/firmware"); }
    QString system() const { return root.filePath("share/zelt/firmware"); }
    void put(const QString& folder) const
    {
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile f(QDir(folder).filePath("upt03.blo"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    QTemporaryDir root;
    ScopedEnv data{"XDG_DATA_HOME", QFile::encodeName(root.filePath("data"))};
};

TEST_F(ImageLocations, TheFirstFolderHoldingTheImageWins)
{
    ASSERT_TRUE(QDir().mkpath(program()));
    struct Case {
        const char* name;
        std::vector<QString> holding;
        QString found;
    };
    const Case cases[] = {
        {"everywhere", {program(), user(), system()}, program()},
        {"user and system", {user(), system()}, user()},
        {"user only", {user()}, user()},
        {"system only", {system()}, system()},
    };
    for (const Case& c : cases) {
        for (const QString& folder : {program(), user(), system()})
            QFile::remove(QDir(folder).filePath("upt03.blo"));
        for (const QString& folder : c.holding)
            put(folder);
        EXPECT_EQ(firmware::find_image(firmware::image_folders(program()), "upt03.blo"),
                  QDir(c.found).filePath("upt03.blo"))
            << c.name;
    }
}

TEST_F(ImageLocations, NoFolderHoldingItNamesEveryFolderLookedIn)
{
    const QStringList folders = firmware::image_folders(program());
    EXPECT_EQ(firmware::find_image(folders, "upt03.blo"), QString());
    EXPECT_EQ(firmware::missing_image_text("upt03.blo", folders),
              "Cannot open the firmware image upt03.blo:\r\nFile not found\r\nLooked in:\r\n" + program() +
                  "\r\n" + user() + "\r\n" + system());
}

}  // namespace
