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
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid())
        return QDateTime(day, QTime(0, 0), Qt::UTC);
    const QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (time.isValid())
        return time.toUTC();
    return std::nullopt;
}

}  // namespace records
