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
    print_err(answerYes_ ? QStringLiteral("  -> Yes (--yes)") : QStringLiteral("  -> No (run with --yes to answer Yes)"));
    return answerYes_ ? BoxAnswer::Yes : BoxAnswer::No;
}

// The commands name their files themselves and hand them to the operations;
// nothing asks for a file on the way.
QString ConsoleDialogs::openFileName(const QString&, const QString&)
{
    return {};
}

QString ConsoleDialogs::saveFileName(const QString&, const QString&)
{
    return {};
}

}  // namespace cli
