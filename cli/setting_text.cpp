#include "cli/setting_text.h"

#include "params/parameter_set.h"

#include <QStringList>

namespace cli {
namespace {

QString caption(int pos)
{
    return QString::fromLatin1(kSettingCaptions[pos]);
}

int item_count(int pos)
{
    return setting_item_count(pos);
}

// A whole number in ASCII decimal digits only: "1e1", "+2" or a full-width
// "３" (which QChar::isDigit() accepts and toInt() does not) name nothing.
std::optional<int> plain_number(const QString& text)
{
    if (text.isEmpty() || text.size() > 3)
        return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return text.toInt();
}

std::optional<int> find_setting(const QString& name)
{
    if (const std::optional<int> number = plain_number(name))
        return *number >= 1 && *number <= kSettingCount ? std::optional<int>(*number - 1) : std::nullopt;
    for (int pos = 0; pos < kSettingCount; ++pos)
        if (name.compare(caption(pos), Qt::CaseInsensitive) == 0)
            return pos;
    return std::nullopt;
}

std::optional<int> find_item(int pos, const QString& name)
{
    if (const std::optional<int> number = plain_number(name))
        return *number < item_count(pos) ? number : std::nullopt;
    for (int i = 0; i < item_count(pos); ++i) {
        QString item = QString::fromLatin1(kSettingTable[pos].items[i]);
        if (name.compare(item, Qt::CaseInsensitive) == 0)
            return i;
        if (item.endsWith(QLatin1Char('*')) && name.compare(item.chopped(1), Qt::CaseInsensitive) == 0)
            return i;
    }
    return std::nullopt;
}

QString items_of(int pos)
{
    QStringList items;
    for (int i = 0; i < item_count(pos); ++i)
        items << QStringLiteral("%1 \"%2\"").arg(i).arg(QString::fromLatin1(kSettingTable[pos].items[i]));
    return items.join(QStringLiteral(", "));
}

}  // namespace

std::optional<SettingAssignment> parse_assignment(const QString& text, QString* error)
{
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    const QString name = text.left(eq).trimmed();
    const QString value = text.mid(eq + 1).trimmed();
    const std::optional<int> pos = eq < 0 ? std::nullopt : find_setting(name);
    if (!pos) {
        QStringList captions;
        for (int p = 0; p < kSettingCount; ++p)
            captions << QStringLiteral("%1 \"%2\"").arg(p + 1).arg(caption(p));
        *error = QStringLiteral("\"%1\" names no setting; the settings are %2").arg(name, captions.join(", "));
        return std::nullopt;
    }
    const std::optional<int> index = find_item(*pos, value);
    if (!index) {
        *error = QStringLiteral("%1 has no item \"%2\"; its items are %3").arg(caption(*pos), value, items_of(*pos));
        return std::nullopt;
    }
    return SettingAssignment{*pos, *index};
}

QString item_text(int pos, int index)
{
    return index >= 0 && index < item_count(pos) ? QString::fromLatin1(kSettingTable[pos].items[index]) : QString();
}

QString setting_line(int pos, int index)
{
    if (index >= 0 && !is_listed_item(pos, index))
        return caption(pos) + QStringLiteral("=%1 (not a listed item)").arg(index);
    return caption(pos) + QLatin1Char('=') + item_text(pos, index);
}

}  // namespace cli
