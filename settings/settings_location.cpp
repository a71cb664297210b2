#include "settings/settings_location.h"

#include "firmware/image_locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

bool folder_writable(const QString& dir)
{
    const QByteArray path = QFile::encodeName(dir);
    struct stat st {};
    if (stat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || access(path.constData(), W_OK | X_OK) != 0)
        return false;
    return geteuid() != 0 || (st.st_mode & S_IWUSR) != 0;
}

QString settings_folder(const QString& programDir)
{
    if (folder_writable(programDir) && !QFileInfo::exists(firmware::installed_data_folder(programDir)))
        return programDir;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("zelt"));
}
