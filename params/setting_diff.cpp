#include "params/setting_diff.h"

#include "setting_table/setting_table.h"

namespace {

// The item without the default's star; an index that names no item as itself.
QString shown_item(int pos, int index)
{
    if (index < 0 || index >= setting_item_count(pos))
        return QString::number(index);
    QString item = QString::fromLatin1(kSettingTable[pos].items[index]);
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
