#include "app/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Owned by the application, so that they live as long as it translates.
QTranslator* own_translator(QCoreApplication& app, const char* name)
{
    auto* t = app.findChild<QTranslator*>(QLatin1String(name));
    if (!t) {
        t = new QTranslator(&app);
        t->setObjectName(QLatin1String(name));
    }
    QCoreApplication::removeTranslator(t);
    return t;
}

}  // namespace

QStringList translation_dirs()
{
    const QString bin = QCoreApplication::applicationDirPath();
    return {bin + QStringLiteral("/translations"),
            QDir::cleanPath(bin + QStringLiteral("/../share/zelt/translations"))};
}

bool install_translations(QCoreApplication& app, const QLocale& locale, const QStringList& dirs)
{
    QTranslator* own = own_translator(app, "zelt");
    QTranslator* qt = own_translator(app, "qtbase");
    bool found = false;
    for (const QString& dir : dirs)
        if (!found && own->load(locale, QStringLiteral("zelt"), QStringLiteral("_"), dir))
            found = QCoreApplication::installTranslator(own);
    // Qt's texts only along with the program's: a box in one language.
    if (found && qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    return found;
}

QLocale chosen_locale(const QString& code)
{
    return code.isEmpty() ? QLocale::system() : QLocale(code);
}
