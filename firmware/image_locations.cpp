#include "firmware/image_locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace firmware {

QString installed_data_folder(const QString& programDir)
{
    // The path from the installation's bin folder to its share folder, so
    // that a copy installed under any prefix finds its own.
    return QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(ZELT_DATA_FROM_BIN "/zelt")));
}

QStringList image_folders(const QString& programDir)
{
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QStringList folders{QDir::cleanPath(programDir)};
    if (!userData.isEmpty())
        folders << QDir(userData).filePath(QStringLiteral("zelt/firmware"));
    folders << QDir(installed_data_folder(programDir)).filePath(QStringLiteral("firmware"));
    return folders;
}

QString find_image(const QStringList& folders, const QString& fileName)
{
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo::exists(path))
            return path;
    }
    return QString();
}

QString missing_image_text(const QString& fileName, const QStringList& folders)
{
    QString text = QCoreApplication::translate(
                       "box_text", "Cannot open the firmware image %1:\r\nFile not found\r\nLooked in:")
                       .arg(fileName);
    for (const QString& folder : folders)
        text += QStringLiteral("\r\n") + QDir::toNativeSeparators(folder);
    return text;
}

}  // namespace firmware
