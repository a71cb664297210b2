#pragma once
// The databases the records rows run against: an SQLite file in a scratch
// folder, and a database of the test's own on a real PostgreSQL server.
//
// The PostgreSQL server is the one ./test.sh starts (its address in
// ZELT_TEST_POSTGRES); an outage row starts a server of its own, which it may
// stop. Run by hand without a server the PostgreSQL rows skip; under
// ./test.sh (ZELT_TEST_POSTGRES_REQUIRED) they fail.

#include "records/destination.h"

#include "testing/scoped_env.h"

#include <QTemporaryDir>
#include <memory>

enum class Backend { Sqlite, Postgres };

class Database {
public:
    virtual ~Database() = default;
    // The destination string, as --records takes it.
    virtual QString address() const = 0;
    records::Destination destination() const;
    // The database stops answering, and answers again.
    virtual bool take_away() = 0;
    virtual bool bring_back() = 0;

protected:
    QTemporaryDir scratch_;
    // The journal of a server lives in the state folder.
    ScopedEnv state_{"XDG_STATE_HOME", QFile::encodeName(scratch_.filePath("state"))};
};

// Nothing, with *why, when the backend cannot be had; *skip tells whether the
// row may skip rather than fail. own_server: a server the row may stop.
std::unique_ptr<Database> make_database(Backend backend, bool own_server, QString* why, bool* skip);

const char* backend_name(Backend backend);
