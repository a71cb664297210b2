// Renders the main window to a PNG without a display, for the README and for
// reviewing the layout:  QT_QPA_PLATFORM=offscreen zelt-screenshot out.png
// The window starts in a fresh program folder with no ports listed, so it
// shows its initial state and touches no device.

#include "app/tform1.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Start-up shows no boxes; should one come, it is answered without showing.
class SilentDialogs : public Dialogs {
public:
    BoxAnswer message(const QString&, const QString&, BoxIcon, BoxButtons buttons) override
    {
        return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::No;
    }
    QString openFileName(const QString&, const QString&) override { return QString(); }
    QString saveFileName(const QString&, const QString&) override { return QString(); }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: zelt-screenshot <output.png>\n";
        return 2;
    }

    QTemporaryDir programDir;
    SilentDialogs dialogs;
    AppEnv env;
    env.programDir = programDir.path();
    env.listPorts = [] { return QStringList(); };
    env.dialogs = &dialogs;
    TForm1 form(env);
    form.show();
    QApplication::processEvents();
    // No text caret in the picture.
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();

    const QString out = QString::fromLocal8Bit(argv[1]);
    if (!form.grab().save(out, "PNG")) {
        err << "cannot write " << out << "\n";
        return 1;
    }
    // The settings file belongs to the temporary folder; nothing to keep.
    form.FormDestroy();
    return 0;
}
