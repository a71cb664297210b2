#pragma once
// One open connection to the records database, for one operation: opened
// afresh each time, so that a database that went away and came back is
// simply found again. Opening makes the table when it is missing.

#include "records/destination.h"

#include <QSqlDatabase>
#include <QString>

namespace records {

class Connection {
public:
    explicit Connection(const Destination& destination);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool open(QString* error);
    QSqlDatabase& database() { return db_; }

private:
    bool prepare_sqlite(QString* error);
    bool create_table(QString* error);

    Destination destination_;
    QString name_;
    QSqlDatabase db_;
};

// "what failed: the driver's words", for the user.
QString sql_error(const QString& what, const class QSqlError& error);

}  // namespace records
