// The station's table on a terminal: what each port's line and the total line
// say as the engine's events come.

#include "cli/station_report.h"
#include "station/station_engine.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using station::PortState;
using station::Step;

TEST(StationTable, EachPortSaysWhereItIs)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    records::Destination destination;
    destination.file = dir.filePath("station.sqlite");
    destination.journal = dir.filePath("station.journal.jsonl");
    records::RecordStore store(destination);
    station::Plan plan;
    plan.ports = {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2"};
    station::Engine engine(plan, store, 1);  // not started: the test plays its events
    cli::LiveTable table(engine);
    const auto simplified = [&table] {
        QStringList lines = table.lines();
        for (QString& line : lines)
            line = line.simplified();
        return lines;
    };

    emit engine.portState(0, PortState::Waiting, {});
    emit engine.portState(1, PortState::Running, {});
    emit engine.stepStarted(1, Step::Firmware, 7);
    emit engine.progress(1, 1536, 3072);
    EXPECT_TRUE(table.lines()[1].contains("firmware [##########          ] 50%")) << table.lines()[1].toStdString();
    EXPECT_EQ(simplified(), (QStringList{"/dev/ttyUSB0 - waiting for an ESC units 0",
                                         "/dev/ttyUSB1 - firmware [########## ] 50% units 0",
                                         "/dev/ttyUSB2 - no card units 0", "total 0 units, 0 passed, 0 failed"}));

    records::UnitRecord failed;
    failed.result = "fail";
    failed.reason = "the settings read back differ from those written";
    emit engine.portState(1, PortState::Failed, failed.reason);
    emit engine.unitFinished(1, failed, true);
    records::UnitRecord passed;
    passed.result = "pass";
    emit engine.portState(0, PortState::Passed, {});
    emit engine.unitFinished(0, passed, true);
    EXPECT_EQ(simplified(),
              (QStringList{"/dev/ttyUSB0 - PASS, take the ESC out units 1",
                           "/dev/ttyUSB1 - FAIL: the settings read back differ from those written; take the ESC out "
                           "units 1",
                           "/dev/ttyUSB2 - no card units 0", "total 2 units, 1 passed, 1 failed"}));

    // While the records cannot be stored, every port that runs no job says so.
    emit engine.storeTrouble("the database is gone");
    emit engine.portState(0, PortState::Running, {});
    emit engine.stepStarted(0, Step::Settings, 8);
    const QStringList paused = simplified();
    EXPECT_EQ(paused[0], "/dev/ttyUSB0 - settings units 1");
    EXPECT_EQ(paused[1], "/dev/ttyUSB1 - paused: the records cannot be stored units 1");
    EXPECT_EQ(paused[2], "/dev/ttyUSB2 - paused: the records cannot be stored units 0");
    EXPECT_EQ(paused[3], "total 2 units, 1 passed, 1 failed; the database is gone");
    emit engine.storesAgain();
    EXPECT_EQ(simplified()[2], "/dev/ttyUSB2 - no card units 0");
}

}  // namespace
