#include "app/close_on_signal.h"
#include "app/program_options.h"
#include "app/first_frame_notice.h"
#include "app/tform1.h"

#include <QApplication>
#include <QCommandLineParser>

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

    QApplication app(argc, argv);
    parser.process(app);  // an unknown option ends the program with a message
    QApplication::setStyle(QStringLiteral("Fusion"));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZELT_APP_ID));  // the desktop entry's name
    TForm1 form{AppEnv{}};
    CloseOnSignal closeOnSignal(&form);
    announce_first_frame(&form);
    form.show();
    const int status = app.exec();
    return CloseOnSignal::failed() ? 1 : status;
}
