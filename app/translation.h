#pragma once
// The user's language: the program's texts in it, from the translations
// installed with the program (share/zelt/translations beside bin/) or built
// beside it (translations/ in the build folder), and Qt's own texts (the
// boxes' buttons) where Qt's translations are installed. English, the
// language the texts are written in, needs none.

#include <QLocale>
#include <QString>
#include <QStringList>

class QCoreApplication;

// Where the program's .qm files are looked up: beside it as built, then
// where it is installed.
QStringList translation_dirs();

// Loads the translations for locale from the first of dirs that has them
// into the application; returns false when there are none for it (the texts
// stay English). Called again, the earlier translations are replaced.
bool install_translations(QCoreApplication& app, const QLocale& locale,
                          const QStringList& dirs = translation_dirs());

// The locale a --lang code names ("de", "pt_BR"), or the system's (LANG,
// LC_MESSAGES) for an empty code.
QLocale chosen_locale(const QString& code);
