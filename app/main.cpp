#include "app/close_on_signal.h"
#include "app/display_loss.h"
#include "app/program_options.h"
#include "app/first_frame_notice.h"
#include "app/tform1.h"
#include "app/translation.h"
#include "app/window_placement.h"
#include "serial/trace_capture.h"
#include "shutdown/crash_stop.h"
#include "shutdown/stop_signals.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELT_VERSION));
    QCommandLineParser parser;
    describe_program(parser);
    if (asks_help_or_version(argc, argv)) {
        QCoreApplication app(argc, argv);
        parser.process(app);  // prints the text and ends the program
        return 0;
    }

    install_crash_stop();
    QApplication app(argc, argv);
    parser.process(app);  // an unknown option ends the program with a message
    install_translations(app, chosen_locale(language_option(parser)));
    // Before any port opens, and until the window has closed them.
    LinkTraceCapture trace;
    trace.keepFromStart();  // for the log window (Ctrl+L), whenever it opens
    if (const QString log = log_file_option(parser); !log.isEmpty()) {
        QString error;
        if (!trace.logToFile(log, &error)) {
            QTextStream(stderr) << "zelt-esc: cannot write the link trace to " << log << ": " << error << "\n";
            return 1;
        }
    }
    QApplication::setStyle(QStringLiteral("Fusion"));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZELT_APP_ID));  // the desktop entry's name
    // Before the window: its start-up search may take a while, and a signal
    // then must close it too. It outlives the window, so that the bound on the
    // shut-down covers closing the port.
    StopSignals stop(QStringLiteral("zelt-esc"));
    AppEnv env;
    env.traceLines = &trace.recent();
    TForm1 form{env};
    CloseOnSignal closeOnSignal(&form, stop);
    DisplayLoss displayLoss([&form] {
        CloseOnSignal::beginUnattendedEnd();
        form.FormDestroy();
    });
    announce_first_frame(&form);
    form.show();
    fit_window_on_screen(form);
    const int status = app.exec();
    if (CloseOnSignal::failed())
        return 1;
    return stop.caught() != 0 ? stop.exitStatus() : status;
}
