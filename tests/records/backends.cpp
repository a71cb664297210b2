#include "backends.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>

namespace {

class SqliteDatabase : public Database {
public:
    QString address() const override { return scratch_.filePath("records/station.sqlite"); }
    // A folder where the file was: nothing opens it, as when the file is
    // unwritable (which root, who runs the tests in CI, does not notice).
    bool take_away() override
    {
        return QFile::rename(address(), address() + ".away") && QDir().mkdir(address());
    }
    bool bring_back() override { return QDir().rmdir(address()) && QFile::rename(address() + ".away", address()); }
};

// A server started by tools/postgres_for_tests.sh; the address it prints.
QString start_server(const QString& dir, QString* why)
{
    QProcess script;
    script.start(POSTGRES_FOR_TESTS, {"start", dir});
    if (!script.waitForFinished(120000) || script.exitCode() != 0) {
        *why = "tools/postgres_for_tests.sh could not start a server: " + QString::fromLocal8Bit(script.readAllStandardError());
        return {};
    }
    return QString::fromLocal8Bit(script.readAllStandardOutput()).trimmed();
}

// Runs one statement on the server's own database; the driver's words on failure.
QString on_server(const QString& server_address, const QString& statement)
{
    const QUrl url(server_address);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "zelt-test-admin");
        db.setHostName(QUrlQuery(url).queryItemValue("host"));
        db.setUserName(url.userName());
        db.setDatabaseName(url.path().mid(1));
        if (!db.open())
            failure = db.lastError().text();
        QSqlQuery query(db);
        if (failure.isEmpty() && !query.exec(statement))
            failure = query.lastError().text();
    }
    QSqlDatabase::removeDatabase("zelt-test-admin");
    return failure;
}

class PostgresDatabase : public Database {
public:
    // A database of its own on the server at server_address.
    bool create(const QString& server_address, QString* why)
    {
        static int count = 0;
        name_ = QStringLiteral("zelt_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
        const QString failure = on_server(server_address, "CREATE DATABASE " + name_);
        if (!failure.isEmpty()) {
            *why = "cannot make a database on " + server_address + ": " + failure;
            return false;
        }
        server_ = server_address;
        QUrl url(server_address);
        url.setPath("/" + name_);
        address_ = url.toString();
        return true;
    }
    bool start_own(QString* why)
    {
        // A folder the script gives to the server's user.
        own_ = server_dir_.path();
        const QString server = start_server(own_, why);
        return !server.isEmpty() && create(server, why);
    }
    ~PostgresDatabase() override
    {
        if (own_.isEmpty() && !server_.isEmpty())
            on_server(server_, "DROP DATABASE IF EXISTS " + name_);
        if (!own_.isEmpty())
            QProcess::execute(POSTGRES_FOR_TESTS, {"stop", own_});
    }
    QString address() const override { return address_; }
    bool take_away() override { return !own_.isEmpty() && QProcess::execute(POSTGRES_FOR_TESTS, {"stop", own_}) == 0; }
    bool bring_back() override
    {
        QString why;
        return !own_.isEmpty() && !start_server(own_, &why).isEmpty();
    }

private:
    QTemporaryDir server_dir_;
    QString own_;  // the folder of a server of the row's own
    QString server_;
    QString name_;
    QString address_;
};

}  // namespace

records::Destination Database::destination() const
{
    QString error;
    return *records::parse_destination(address(), &error);
}

const char* backend_name(Backend backend)
{
    return backend == Backend::Sqlite ? "Sqlite" : "Postgres";
}

std::unique_ptr<Database> make_database(Backend backend, bool own_server, QString* why, bool* skip)
{
    *skip = false;
    if (backend == Backend::Sqlite)
        return std::make_unique<SqliteDatabase>();
    auto db = std::make_unique<PostgresDatabase>();
    const QString shared = qEnvironmentVariable("ZELT_TEST_POSTGRES");
    if (own_server ? db->start_own(why) : (!shared.isEmpty() && db->create(shared, why)))
        return db;
    if (!own_server && shared.isEmpty())
        *why = "no PostgreSQL server: ZELT_TEST_POSTGRES is not set (./test.sh starts one; by hand: "
               "export ZELT_TEST_POSTGRES=$(tools/postgres_for_tests.sh start $(mktemp -d)))";
    *skip = !qEnvironmentVariableIsSet("ZELT_TEST_POSTGRES_REQUIRED");
    return nullptr;
}
