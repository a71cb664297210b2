#include "app/close_on_signal.h"
#include "app/first_frame_notice.h"
#include "app/tform1.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    TForm1 form{AppEnv{}};
    CloseOnSignal closeOnSignal(&form);
    announce_first_frame(&form);
    form.show();
    return app.exec();
}
