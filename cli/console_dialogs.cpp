#include "cli/console_dialogs.h"

#include "cli/console_out.h"

namespace cli {

QString box_lines(const QString& text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

BoxAnswer ConsoleDialogs::message(const QString& title, const QString& text, BoxIcon, BoxButtons buttons)
{
    print_err(title + QStringLiteral(": ") + box_lines(text));
    if (buttons == BoxButtons::Ok)
        return BoxAnswer::Ok;
    print_err(answerYes ? QStringLiteral("  -> Yes (--yes)") : QStringLiteral("  -> No (run with --yes to answer Yes)"));
    return answerYes ? BoxAnswer::Yes : BoxAnswer::No;
}

QString ConsoleDialogs::openFileName(const QString&, const QString&)
{
    return fileName;
}

QString ConsoleDialogs::saveFileName(const QString&, const QString&)
{
    return fileName;
}

}  // namespace cli
