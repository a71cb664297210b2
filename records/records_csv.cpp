#include "records/records_csv.h"

#include "records/record_row.h"

namespace records {
namespace {

QByteArray cell(const QVariant& value)
{
    QByteArray text = value.isNull() ? QByteArray() : value.toString().toUtf8();
    if (text.contains(',') || text.contains('"') || text.contains('\n') || text.contains('\r')) {
        text.replace("\"", "\"\"");
        text = '"' + text + '"';
    }
    return text;
}

}  // namespace

QByteArray to_csv(const QList<UnitRecord>& records)
{
    QByteArray out = "id," + record_columns().join(QLatin1Char(',')).toUtf8() + "\r\n";
    for (const UnitRecord& record : records) {
        out += QByteArray::number(record.id);
        for (const QVariant& value : to_row(record))
            out += ',' + cell(value);
        out += "\r\n";
    }
    return out;
}

std::optional<QDateTime> parse_since(const QString& text)
{
    // QDate takes the date off the front of a whole time, so only a date alone is a day.
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (day.isValid() && text.size() == 10)
        return QDateTime(day, QTime(0, 0), Qt::UTC);
    const QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (time.isValid())
        return time.toUTC();
    return std::nullopt;
}

}  // namespace records
