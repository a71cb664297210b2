#include "app/close_on_signal.h"
#include "app/tform1.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    TForm1 form{AppEnv{}};
    CloseOnSignal closeOnSignal(&form);
    form.show();
    const int status = app.exec();
    return CloseOnSignal::failed() ? 1 : status;
}
