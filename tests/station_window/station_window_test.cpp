// The real station window (offscreen) against four simulated cards: started
// and stopped with Space, two units on each card, each updated and given the
// golden settings, the last one on the second card failing by a firmware
// read-back that differs; then the tiles, the counts, the
// records table and its CSV export, and the records stored.

#include "station_window/station_window.h"
#include "link/dialogs.h"
#include "params/ini_file.h"
#include "params/setting_keys.h"
#include "records/record_store.h"
#include "records/records_csv.h"
#include "serial/port_list.h"
#include "serial/port_watcher.h"
#include "station_window/port_tile.h"
#include "station_window/records_table.h"
#include "testing/event_wait.h"
#include "testing/qstring_printer.h"
#include "testing/scoped_env.h"
#include "testing/started_sim.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <vector>

namespace {

constexpr uint8_t kType = 0x03, kHw = 0x10, kFw = 0x12;
constexpr int kPerCard = 2;
constexpr int kFailing = 1;  // the card whose second unit fails

// Saves the CSV export where the test says.
class ExportDialogs : public Dialogs {
public:
    QString savePath;
    QString lastBox;
    BoxAnswer message(const QString&, const QString& text, BoxIcon, BoxButtons) override
    {
        lastBox = text;
        return BoxAnswer::Ok;
    }
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&) override { return savePath; }
};

TEST(StationWindowTest, FourCardsTwoUnitsEachOneFailing)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const ScopedEnv runtime("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
    const QString golden = home.filePath(QStringLiteral("golden.zelt"));
    {
        IniFile ini(golden);
        const int values[kSetupKeyCount] = {1, 1, 2, 1, 2, 0};
        for (int pos = 0; pos < kSetupKeyCount; ++pos)
            ini.writeInteger(kIncSection, kIncKeys[pos], values[pos]);
        ASSERT_TRUE(ini.save());
    }
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("images"))));
    ASSERT_TRUE(sim::Simulator::write_sample_images(home.filePath(QStringLiteral("images")).toStdString()));
    std::vector<std::unique_ptr<sim::Simulator>> cards;
    QStringList ports;
    for (int i = 0; i < 4; ++i) {
        cards.push_back(started_sim());
        ASSERT_NE(cards.back(), nullptr);
        QString link;
        ASSERT_TRUE(register_virtual_port(QString::fromStdString(cards.back()->port_path()), &link));
        ports.append(link);
    }
    const QString records = home.filePath(QStringLiteral("records.sqlite"));
    QSettings settings(home.filePath(QStringLiteral("station.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("station/setup"), golden);
    settings.setValue(QStringLiteral("station/records"), records);
    settings.setValue(QStringLiteral("station/sound"), false);
    settings.setValue(QStringLiteral("station/firmware"), QStringLiteral("file"));
    settings.setValue(QStringLiteral("station/image"), home.filePath(QStringLiteral("images/upt03.blo")));

    ExportDialogs dialogs;
    PortWatcher watcher;
    station_window::StationWindow window(settings, dialogs, watcher, home.path());
    window.show();
    // Only the simulated cards: any port of the machine is unchecked.
    auto* list = window.findChild<QListWidget*>();
    ASSERT_TRUE(
        wait_until([&] { return list->findItems(ports.last(), Qt::MatchExactly).size() == 1; }, 5000));
    for (int i = 0; i < list->count(); ++i)
        if (!ports.contains(list->item(i)->text()))
            list->item(i)->setCheckState(Qt::Unchecked);

    QTest::keyClick(&window, Qt::Key_Space);
    ASSERT_TRUE(window.running());
    const QStringList& plan = window.engine()->plan().ports;
    ASSERT_EQ(plan.size(), 4);
    std::vector<int> units(4, 0);
    std::vector<bool> out(4, false);
    int done = 0;
    // The operator: a unit done comes out, the next goes in once the port waits.
    QObject::connect(window.engine(), &station::Engine::unitFinished, &window,
                     [&](int port, const auto&, bool) {
                         const int card = static_cast<int>(ports.indexOf(plan[port]));
                         ++done;
                         if (++units[card] < kPerCard) {
                             if (card == kFailing)
                                 cards[card]->change_faults([](sim::Faults& f) { f.flip_readback_byte = 7; });
                             cards[card]->unplug();
                             out[card] = true;
                         }
                     });
    QObject::connect(window.engine(), &station::Engine::portState, &window,
                     [&](int port, station::PortState state, const QString&) {
                         const int card = static_cast<int>(ports.indexOf(plan[port]));
                         if (state == station::PortState::Waiting && out[card]) {
                             out[card] = false;
                             cards[card]->plug(kType, kHw, kFw);
                         }
                     });
    ASSERT_TRUE(wait_until([&] { return done == 4 * kPerCard; }, 60000)) << done << " units done";
    bool ended = false;
    QObject::connect(&window, &station_window::StationWindow::stationEnded, [&] { ended = true; });
    QTest::keyClick(&window, Qt::Key_Space);
    ASSERT_TRUE(wait_until([&] { return ended; }, 20000));
    EXPECT_FALSE(window.running());
    EXPECT_EQ(window.exitStatus(), 1);

    for (int i = 0; i < 4; ++i) {
        const station_window::PortTile* tile = window.tiles()[i];
        const int card = static_cast<int>(ports.indexOf(plan[i]));
        EXPECT_EQ(tile->units(), kPerCard);
        if (card == kFailing) {
            EXPECT_EQ(tile->word(), "FAIL");
            EXPECT_TRUE(tile->detail().startsWith("the firmware update failed"))
                << tile->detail().toStdString();
            EXPECT_TRUE(tile->detail().endsWith("; take the ESC out"));
        } else {
            EXPECT_EQ(tile->word(), "PASS") << tile->detail().toStdString();
        }
    }
    EXPECT_EQ(
        window.findChild<QLabel*>(QStringLiteral("counts"))->text().section(QStringLiteral("    "), 0, 1),
        "Passed: 7    Failed: 1");

    auto* table = window.findChild<station_window::RecordsTable*>();
    ASSERT_EQ(table->rowCount(), 4 * kPerCard);
    int failedRows = 0;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->item(row, 4)->text() == "FAIL") {
            ++failedRows;
            EXPECT_EQ(table->item(row, 1)->text(), QFileInfo(ports[kFailing]).fileName());
            EXPECT_EQ(table->item(row, 5)->text() + "; take the ESC out",
                      window.tiles()[plan.indexOf(ports[kFailing])]->detail());
        }
    }
    EXPECT_EQ(failedRows, 1);
    // What was stored, but for the database's key.
    QString error;
    const auto stored =
        records::RecordStore(*records::parse_destination(records, &error)).list(std::nullopt, &error);
    ASSERT_TRUE(stored) << error.toStdString();
    ASSERT_EQ(stored->size(), 4 * kPerCard);
    const auto by_unit = [](QList<records::UnitRecord> list) {
        for (records::UnitRecord& r : list)
            r.id = 0;
        std::sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.unit < b.unit; });
        return list;
    };
    EXPECT_EQ(by_unit(table->shown()), by_unit(*stored));

    dialogs.savePath = home.filePath(QStringLiteral("last.csv"));
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text() == "Export CSV...")
            button->click();
    QFile csv(dialogs.savePath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    // The records shown, as `zelt-cli records --csv` writes them.
    EXPECT_EQ(csv.readAll(), records::to_csv(table->shown()));
    EXPECT_TRUE(dialogs.lastBox.isEmpty());
    for (const QString& link : ports)
        unregister_virtual_port(link);
}

}  // namespace
