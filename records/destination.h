#pragma once
// Where the records go: an SQLite file (by default
// $XDG_STATE_HOME/zelt/station.sqlite) or a shared PostgreSQL server, and the
// journal file that keeps the records the database could not take.

#include <QString>
#include <optional>

namespace records {

struct Destination {
    enum class Kind { Sqlite, Postgres };
    Kind kind = Kind::Sqlite;
    QString file;  // SQLite
    // PostgreSQL; host is a name, an address or the folder of a Unix socket.
    QString host;
    int port = -1;  // -1: the driver's default
    QString user;
    QString password;
    QString database;
    QString journal;  // one JSON line per unit that waits to be stored

    // For messages: the file, or the address without a password.
    QString describe() const;
};

// "" (the default file), FILE.sqlite, postgresql://user@host[:port]/db or
// postgresql://user@/db?host=/socket/folder. On an error, nothing and a
// message for the user.
std::optional<Destination> parse_destination(const QString& text, QString* error);

}  // namespace records
