// zelt-cli station on several simulated cards: whole rounds of units, the
// bytes on each line, the records, and the faults that must touch one unit
// only.

#include "station_fixture.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

QByteArray wire(const sim::Simulator& card)
{
    const std::vector<uint8_t> bytes = card.received();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

class StationRoundTest : public StationTest, public ::testing::WithParamInterface<Backend> {
protected:
    // What a script of single commands sends to a fresh card for one unit,
    // each command's own search but the first left out (the station asks
    // once per unit, and once more after the update has asked the card
    // afresh): identify, read, flash, write, read.
    QByteArray command_sequence()
    {
        auto reference = started_sim();
        EXPECT_NE(reference, nullptr);
        const QString port = QString::fromStdString(reference->port_path());
        QByteArray bytes;
        const QList<QStringList> script = {
            {"identify"}, {"read"}, {"flash", "--image", image_, "--yes"}, {"write", golden_}, {"read"}};
        for (const QStringList& args : script) {
            reference->clear_received();
            QProcess p;
            p.setProcessEnvironment(env_);
            p.start(QStringLiteral(ZELT_CLI_EXE), args + QStringList{"--port", port});
            EXPECT_TRUE(p.waitForFinished(30000));
            EXPECT_EQ(p.exitCode(), 0) << args.join(' ').toStdString() << p.readAllStandardError().toStdString();
            QByteArray sent = wire(*reference);
            EXPECT_TRUE(sent.startsWith("\x35\x50"));
            if (args.first() == "write")
                sent.remove(0, 3);  // its search and its read: the station has read already
            else if (args.first() != "identify")
                sent.remove(0, 2);
            bytes += sent;
            // The update ends with the read-back (0B) and then asks the card
            // afresh (35), whose answer has the ESC asked for (50); a command
            // may close its port before those are out, the station waits.
            if (args.first() == "flash") {
                bytes.truncate(bytes.lastIndexOf('\x0B') + 1);
                bytes += QByteArray("\x35\x50");
            }
        }
        return bytes;
    }
};

// Three cards, two units each, with firmware, settings and a spin check.
TEST_P(StationRoundTest, EveryUnitIsDoneOnceAndRecorded)
{
    if (!use_database(GetParam()))
        GTEST_SKIP() << skipReason_;
    ASSERT_NO_FATAL_FAILURE(add_cards(3));
    const QByteArray unit = command_sequence();
    const QDir backups(home_.filePath("XDG_STATE_HOME/zelt/backups"));
    const qsizetype backedUp = backups.entryList(QDir::Files).size();  // the commands' own
    ASSERT_NO_FATAL_FAILURE(start_station(
        {"--image", image_, "--setup", golden_, "--spin", "1500:1000:20000:1", "--poles", "14", "--units", "6"}));
    EXPECT_EQ(run(operator_for(2)), 0) << err_.toStdString();

    const QList<records::UnitRecord> records = stored();
    ASSERT_EQ(records.size(), 6);
    std::vector<qint64> numbers;
    for (const records::UnitRecord& r : records) {
        SCOPED_TRACE(r.unit);
        numbers.push_back(r.unit);
        EXPECT_EQ(r.station, "bench-1");
        EXPECT_EQ(r.result, "pass") << r.reason.toStdString();
        EXPECT_EQ(r.fw_before, "FW version:V1.2");
        EXPECT_EQ(r.fw_after, "FW version:V1.3");
        EXPECT_EQ(r.image_name, "upt03.blo");
        EXPECT_EQ(r.image_sha256.size(), 64);
        EXPECT_EQ(r.settings_written, (std::vector<int>{1, 1, 2, 1, 2, 0, 2, 0}));
        EXPECT_EQ(r.settings_read_back, r.settings_written);
        EXPECT_EQ(r.settings_before.size(), 8u);
        ASSERT_TRUE(r.rpm);
        EXPECT_GT(*r.rpm, 1000);
        std::vector<QString> steps;
        for (const auto& step : r.steps_ms)
            steps.push_back(step.first);
        EXPECT_EQ(steps, (std::vector<QString>{"identify", "read", "firmware", "settings", "spin"}));
    }
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<qint64>{1, 2, 3, 4, 5, 6}));
    // Every unit's settings were backed up before they were changed, each
    // into a file of its own.
    EXPECT_EQ(backups.entryList(QDir::Files).size() - backedUp, 6);

    for (size_t card = 0; card < cards_.size(); ++card) {
        SCOPED_TRACE(card);
        EXPECT_EQ(unit_events(static_cast<int>(card)).size(), 2);
        // Between the units only the identification is asked; each unit is
        // the commands' bytes, then the spin check, which ends with FF.
        QByteArray line = wire(*cards_[card]);
        for (int n = 0; n < 2; ++n) {
            const qsizetype at = line.indexOf(unit);
            if (at < 0) {
                // Where the line parts from the commands' bytes.
                const qsizetype from = line.indexOf(unit.left(3));
                qsizetype same = 0;
                while (from >= 0 && same < unit.size() && from + same < line.size() && line[from + same] == unit[same])
                    ++same;
                FAIL() << "unit " << n << ": the commands' bytes part at byte " << same << ": expected "
                       << unit.mid(same, 24).toHex(' ').toStdString() << ", sent "
                       << line.mid(from + same, 24).toHex(' ').toStdString();
            }
            EXPECT_TRUE(std::all_of(line.begin(), line.begin() + at, [](char c) { return c == 0x50 || c == 0x35; }))
                << line.left(at).toHex().toStdString();
            line.remove(0, at + unit.size());
            ASSERT_TRUE(line.startsWith('\x06'));
            const qsizetype release = line.indexOf('\xFF');
            ASSERT_GT(release, 1);
            EXPECT_TRUE(std::all_of(line.begin() + 1, line.begin() + release,
                                    [](char c) { return c >= 1 && static_cast<uint8_t>(c) <= 133; }));
            line.remove(0, release + 1);
        }
        EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) { return c == 0x50; })) << line.toHex().toStdString();
        EXPECT_FALSE(cards_[card]->in_speed_mode());
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, StationRoundTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         [](const auto& info) { return std::string(backend_name(info.param)); });

// One card's trouble fails that card's unit; the card's next unit and the
// other cards' units pass.
struct FaultRow {
    const char* name;
    const char* step;  // the fault comes when this step starts on card 2
    std::function<void(sim::Simulator&)> fault;
    // Of the failed unit, as a pattern; empty: none fails. The fault is put in
    // when the station reports the step, which may already have ended by then
    // on a loaded machine: a silent card may then fail the step after it.
    const char* reason;
    int units;           // card 2's units in all
    bool keepPlugged = false;
};

class StationFaultTest : public StationTest, public ::testing::WithParamInterface<FaultRow> {};

TEST_P(StationFaultTest, OnlyThatUnitFails)
{
    const FaultRow& row = GetParam();
    ASSERT_NO_FATAL_FAILURE(add_cards(3));
    ASSERT_NO_FATAL_FAILURE(start_station({"--image", image_, "--setup", golden_, "--units", QString::number(4 + row.units)}));
    std::vector<bool> keep(3, false);
    keep[1] = row.keepPlugged;
    const auto usual = operator_for(2, keep);
    bool faulted = false;
    const int status = run([&](const QJsonObject& e) {
        if (card_of(e) == 1 && e.value("event") == "step" && e.value("step") == row.step && !faulted) {
            faulted = true;
            row.fault(*cards_[1]);
        }
        if (card_of(e) == 1 && e.value("event") == "unit") {
            cards_[1]->change_faults([](sim::Faults& f) { f = sim::Faults{}; });
            cards_[1]->set_write_ack(0x55);
        }
        usual(e);
    });
    EXPECT_EQ(status, *row.reason ? 1 : 0) << err_.toStdString();
    for (int card : {0, 2}) {
        const QList<QJsonObject> units = unit_events(card);
        ASSERT_EQ(units.size(), 2) << card;
        for (const QJsonObject& u : units)
            EXPECT_EQ(u.value("result"), "pass") << u.value("reason").toString().toStdString();
    }
    const QList<QJsonObject> faulty = unit_events(1);
    ASSERT_EQ(faulty.size(), row.units);
    EXPECT_EQ(faulty[0].value("result"), *row.reason ? "fail" : "pass");
    EXPECT_TRUE(faulty[0].value("reason").toString().contains(QRegularExpression(QString::fromLatin1(row.reason))))
        << faulty[0].value("reason").toString().toStdString();
    if (row.units > 1)
        EXPECT_EQ(faulty[1].value("result"), "pass") << faulty[1].value("reason").toString().toStdString();
    EXPECT_EQ(stored().size(), 4 + row.units);
}

const FaultRow kFaultRows[] = {
    {"CardFallsSilent", "read", [](sim::Simulator& c) { c.change_faults([](sim::Faults& f) { f.silent_card = true; }); },
     "^(reading the settings|the firmware update) failed: ", 2},
    // The adapter is gone for good: that port has no second unit.
    {"AdapterUnpluggedDuringUpdate", "firmware",
     [](sim::Simulator& c) { c.change_faults([](sim::Faults& f) { f.hangup_after_bytes = 300; }); },
     "the firmware update failed", 1},
    {"VerifyMismatch", "firmware", [](sim::Simulator& c) { c.change_faults([](sim::Faults& f) { f.flip_readback_byte = 7; }); },
     "the firmware update failed", 2},
    // Put in during the update, which lasts seconds, so that it is there
    // before the write, however fast the write follows its step's report.
    {"RefusedWrite", "firmware", [](sim::Simulator& c) { c.set_write_ack(0x00); }, "writing the settings failed: ", 2},
    // A unit left in its card is not done again; the station ends with the
    // others' units.
    {"EscLeftPluggedIn", "identify", [](sim::Simulator&) {}, "", 1, true},
};

INSTANTIATE_TEST_SUITE_P(Rows, StationFaultTest, ::testing::ValuesIn(kFaultRows),
                         [](const auto& info) { return std::string(info.param.name); });

// An ESC that cannot take the image fails for that reason, and nothing of
// the update reaches its line; the other card's unit passes.
struct ImageRow {
    const char* name;
    uint8_t type, fw;  // the refused card's ESC
    const char* image;  // --image, or --firmware when null
    const char* reason;
};

class StationImageTest : public StationTest, public ::testing::WithParamInterface<ImageRow> {};

TEST_P(StationImageTest, AnImageTheEscCannotTakeFailsItsUnitOnly)
{
    const ImageRow& row = GetParam();
    ASSERT_NO_FATAL_FAILURE(add_cards(1));
    sim::Options refused = unpaced_options();
    refused.type = row.type;
    refused.fw_version = row.fw;
    ASSERT_NO_FATAL_FAILURE(add_cards(1, refused));
    units_.assign(2, 0);
    // --firmware looks where the window looks: the user's data folder among them.
    const QString folder = home_.filePath("XDG_DATA_HOME/zelt/firmware");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(sim::Simulator::write_sample_images(folder.toStdString()));
    ASSERT_NO_FATAL_FAILURE(start_station(row.image ? QStringList{"--image", QDir(folder).filePath(row.image), "--units", "2"}
                                                    : QStringList{"--firmware", "--units", "2"}));
    EXPECT_EQ(run(nullptr), 1) << err_.toStdString();
    const QList<QJsonObject> good = unit_events(0), refusedUnits = unit_events(1);
    ASSERT_EQ(good.size(), 1);
    ASSERT_EQ(refusedUnits.size(), 1);
    EXPECT_EQ(good[0].value("result"), "pass") << good[0].value("reason").toString().toStdString();
    EXPECT_EQ(good[0].value("fw_after"), "FW version:V1.3");
    EXPECT_EQ(refusedUnits[0].value("result"), "fail");
    EXPECT_EQ(refusedUnits[0].value("reason").toString(), row.reason);
    QByteArray line = wire(*cards_[1]);
    EXPECT_TRUE(line.startsWith(QByteArray("\x35\x50\x35\x50\x0D"))) << line.toHex(' ').toStdString();
    line.remove(0, 5);
    EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) { return c == 0x50; })) << line.toHex(' ').toStdString();
}

const ImageRow kImageRows[] = {
    {"VersionTheWindowRefuses", 0x03, 0x10, nullptr,
     "the firmware update failed: sorry! You can not update of the ESC, please contact manufacturers."},
    {"AnotherModelsImage", 0x05, 0x12, "upt03.blo",
     "the image upt03.blo is not the one for this ESC's model (HW type:ESC_T05), which is upt05.blo; nothing was "
     "sent"},
};

INSTANTIATE_TEST_SUITE_P(Rows, StationImageTest, ::testing::ValuesIn(kImageRows),
                         [](const auto& info) { return std::string(info.param.name); });

// A database that cannot take a record: the record waits in the journal, no
// new unit starts (the ESC plugged in meanwhile waits), and once the
// database is back the journal is stored and the station goes on.
class StationRecordsTest : public StationTest, public ::testing::WithParamInterface<Backend> {};

TEST_P(StationRecordsTest, ThatCannotBeStoredPauseTheStation)
{
    if (!use_database(GetParam(), /*own_server=*/true))
        GTEST_SKIP() << skipReason_;
    ASSERT_NO_FATAL_FAILURE(add_cards(1));
    ASSERT_NO_FATAL_FAILURE(start_station({"--setup", golden_, "--units", "3"}));
    const auto take_away = [this] { return db_->take_away(); };
    const auto bring_back = [this] { return db_->bring_back(); };
    bool away = false, paused = false;
    QStringList order;
    const int status = run([&](const QJsonObject& e) {
        const QString kind = e.value("event").toString();
        if (kind == "unit") {
            order << QStringLiteral("unit %1 %2").arg(e.value("unit").toInt()).arg(e.value("stored").toBool());
            if (units_[0] == 1)
                away = take_away();
            if (units_[0] < 3)
                cards_[0]->unplug();
        }
        if (kind == "records")
            order << QStringLiteral("records %1").arg(e.value("stored").toBool());
        if (kind == "step" && e.value("step") == "identify")
            order << "start";
        if (kind != "state")
            return;
        const QString state = e.value("state").toString();
        if (state == "waiting for an ESC" || state.startsWith("paused")) {
            if (state.startsWith("paused") && !paused) {
                paused = true;
                cards_[0]->plug(kType, kHw, kFw);
                EXPECT_TRUE(bring_back());
            } else if (!state.startsWith("paused")) {
                cards_[0]->plug(kType, kHw, kFw);
            }
        }
    });
    EXPECT_TRUE(away);
    EXPECT_EQ(status, 0) << err_.toStdString();
    // No unit starts between the trouble and its end.
    EXPECT_EQ(order, (QStringList{"start", "unit 1 1", "start", "unit 2 0", "records 0", "records 1", "start",
                                  "unit 3 1"}));
    QList<qint64> numbers;
    for (const records::UnitRecord& r : stored())
        numbers << r.unit;
    EXPECT_EQ(numbers, (QList<qint64>{3, 2, 1}));
    EXPECT_FALSE(QFile::exists(db_->destination().journal));
}

INSTANTIATE_TEST_SUITE_P(Backends, StationRecordsTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         [](const auto& info) { return std::string(backend_name(info.param)); });

// A card that does not answer is shown as such and probed again and again;
// once it answers, its unit runs.
TEST_F(StationTest, ASilentCardIsProbedUntilItAnswers)
{
    ASSERT_NO_FATAL_FAILURE(add_cards(1));
    cards_[0]->change_faults([](sim::Faults& f) { f.silent_card = true; });
    ASSERT_NO_FATAL_FAILURE(start_station({"--setup", golden_, "--units", "1"}));
    QStringList states;
    const int status = run([&](const QJsonObject& e) {
        if (e.value("event") == "state")
            states << e.value("state").toString();
        // The probe has gone out more than once: the card answers now.
        if (wire(*cards_[0]).count('\x35') >= 2)
            cards_[0]->change_faults([](sim::Faults& f) { f.silent_card = false; });
    });
    EXPECT_EQ(status, 0) << err_.toStdString();
    EXPECT_EQ(states, (QStringList{"no card", "running", "PASS, take the ESC out"}));
    const QByteArray line = wire(*cards_[0]);
    EXPECT_TRUE(line.startsWith("\x35\x35")) << line.toHex(' ').toStdString();
    EXPECT_EQ(unit_events(0).value(0).value("result"), "pass");
}
