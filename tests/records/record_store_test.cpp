// The records rows, each against SQLite and against a real PostgreSQL server:
// the table made when missing, every column kept, the listing, the CSV, the
// journal of a database that went away, and a writer killed at random.
#include "backends.h"
#include "sample_record.h"

#include "records/journal.h"
#include "records/record_row.h"
#include "records/record_store.h"
#include "records/records_csv.h"
#include "testing/qstring_printer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <csignal>
#include <map>

namespace {

using records::RecordStore;
using Outcome = RecordStore::Outcome;

QList<qint64> units_of(const QList<records::UnitRecord>& list)
{
    QList<qint64> units;
    for (const auto& r : list)
        units.append(r.unit);
    return units;
}

class RecordStoreTest : public ::testing::TestWithParam<Backend> {
protected:
    // own_server: a PostgreSQL server of the row's own, which it may stop.
    bool open_database(bool own_server = false)
    {
        QString why;
        bool skip = false;
        db_ = make_database(GetParam(), own_server, &why, &skip);
        if (db_)
            store_ = std::make_unique<RecordStore>(db_->destination());
        else if (skip)
            skip_reason_ = why;
        else
            ADD_FAILURE() << why.toStdString();
        return db_ != nullptr;
    }
    QList<records::UnitRecord> listed(const std::optional<QDateTime>& since = std::nullopt)
    {
        QString error;
        const auto list = store_->list(since, &error);
        EXPECT_TRUE(list) << error.toStdString();
        return list.value_or(QList<records::UnitRecord>());
    }
    void store_all(std::initializer_list<qint64> units)
    {
        for (qint64 unit : units) {
            const auto result = store_->store(sample_record("line-1", unit));
            ASSERT_EQ(result.outcome, Outcome::Stored) << result.message.toStdString();
        }
    }

    std::unique_ptr<Database> db_;
    std::unique_ptr<RecordStore> store_;
    QString skip_reason_;
};

#define OPEN_DATABASE(...)                                 \
    if (!open_database(__VA_ARGS__)) {                     \
        if (!skip_reason_.isEmpty())                       \
            GTEST_SKIP() << skip_reason_.toStdString();    \
        return;                                            \
    }

TEST_P(RecordStoreTest, MakesTheTableWhenMissing)
{
    OPEN_DATABASE();
    store_all({1});
    QSqlDatabase db = QSqlDatabase::addDatabase(GetParam() == Backend::Sqlite ? "QSQLITE" : "QPSQL", "check");
    {
        const records::Destination d = db_->destination();
        db.setDatabaseName(GetParam() == Backend::Sqlite ? d.file : d.database);
        db.setHostName(d.host);
        db.setUserName(d.user);
        ASSERT_TRUE(db.open());
        QStringList columns;
        const QSqlRecord table = db.record("units");
        for (int i = 0; i < table.count(); ++i)
            columns.append(table.fieldName(i));
        EXPECT_EQ(columns, QStringList{"id"} + records::record_columns());
        if (GetParam() == Backend::Sqlite) {
            QSqlQuery mode(db);
            ASSERT_TRUE(mode.exec("PRAGMA journal_mode") && mode.next());
            EXPECT_EQ(mode.value(0).toString(), "wal");
        }
        db.close();
    }
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("check");
}

TEST_P(RecordStoreTest, KeepsEveryColumn)
{
    OPEN_DATABASE();
    // Unit 1 has every column filled; unit 2 has no image, diff or rpm (NULLs).
    store_all({1, 2});
    const auto list = listed();
    ASSERT_EQ(list.size(), 2);
    for (const auto& stored : list) {
        auto expected = sample_record("line-1", stored.unit);
        expected.id = stored.id;
        EXPECT_EQ(stored, expected) << "unit " << stored.unit;
        EXPECT_GT(stored.id, 0);
    }
}

TEST_P(RecordStoreTest, ListsNewestFirstAndSince)
{
    OPEN_DATABASE();
    // Stored out of order: the listing goes by the time each unit finished.
    store_all({3, 1, 4, 2});
    EXPECT_EQ(units_of(listed()), (QList<qint64>{4, 3, 2, 1}));
    const QDateTime third = sample_record("line-1", 3).finished_utc;
    EXPECT_EQ(units_of(listed(third)), (QList<qint64>{4, 3}));
    EXPECT_EQ(units_of(listed(third.addMSecs(1))), (QList<qint64>{4}));
    EXPECT_EQ(units_of(listed(records::parse_since("2026-03-01"))), (QList<qint64>{4, 3, 2, 1}));
    EXPECT_TRUE(listed(records::parse_since("2026-03-02")).isEmpty());
}

TEST_P(RecordStoreTest, WritesCsv)
{
    OPEN_DATABASE();
    store_all({1, 2});
    const QList<QByteArray> lines = records::to_csv(listed()).split('\n');
    ASSERT_EQ(lines.size(), 5);  // the header, two records of which one spans two lines, and the end
    EXPECT_EQ(lines[0],
              "id,station,port,adapter,unit,started_utc,finished_utc,model,hw,fw_before,fw_after,image_name,"
              "image_sha256,settings_before,settings_written,settings_read_back,diff,rpm,result,reason,steps_ms\r");
    const QByteArray id2 = QByteArray::number(listed()[0].id), id1 = QByteArray::number(listed()[1].id);
    EXPECT_EQ(lines[1], id2 + ",line-1,ttyUSB2,usb-FTDI_FT232R_USB_UART_A10K2-if00-port0,2,2026-03-01T08:02:00.123Z,"
                              "2026-03-01T08:02:41.357Z,30A,V1.0,V1.2,V1.3,,,\"[0,1,2,3,0,1,2,2]\",\"[1,1,2,3,0,1,2,0]\","
                              "\"[1,1,2,3,0,1,2,0]\",,,fail,the read-back differs from what was written: Brake Mode,"
                              "\"[{\"\"ms\"\":132,\"\"step\"\":\"\"identify\"\"},{\"\"ms\"\":410,\"\"step\"\":\"\"read\"\"},"
                              "{\"\"ms\"\":5210,\"\"step\"\":\"\"firmware\"\"}]\"\r");
    EXPECT_EQ(lines[2], id1 + ",line-1,ttyUSB1,usb-FTDI_FT232R_USB_UART_A10K1-if00-port0,1,2026-03-01T08:01:00.123Z,"
                              "2026-03-01T08:01:41.357Z,30A,V1.0,V1.2,V1.3,upt03.blo,"
                              "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08,\"[0,1,2,3,0,1,2,1]\","
                              "\"[1,1,2,3,0,1,2,0]\",\"[1,1,2,3,0,1,2,0]\",\"Brake Mode: Brake off -> Low brake");
    EXPECT_EQ(lines[3], "Timing: \"\"Low\"\", 7.5 -> Medium, 15\",10521.25,pass,,"
                        "\"[{\"\"ms\"\":131,\"\"step\"\":\"\"identify\"\"},{\"\"ms\"\":410,\"\"step\"\":\"\"read\"\"},"
                        "{\"\"ms\"\":5210,\"\"step\"\":\"\"firmware\"\"},{\"\"ms\"\":620,\"\"step\"\":\"\"write\"\"}]\"\r");
    EXPECT_EQ(lines[4], "");
}

TEST_P(RecordStoreTest, DatabaseThatGoesAwayGetsItsRecordsLater)
{
    OPEN_DATABASE(true);
    store_all({1});
    ASSERT_TRUE(db_->take_away());
    for (qint64 unit : {2, 3}) {
        const auto result = store_->store(sample_record("line-1", unit));
        EXPECT_EQ(result.outcome, Outcome::Journaled);
        EXPECT_TRUE(result.message.contains(QString("unit %1 waits in %2").arg(unit).arg(db_->destination().journal)))
            << result.message.toStdString();
    }
    EXPECT_EQ(store_->waiting(), 2);
    ASSERT_TRUE(db_->bring_back());
    store_all({4});
    EXPECT_EQ(store_->waiting(), 0);
    EXPECT_FALSE(QFile::exists(db_->destination().journal));
    // Each unit once, and stored in the order the units came.
    const auto list = listed();
    EXPECT_EQ(units_of(list), (QList<qint64>{4, 3, 2, 1}));
    for (int i = 1; i < list.size(); ++i)
        EXPECT_LT(list[i].id, list[i - 1].id);
    for (const auto& stored : list) {
        auto expected = sample_record("line-1", stored.unit);
        expected.id = stored.id;
        EXPECT_EQ(stored, expected);
    }
}

// The journal stays when the process dies between committing its rows and
// removing it: the replay after that passes over the rows already there.
TEST_P(RecordStoreTest, JournalReplayedAgainStoresEachUnitOnce)
{
    OPEN_DATABASE();
    store_all({1});
    records::Journal journal(db_->destination().journal);
    QString error;
    ASSERT_TRUE(journal.append(records::to_json(sample_record("line-1", 1)), &error));
    ASSERT_TRUE(journal.append(records::to_json(sample_record("line-1", 2)), &error));
    ASSERT_TRUE(store_->replay(&error)) << error.toStdString();
    ASSERT_TRUE(store_->replay(&error)) << error.toStdString();
    EXPECT_EQ(units_of(listed()), (QList<qint64>{2, 1}));
    EXPECT_EQ(*store_->next_unit("line-1", &error), 3);
    EXPECT_EQ(*store_->next_unit("line-2", &error), 1);
}

// A line cut off by a crash before it was on the disk (its unit was never
// reported done) neither stops the replay nor swallows the line after it, and
// the journal is kept aside for a look.
TEST_P(RecordStoreTest, TornJournalLineKeepsTheLinesAroundIt)
{
    OPEN_DATABASE();
    records::Journal journal(db_->destination().journal);
    QString error;
    ASSERT_TRUE(journal.append(records::to_json(sample_record("line-1", 1)), &error));
    QFile file(journal.path());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(QJsonDocument(records::to_json(sample_record("line-1", 2))).toJson(QJsonDocument::Compact).left(90));
    file.close();
    ASSERT_TRUE(journal.append(records::to_json(sample_record("line-1", 3)), &error));
    EXPECT_EQ(store_->waiting(), 2);
    store_all({4});
    EXPECT_EQ(units_of(listed()), (QList<qint64>{4, 3, 1}));
    EXPECT_FALSE(QFile::exists(journal.path()));
    EXPECT_TRUE(QFile::exists(journal.torn_path()));
}

// The writer prints "done N" once unit N is committed; killed at random
// moments, every unit it reported is there, whole, and no row is torn.
TEST_P(RecordStoreTest, KilledWriterLeavesNoTornOrMissingRecord)
{
    OPEN_DATABASE();
    QSet<qint64> reported;
    QString error;
    for (int run = 0; run < 20; ++run) {
        const std::optional<qint64> first = store_->next_unit("killed", &error);
        ASSERT_TRUE(first) << error.toStdString();
        QProcess writer;
        writer.start(RECORDS_WRITER, {db_->address(), "killed", QString::number(*first)});
        ASSERT_TRUE(writer.waitForStarted());
        const int wanted = QRandomGenerator::global()->bounded(1, 6);
        QByteArray out;
        while (out.count('\n') < wanted && writer.state() == QProcess::Running && writer.waitForReadyRead(30000))
            out += writer.readAllStandardOutput();
        ASSERT_GE(out.count('\n'), wanted) << writer.readAllStandardError().toStdString();
        // Somewhere within the next unit's commit, or between two.
        QThread::usleep(QRandomGenerator::global()->bounded(20000));
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        ASSERT_TRUE(writer.waitForFinished(30000));
        out += writer.readAllStandardOutput();
        for (const QByteArray& line : out.split('\n')) {
            if (line.startsWith("done "))
                reported.insert(line.mid(5).toLongLong());
        }
    }
    const auto list = listed();
    QSet<qint64> stored;
    for (const auto& r : list) {
        auto expected = sample_record("killed", r.unit);
        expected.id = r.id;
        EXPECT_EQ(r, expected) << "unit " << r.unit;
        EXPECT_FALSE(stored.contains(r.unit)) << "unit " << r.unit << " twice";
        stored.insert(r.unit);
    }
    for (qint64 unit : reported)
        EXPECT_TRUE(stored.contains(unit)) << "unit " << unit << " was reported done and is missing";
    EXPECT_GE(reported.size(), 20);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecordStoreTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         [](const auto& info) { return std::string(backend_name(info.param)); });

// A record that neither the database nor the journal takes is told as lost,
// so that the station stops rather than go on without it.
TEST(RecordStoreLostTest, NeitherDatabaseNorJournalIsLost)
{
    QString why;
    bool skip = false;
    const auto db = make_database(Backend::Sqlite, false, &why, &skip);
    RecordStore store(db->destination());
    ASSERT_EQ(store.store(sample_record("line-1", 1)).outcome, Outcome::Stored);
    ASSERT_TRUE(db->take_away());
    ASSERT_TRUE(QDir().mkpath(db->destination().journal));
    const auto result = store.store(sample_record("line-1", 2));
    EXPECT_EQ(result.outcome, Outcome::Lost);
    EXPECT_TRUE(result.message.contains("cannot write the journal " + db->destination().journal))
        << result.message.toStdString();
}

}  // namespace
