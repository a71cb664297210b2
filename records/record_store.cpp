#include "records/record_store.h"

#include "records/connection.h"
#include "records/record_row.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSysInfo>

namespace records {
namespace {

QString insert_statement()
{
    const QStringList& columns = record_columns();
    return QStringLiteral("INSERT INTO units (%1) VALUES (%2) ON CONFLICT (station, unit) DO NOTHING")
        .arg(columns.join(QStringLiteral(", ")), QStringList(columns.size(), QStringLiteral("?")).join(", "));
}

// Inserts the records in one transaction: all of them are committed, or none.
bool insert(Connection& connection, const QList<UnitRecord>& records, QString* error)
{
    QSqlDatabase& db = connection.database();
    if (!db.transaction()) {
        *error = sql_error(QStringLiteral("cannot begin storing"), db.lastError());
        return false;
    }
    {
        QSqlQuery query(db);
        if (!query.prepare(insert_statement())) {
            *error = sql_error(QStringLiteral("cannot store the record"), query.lastError());
            db.rollback();
            return false;
        }
        for (const UnitRecord& record : records) {
            const QVariantList row = to_row(record);
            for (int i = 0; i < row.size(); ++i)
                query.bindValue(i, row[i]);
            if (!query.exec()) {
                *error = sql_error(QStringLiteral("cannot store unit %1").arg(record.unit), query.lastError());
                query.finish();
                db.rollback();
                return false;
            }
        }
    }
    if (!db.commit()) {
        *error = sql_error(QStringLiteral("cannot commit the records"), db.lastError());
        db.rollback();
        return false;
    }
    return true;
}

bool journal_records(const Journal& journal, QList<UnitRecord>* out, QString* error)
{
    int torn = 0;
    for (const QJsonObject& entry : journal.entries(&torn)) {
        UnitRecord record;
        if (!from_json(entry, &record)) {
            *error = QStringLiteral("the journal %1 holds a record that cannot be read; "
                                    "mend or move the file").arg(journal.path());
            return false;
        }
        out->append(record);
    }
    return true;
}

}  // namespace

QString default_station_name()
{
    return QSysInfo::machineHostName();
}

RecordStore::RecordStore(Destination destination)
    : destination_(std::move(destination)), journal_(destination_.journal)
{
}

RecordStore::StoreResult RecordStore::store(const UnitRecord& record)
{
    QString error;
    // The journal first, so that the rows keep the order the units came in.
    if (replay(&error)) {
        Connection connection(destination_);
        if (connection.open(&error) && insert(connection, {record}, &error))
            return {Outcome::Stored, {}};
    }
    QString journal_error;
    if (!journal_.append(to_json(record), &journal_error))
        return {Outcome::Lost, error + QStringLiteral("; ") + journal_error};
    return {Outcome::Journaled,
            QStringLiteral("%1; unit %2 waits in %3 until the database answers")
                .arg(error, QString::number(record.unit), journal_.path())};
}

bool RecordStore::replay(QString* error)
{
    if (journal_.empty())
        return true;
    QList<UnitRecord> waiting;
    if (!journal_records(journal_, &waiting, error))
        return false;
    Connection connection(destination_);
    // The journal goes only once its rows are committed; a crash between the
    // two replays it again, and the rows already there are passed over.
    return connection.open(error) && insert(connection, waiting, error) && journal_.clear(error);
}

int RecordStore::waiting() const
{
    int torn = 0;
    return journal_.entries(&torn).size();
}

std::optional<QList<UnitRecord>> RecordStore::list(const std::optional<QDateTime>& since, QString* error) const
{
    // Looking makes no file: a station that stored nothing has no records.
    if (destination_.kind == Destination::Kind::Sqlite && !QFileInfo::exists(destination_.file))
        return QList<UnitRecord>();
    Connection connection(destination_);
    if (!connection.open(error))
        return std::nullopt;
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    const QString where = since ? QStringLiteral(" WHERE finished_utc >= ?") : QString();
    query.prepare(QStringLiteral("SELECT id, %1 FROM units%2 ORDER BY finished_utc DESC, id DESC")
                      .arg(record_columns().join(QStringLiteral(", ")), where));
    if (since)
        query.bindValue(0, stored_time(*since));
    if (!query.exec()) {
        *error = sql_error(QStringLiteral("cannot read the records %1").arg(destination_.describe()),
                           query.lastError());
        return std::nullopt;
    }
    QList<UnitRecord> out;
    while (query.next()) {
        QVariantList row;
        for (int i = 1; i <= record_columns().size(); ++i)
            row.append(query.value(i));
        UnitRecord record;
        if (!from_row(row, &record)) {
            *error = QStringLiteral("record %1 in %2 cannot be read")
                         .arg(query.value(0).toLongLong())
                         .arg(destination_.describe());
            return std::nullopt;
        }
        record.id = query.value(0).toLongLong();
        out.append(record);
    }
    return out;
}

std::optional<qint64> RecordStore::next_unit(const QString& station, QString* error) const
{
    Connection connection(destination_);
    if (!connection.open(error))
        return std::nullopt;
    QSqlQuery query(connection.database());
    query.prepare(QStringLiteral("SELECT MAX(unit) FROM units WHERE station = ?"));
    query.bindValue(0, station);
    if (!query.exec() || !query.next()) {
        *error = sql_error(QStringLiteral("cannot read the records %1").arg(destination_.describe()),
                           query.lastError());
        return std::nullopt;
    }
    qint64 last = query.value(0).isNull() ? 0 : query.value(0).toLongLong();
    QList<UnitRecord> waiting;
    if (!journal_records(journal_, &waiting, error))
        return std::nullopt;
    for (const UnitRecord& record : waiting) {
        if (record.station == station)
            last = std::max(last, record.unit);
    }
    return last + 1;
}

}  // namespace records
