// zelt-cli records: the station's records, newest first, as lines or CSV.

#include "cli_fixture.h"

#include "../records/sample_record.h"
#include "records/record_store.h"
#include "records/records_csv.h"
#include "testing/qstring_printer.h"
#include "testing/scoped_env.h"

namespace {

class CliRecordsTest : public CliTest {
protected:
    void store(const QString& destination, std::initializer_list<qint64> units)
    {
        QString error;
        // The default place is the run's state folder, not the test's.
        const ScopedEnv state("XDG_STATE_HOME", QFile::encodeName(xdg("XDG_STATE_HOME")));
        const auto d = records::parse_destination(destination, &error);
        ASSERT_TRUE(d) << error.toStdString();
        records::RecordStore store(*d);
        for (qint64 unit : units)
            ASSERT_EQ(store.store(sample_record("line-1", unit)).outcome, records::RecordStore::Outcome::Stored);
    }
};

const char* const kUnit1 = "2026-03-01 08:01:41  line-1  ttyUSB1  unit 1  30A V1.0  V1.2 -> V1.3  PASS";
const char* const kUnit2 =
    "2026-03-01 08:02:41  line-1  ttyUSB2  unit 2  30A V1.0  V1.2 -> V1.3  FAIL  the read-back differs from what "
    "was written: Brake Mode";
const char* const kUnit3 = "2026-03-01 08:03:41  line-1  ttyUSB3  unit 3  30A V1.0  V1.2 -> V1.3  PASS";

TEST_F(CliRecordsTest, ListsNewestFirstOrAsCsv)
{
    const QString default_file = xdg("XDG_STATE_HOME", "zelt/station.sqlite");
    const QString other = xdg("XDG_DATA_HOME", "line2.sqlite");
    const CliRun none = cli({"records"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
    EXPECT_TRUE(none.err.contains("no records in " + default_file)) << none.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(default_file)) << "looking made the file";

    ASSERT_NO_FATAL_FAILURE(store("", {1, 3, 2}));
    ASSERT_NO_FATAL_FAILURE(store(other, {1}));
    QString error;
    const auto all = records::RecordStore(*records::parse_destination(default_file, &error)).list({}, &error);
    ASSERT_TRUE(all);
    struct Row {
        QStringList args;
        QString out;
    };
    const Row rows[] = {
        {{"records"}, QStringList{kUnit3, kUnit2, kUnit1, ""}.join('\n')},
        {{"records", "--since", "2026-03-01T08:02:41.357Z"}, QStringList{kUnit3, kUnit2, ""}.join('\n')},
        {{"records", "--since", "2026-03-02"}, ""},
        {{"records", "--records", other}, QStringList{kUnit1, ""}.join('\n')},
        {{"records", "--csv"}, QString::fromUtf8(records::to_csv(*all))},
        {{"records", "--csv", "-", "--since", "2026-03-01"}, QString::fromUtf8(records::to_csv(*all))},
    };
    for (const Row& row : rows) {
        const CliRun run = cli(row.args);
        EXPECT_EQ(run.status, 0) << describe(row.args, run);
        EXPECT_EQ(run.out, row.out) << describe(row.args, run);
    }

    const QString csv_file = xdg("XDG_DATA_HOME", "records.csv");
    EXPECT_EQ(cli({"records", "--csv", csv_file}).status, 0);
    QFile written(csv_file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), records::to_csv(*all));
}

TEST_F(CliRecordsTest, DatabaseThatCannotBeReadIsTold)
{
    const QString folder = xdg("XDG_DATA_HOME", "folder.sqlite");
    ASSERT_TRUE(QDir().mkpath(folder));
    const CliRun run = cli({"records", "--records", folder});
    EXPECT_EQ(run.status, 1) << describe({}, run);
    EXPECT_TRUE(run.err.contains("cannot open the records " + folder)) << run.err.toStdString();
}

}  // namespace
