// zelt-cli: the settings, the firmware and the speed test of an ESC from a
// terminal or a script, without a window or a display.

#include "cli/commands.h"
#include "shutdown/crash_stop.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    install_crash_stop();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelt-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELT_VERSION));
    return cli::run_cli(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
}
