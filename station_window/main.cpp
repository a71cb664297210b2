// zelt-station: the production station in a window. A signal ends it as
// Stop does: the running jobs finish first, then the window closes.

#include "serial/port_watcher.h"
#include "shutdown/crash_stop.h"
#include "shutdown/finish_first.h"
#include "shutdown/stop_signals.h"
#include "station_window/station_settings.h"
#include "station_window/station_window.h"
#include "station_window/widget_dialogs.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>

#include <cstring>
#include <optional>

namespace {

// --help and --version are answered without a display.
bool asks_help_or_version(int argc, char** argv)
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELT_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The production station in a window: a tile per port that shows, readable from across the bench, "
        "whether the unit passed. Each ESC plugged into a setting card is identified and read, then, as "
        "chosen, "
        "updated, given a setup file's settings and spin-checked; the records go to an SQLite file or a "
        "PostgreSQL server. Space starts and stops the station."));
    parser.addHelpOption();
    parser.addVersionOption();
    if (asks_help_or_version(argc, argv)) {
        QCoreApplication app(argc, argv);
        parser.process(app);  // prints the text and ends the program
        return 0;
    }
    install_crash_stop();
    QApplication app(argc, argv);
    parser.process(app);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZELT_STATION_APP_ID));

    StopSignals stop(QStringLiteral("zelt-station"));
    std::optional<FinishFirst> finishing;
    QSettings settings(station_window::station_settings_path(), QSettings::IniFormat);
    PortWatcher ports;
    station_window::WidgetDialogs dialogs(nullptr);
    station_window::StationWindow window(settings, dialogs, ports, QCoreApplication::applicationDirPath());
    QObject::connect(&stop, &StopSignals::stopRequested, &window, [&] {
        // Until the running jobs have finished, the shut-down's deadline waits.
        if (window.running())
            finishing.emplace();
        window.close();
    });
    window.show();
    const int status = app.exec();
    finishing.reset();
    return stop.caught() != 0 ? stop.exitStatus() : status;
}
