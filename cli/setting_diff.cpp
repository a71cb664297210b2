#include "cli/setting_diff.h"

#include "cli/setting_text.h"

namespace cli {
namespace {

// The item without the default's star; an index that names no item as itself.
QString shown_item(int pos, int index)
{
    QString item = item_text(pos, index);
    if (item.isEmpty())
        return QString::number(index);
    if (item.endsWith(QLatin1Char('*')))
        item.chop(1);
    return item;
}

}  // namespace

QStringList setting_diff(const SettingValues& held, const SettingValues& written)
{
    QStringList lines;
    for (int pos = 0; pos < kSettingCount; ++pos) {
        if (held[pos] != written[pos])
            lines.append(QStringLiteral("%1: %2 -> %3")
                             .arg(QLatin1String(kSettingCaptions[pos]), shown_item(pos, held[pos]),
                                  shown_item(pos, written[pos])));
    }
    return lines;
}

}  // namespace cli
