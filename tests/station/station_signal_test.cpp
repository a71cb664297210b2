// SIGTERM to a running station: a spin check ends at once with FF as the
// last byte on its line, an update runs to its end, the records are stored,
// and the exit is 143.

#include "station_fixture.h"

#include <QThread>

#include <csignal>
#include <random>

namespace {

class StationSignalTest : public StationTest {
protected:
    void terminate() { ::kill(static_cast<pid_t>(station_.processId()), SIGTERM); }
};

TEST_F(StationSignalTest, DuringSpinChecksEveryMotorGetsFFLast)
{
    ASSERT_NO_FATAL_FAILURE(add_cards(2));
    ASSERT_NO_FATAL_FAILURE(start_station({"--setup", golden_, "--spin", "1500:1000:20000:60", "--poles", "14"}));
    int spinning = 0;
    bool sent = false;
    const int status = run([&](const QJsonObject&) {
        if (!sent) {
            spinning = 0;
            for (const auto& card : cards_)
                spinning += card->in_speed_mode() ? 1 : 0;
            if (spinning == 2) {
                sent = true;
                // A second signal changes nothing.
                terminate();
                terminate();
            }
        }
    });
    EXPECT_TRUE(sent);
    EXPECT_EQ(status, 143) << err_.toStdString();
    for (const auto& card : cards_) {
        const std::vector<uint8_t> line = card->received();
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), 0xFF);
        EXPECT_FALSE(card->in_speed_mode());
    }
    const QList<records::UnitRecord> records = stored();
    ASSERT_EQ(records.size(), 2);
    for (const records::UnitRecord& r : records) {
        EXPECT_EQ(r.result, "fail");
        EXPECT_EQ(r.reason, "the spin check was stopped");
    }
}

TEST_F(StationSignalTest, DuringUpdatesBothFinishAndAreRecorded)
{
    sim::Options slower = unpaced_options();
    slower.turnaround_ms = 8;  // an update long enough to be signalled in
    ASSERT_NO_FATAL_FAILURE(add_cards(2, slower));
    ASSERT_NO_FATAL_FAILURE(start_station({"--image", image_, "--setup", golden_}));
    std::vector<bool> updating(2, false);
    bool sent = false;
    const int status = run([&](const QJsonObject& e) {
        const int card = card_of(e);
        if (e.value("event") == "progress" && card >= 0 && e.value("value").toInt() > 0)
            updating[card] = true;
        if (!sent && updating[0] && updating[1]) {
            sent = true;
            terminate();
            terminate();  // changes nothing
        }
    });
    EXPECT_TRUE(sent);
    EXPECT_EQ(status, 143) << err_.toStdString();
    for (const auto& card : cards_)
        EXPECT_EQ(card->fw_version(), 0x13);
    const QList<records::UnitRecord> records = stored();
    ASSERT_EQ(records.size(), 2);
    for (const records::UnitRecord& r : records) {
        EXPECT_EQ(r.result, "pass") << r.reason.toStdString();
        EXPECT_EQ(r.fw_after, "FW version:V1.3");
        EXPECT_EQ(r.settings_read_back, r.settings_written);
    }
}

}  // namespace

namespace {

// Killed (SIGKILL) at any moment, the station loses no unit it has reported
// done: each is stored whole, and once.
TEST_F(StationSignalTest, KilledAtAnyMomentLosesNoReportedUnit)
{
    ASSERT_NO_FATAL_FAILURE(add_cards(2));
    std::mt19937 random(25);  // the same moments every run
    std::uniform_int_distribution<int> moment(1, 30);
    QList<qint64> reported;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        for (const auto& card : cards_)
            card->plug(kType, kHw, kFw);
        ASSERT_NO_FATAL_FAILURE(start_station({"--setup", golden_}));
        const auto usual = operator_for(1000);
        int events = 0;
        const int killAt = moment(random);
        run([&](const QJsonObject& e) {
            if (e.isEmpty())
                return;
            if (e.value("event") == "unit" && e.value("stored").toBool())
                reported << e.value("unit").toInteger();
            usual(e);
            if (++events == killAt)
                station_.kill();
        });
    }
    ASSERT_FALSE(reported.isEmpty());
    QList<qint64> numbers;
    for (const records::UnitRecord& r : stored()) {
        numbers << r.unit;
        EXPECT_EQ(r.settings_before.size(), 8u) << r.unit;
        EXPECT_TRUE(r.result == "pass" || r.result == "fail") << r.unit;
        EXPECT_FALSE(r.steps_ms.empty()) << r.unit;
    }
    for (qint64 unit : reported)
        EXPECT_EQ(numbers.count(unit), 1) << "unit " << unit << " was reported done";
}

}  // namespace
