#include "cli/console_view.h"

#include "cli/console_out.h"
#include "link/status_texts.h"

namespace cli {

void ConsoleView::showStatus(const QString& text)
{
    // The update shows its writing status once per block; one line says it.
    if (reportProgress && text != status && text != QLatin1String(status::kIdle))
        print_err(text);
    status = text;
}

void ConsoleView::showSettingIndex(int pos, int index)
{
    // Unlike the window's lists, the command line keeps an ESC's byte that is
    // none of the items, so that a backup holds it and a write puts it back.
    settings[pos] = index >= 0 && index <= 0xFF ? index : -1;
}

void ConsoleView::showProgressMaximum(int maximum)
{
    progressMaximum_ = maximum > 0 ? maximum : 1;
    progressStep_ = -1;
}

void ConsoleView::showProgress(int value)
{
    const int step = value * 10 / progressMaximum_;
    if (!reportProgress || value == 0 || step == progressStep_)
        return;
    progressStep_ = step;
    print_err(QStringLiteral("%1%").arg(step * 10));
}

}  // namespace cli
