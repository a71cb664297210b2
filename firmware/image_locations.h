#pragma once
// Where firmware images are looked for: beside the program first (a build
// tree, a copied folder), then in the user's data folder and in the
// installation's, where an installed copy keeps them.

#include <QString>
#include <QStringList>

namespace firmware {

// The installation's data folder of a program in <prefix>/bin:
// <prefix>/share/zelt. It exists only for an installed copy.
QString installed_data_folder(const QString& programDir);

// In search order: the program's folder, $XDG_DATA_HOME/zelt/firmware, and
// the installation's firmware folder.
QStringList image_folders(const QString& programDir);

// The path of fileName in the first folder that holds it (a file that exists
// but cannot be read is found, so that its own error is shown); empty when
// no folder holds it.
QString find_image(const QStringList& folders, const QString& fileName);

// What the "Error" box says when no folder holds the image.
QString missing_image_text(const QString& fileName, const QStringList& folders);

}  // namespace firmware
