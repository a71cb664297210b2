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

#include <optional>

int main(int argc, char** argv)
{
    install_crash_stop();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELT_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The production station: a tile per port, PASS and FAIL "
                                                    "readable from across the bench."));
    parser.addHelpOption();
    parser.addVersionOption();
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
