#include "records/connection.h"

#include "records/record_row.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace records {
namespace {

QString unique_connection_name()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("zelt-records-%1").arg(counter.fetchAndAddRelaxed(1));
}

// The same columns in both databases; only the key's type is each one's own.
QString create_statement(Destination::Kind kind)
{
    QStringList columns = {kind == Destination::Kind::Sqlite ? QStringLiteral("id INTEGER PRIMARY KEY")
                                                             : QStringLiteral("id BIGSERIAL PRIMARY KEY")};
    for (const QString& c : record_columns()) {
        QString type = QStringLiteral("TEXT NOT NULL");
        if (c == QLatin1String("unit"))
            type = QStringLiteral("BIGINT NOT NULL");
        else if (c == QLatin1String("rpm"))
            type = QStringLiteral("DOUBLE PRECISION");
        else if (c.startsWith(QLatin1String("image_")) || c.startsWith(QLatin1String("settings_")))
            type = QStringLiteral("TEXT");
        columns.append(c + QLatin1Char(' ') + type);
    }
    // A unit is stored once, however often its journal line is replayed.
    columns.append(QStringLiteral("UNIQUE (station, unit)"));
    return QStringLiteral("CREATE TABLE IF NOT EXISTS units (%1)").arg(columns.join(QStringLiteral(", ")));
}

}  // namespace

QString sql_error(const QString& what, const QSqlError& error)
{
    const QString words = error.text().trimmed();
    return words.isEmpty() ? what : QStringLiteral("%1: %2").arg(what, words);
}

Connection::Connection(const Destination& destination) : destination_(destination), name_(unique_connection_name())
{
    const bool sqlite = destination.kind == Destination::Kind::Sqlite;
    db_ = QSqlDatabase::addDatabase(sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), name_);
    if (sqlite) {
        db_.setDatabaseName(destination.file);
        db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        db_.setHostName(destination.host);
        if (destination.port >= 0)
            db_.setPort(destination.port);
        db_.setUserName(destination.user);
        db_.setPassword(destination.password);
        db_.setDatabaseName(destination.database);
        db_.setConnectOptions(QStringLiteral("connect_timeout=5"));
    }
}

Connection::~Connection()
{
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

bool Connection::open(QString* error)
{
    if (!db_.isValid()) {
        *error = QStringLiteral("the Qt SQL driver %1 is missing (Debian: libqt6sql6-%2)")
                     .arg(destination_.kind == Destination::Kind::Sqlite ? "QSQLITE" : "QPSQL",
                          destination_.kind == Destination::Kind::Sqlite ? "sqlite" : "psql");
        return false;
    }
    if (destination_.kind == Destination::Kind::Sqlite) {
        const QFileInfo file(destination_.file);
        if (!QDir().mkpath(file.absolutePath())) {
            *error = QStringLiteral("cannot make the folder %1").arg(file.absolutePath());
            return false;
        }
    }
    if (!db_.open()) {
        *error = sql_error(QStringLiteral("cannot open the records %1").arg(destination_.describe()), db_.lastError());
        return false;
    }
    return (destination_.kind != Destination::Kind::Sqlite || prepare_sqlite(error)) && create_table(error);
}

// A committed row survives a crash and a power cut: the write-ahead log,
// written through to the disk at every commit.
bool Connection::prepare_sqlite(QString* error)
{
    QSqlQuery query(db_);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !query.next() ||
        query.value(0).toString() != QLatin1String("wal") || !query.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
        *error = sql_error(QStringLiteral("cannot put the records %1 in WAL mode").arg(destination_.file),
                           query.lastError());
        return false;
    }
    return true;
}

bool Connection::create_table(QString* error)
{
    if (db_.tables().contains(QStringLiteral("units")))
        return true;
    QSqlQuery query(db_);
    if (!query.exec(create_statement(destination_.kind))) {
        *error = sql_error(QStringLiteral("cannot make the records table in %1").arg(destination_.describe()),
                           query.lastError());
        return false;
    }
    return true;
}

}  // namespace records
