// Draws the program's icon for installation, from the same drawing as the
// window's icon:  zelt-icons <folder> <name> <size>...
// writes <folder>/<name>.svg and one <folder>/<name>-<size>.png per size.

#include "app/maker_icon.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QTextStream>

namespace {

bool write_svg(const QString& path)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(32, 32));
    svg.setViewBox(QRect(0, 0, 32, 32));
    svg.setTitle(QStringLiteral("zelt-esc"));
    QPainter p;
    if (!p.begin(&svg))
        return false;
    paint_maker_icon(p, 32);
    return p.end();
}

bool write_png(const QString& path, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paint_maker_icon(p, size);
    p.end();
    return image.save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv)
{
    // Runs during the build, where there may be no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        err << "usage: zelt-icons <folder> <name> <size>...\n";
        return 2;
    }
    const QDir folder(args[1]);
    const QString name = args[2];
    if (!QDir().mkpath(folder.path()) || !write_svg(folder.filePath(name + QStringLiteral(".svg")))) {
        err << "zelt-icons: cannot write " << folder.filePath(name + QStringLiteral(".svg")) << "\n";
        return 1;
    }
    for (const QString& sizeText : args.mid(3)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        const QString path = folder.filePath(QStringLiteral("%1-%2.png").arg(name, sizeText));
        if (!ok || size < 1 || !write_png(path, size)) {
            err << "zelt-icons: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
