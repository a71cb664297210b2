#include "station_window/station_settings.h"

#include <QDir>
#include <QStandardPaths>

namespace station_window {

QString station_settings_path()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("zelt/station.ini"));
}

}  // namespace station_window
