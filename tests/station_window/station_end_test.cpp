// The real zelt-station on a display of its own (Xvfb) against two simulated
// cards, started with Space and ended by SIGTERM during both jobs: a spin
// check ends at once with FF as the last byte on its line, an update runs to
// its end; the records are stored and the exit status is 143.

#include "records/record_store.h"
#include "testing/own_display.h"
#include "serial/port_list.h"
#include "testing/event_wait.h"
#include "testing/qstring_printer.h"
#include "testing/scoped_env.h"
#include "testing/started_sim.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <vector>

namespace {

struct Row {
    const char* name;
    bool update;  // else a spin check
};

class StationEndTest : public ::testing::TestWithParam<Row> {};

TEST_P(StationEndTest, SigtermDuringTheJobs)
{
    const bool update = GetParam().update;
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const ScopedEnv runtime("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("images"))));
    ASSERT_TRUE(sim::Simulator::write_sample_images(home.filePath(QStringLiteral("images")).toStdString()));
    sim::Options slower = unpaced_options();
    slower.turnaround_ms = 8;  // an update long enough to be signalled in
    std::vector<std::unique_ptr<sim::Simulator>> cards;
    QStringList links;
    for (int i = 0; i < 2; ++i) {
        cards.push_back(started_sim(slower));
        ASSERT_NE(cards.back(), nullptr);
        QString link;
        ASSERT_TRUE(register_virtual_port(QString::fromStdString(cards.back()->port_path()), &link));
        links.append(link);
    }
    const QString records = home.filePath(QStringLiteral("records.sqlite"));
    {
        QSettings settings(home.filePath(QStringLiteral("zelt/station.ini")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("station/records"), records);
        settings.setValue(QStringLiteral("station/firmware"), update ? "file" : "none");
        settings.setValue(QStringLiteral("station/image"), home.filePath(QStringLiteral("images/upt03.blo")));
        settings.setValue(QStringLiteral("station/spin"), !update);
        settings.setValue(QStringLiteral("station/spinThrottle"), 1500);
        settings.setValue(QStringLiteral("station/spinMinRpm"), 1000);
        settings.setValue(QStringLiteral("station/spinMaxRpm"), 20000);
        settings.setValue(QStringLiteral("station/spinSeconds"), 60);
        settings.setValue(QStringLiteral("station/poles"), 14);
        settings.setValue(QStringLiteral("station/sound"), false);
    }

    OwnDisplay display;
    ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
    QProcess station;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display.name());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) + ":detect_leaks=0");
    station.setProcessEnvironment(env);
    station.start(QStringLiteral(ZELT_STATION), {});
    ASSERT_TRUE(station.waitForStarted(5000));
    const QString window =
        display.xdotool({"search", "--sync", "--onlyvisible", "--pid", QString::number(station.processId())})
            .section('\n', 0, 0);
    ASSERT_FALSE(window.isEmpty());
    // Start has the focus as the window opens.
    display.xdotool({"windowfocus", "--sync", window, "key", "space"});
    const auto busy = [update](const sim::Simulator& card) {
        return update ? card.received().size() > 4096 : card.in_speed_mode();
    };
    ASSERT_TRUE(wait_until([&] { return busy(*cards[0]) && busy(*cards[1]); }, 20000))
        << station.readAllStandardError().toStdString();

    if (update)  // still under way
        ASSERT_TRUE(cards[0]->fw_version() == 0x12 && cards[1]->fw_version() == 0x12);
    ::kill(static_cast<pid_t>(station.processId()), SIGTERM);
    ::kill(static_cast<pid_t>(station.processId()), SIGTERM);  // changes nothing
    ASSERT_TRUE(station.waitForFinished(20000));
    EXPECT_EQ(station.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(station.exitCode(), 128 + SIGTERM) << station.readAllStandardError().toStdString();
    for (const auto& card : cards) {
        const std::vector<uint8_t> line = card->received();
        ASSERT_FALSE(line.empty());
        if (update)
            EXPECT_EQ(card->fw_version(), 0x13);
        else
            EXPECT_EQ(line.back(), 0xFF);
        EXPECT_FALSE(card->in_speed_mode());
    }
    QString error;
    const auto stored =
        records::RecordStore(*records::parse_destination(records, &error)).list(std::nullopt, &error);
    ASSERT_TRUE(stored) << error.toStdString();
    ASSERT_EQ(stored->size(), 2);
    for (const records::UnitRecord& r : *stored) {
        EXPECT_EQ(r.result, update ? "pass" : "fail");
        EXPECT_EQ(r.reason, update ? "" : "the spin check was stopped");
        EXPECT_TRUE(links.contains(r.port)) << r.port.toStdString();
    }
    for (const QString& link : links)
        unregister_virtual_port(link);
}

const Row kRows[] = {{"SpinCheck", false}, {"Update", true}};
INSTANTIATE_TEST_SUITE_P(Rows, StationEndTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
