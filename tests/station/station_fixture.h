#pragma once
// Runs the real `zelt-cli station --json` against several simulated cards,
// each on a pseudo-terminal of its own, in scratch XDG folders. The test
// reacts to the station's events as they come (takes an ESC out, puts one
// back, switches a fault on) and reads the records it stored.

#include "backends.h"
#include "params/ini_file.h"
#include "params/setting_keys.h"
#include "records/record_store.h"
#include "testing/started_sim.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <vector>

class StationTest : public ::testing::Test {
protected:
    static constexpr uint8_t kType = 0x03, kHw = 0x10, kFw = 0x12;

    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        env_ = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME"}) {
            const QString dir = home_.filePath(QString::fromLatin1(name));
            ASSERT_TRUE(QDir().mkpath(dir));
            QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            env_.insert(QString::fromLatin1(name), dir);
        }
        env_.remove(QStringLiteral("QT_LOGGING_RULES"));
        ASSERT_TRUE(QDir().mkpath(home_.filePath("images")));
        ASSERT_TRUE(sim::Simulator::write_sample_images(home_.filePath("images").toStdString()));
        image_ = home_.filePath("images/upt03.blo");
        golden_ = home_.filePath("golden.zelt");
        IniFile ini(golden_);
        for (int pos = 0; pos < kSetupKeyCount; ++pos)
            ini.writeInteger(kIncSection, kIncKeys[pos], kGolden[pos]);
        ASSERT_TRUE(ini.save());
        records_ = home_.filePath("station.sqlite");
    }

    // The records go to a database of that backend (own_server: one the test
    // may stop). False when there is none: a failure is added unless the
    // test may skip, with skipReason_ (`if (!use_database(b)) GTEST_SKIP()`).
    bool use_database(Backend backend, bool own_server = false)
    {
        QString why;
        bool skip = false;
        db_ = make_database(backend, own_server, &why, &skip);
        if (!db_) {
            skipReason_ = why.toStdString();
            if (!skip)
                ADD_FAILURE() << skipReason_;
            return false;
        }
        records_ = db_->address();
        return true;
    }

    void TearDown() override
    {
        if (station_.state() != QProcess::NotRunning) {
            station_.kill();
            station_.waitForFinished();
        }
    }

    void add_cards(int n, const sim::Options& o = unpaced_options())
    {
        for (int i = 0; i < n; ++i) {
            cards_.push_back(started_sim(o));
            ASSERT_NE(cards_.back(), nullptr);
            ports_.append(QString::fromStdString(cards_.back()->port_path()));
        }
        units_.assign(cards_.size(), 0);
    }

    // --ports with every card, --records and --json come first.
    void start_station(const QStringList& more)
    {
        station_.setProcessEnvironment(env_);
        station_.start(QStringLiteral(ZELT_CLI_EXE),
                       QStringList{"station", "--ports", ports_.join(','), "--records", records_, "--station", "bench-1",
                                   "--json"} +
                           more);
        ASSERT_TRUE(station_.waitForStarted());
    }

    int card_of(const QJsonObject& event) const { return ports_.indexOf(event.value("port").toString()); }

    // Hands each event to onEvent until the station ends, and an empty one
    // whenever nothing has come for a while; then the exit status.
    int run(const std::function<void(const QJsonObject&)>& onEvent, int timeoutMs = 60000)
    {
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            while (station_.canReadLine()) {
                const QByteArray line = station_.readLine().trimmed();
                const QJsonObject event = QJsonDocument::fromJson(line).object();
                if (event.isEmpty()) {
                    ADD_FAILURE() << "not a JSON line: " << line.toStdString();
                    continue;
                }
                events_.append(event);
                if (event.value("event") == "unit" && card_of(event) >= 0)
                    ++units_[card_of(event)];
                if (onEvent)
                    onEvent(event);
            }
            if (station_.state() == QProcess::NotRunning)
                break;
            if (waited.elapsed() > timeoutMs) {
                ADD_FAILURE() << "the station did not end; stderr:\n"
                              << station_.readAllStandardError().toStdString();
                station_.kill();
                station_.waitForFinished();
                return -1;
            }
            if (!station_.waitForReadyRead(100) && onEvent)
                onEvent(QJsonObject{});
        }
        err_ = QString::fromLocal8Bit(station_.readAllStandardError());
        return station_.exitStatus() == QProcess::NormalExit ? station_.exitCode() : -1;
    }

    // The usual operator: once a card's unit is done, its ESC comes out and,
    // as soon as the port waits again, the next one goes in, until perCard.
    std::function<void(const QJsonObject&)> operator_for(int perCard, std::vector<bool> keepPlugged = {})
    {
        keepPlugged.resize(cards_.size(), false);
        out_.assign(cards_.size(), false);
        return [this, perCard, keepPlugged](const QJsonObject& e) {
            const int card = card_of(e);
            if (card < 0)
                return;
            if (e.value("event") == "unit" && units_[card] < perCard && !keepPlugged[card]) {
                cards_[card]->unplug();
                out_[card] = true;
            }
            if (e.value("event") == "state" && e.value("state") == "waiting for an ESC" && out_[card]) {
                out_[card] = false;
                cards_[card]->plug(kType, kHw, kFw);
            }
        };
    }

    QList<records::UnitRecord> stored() const
    {
        QString error;
        const auto d = records::parse_destination(records_, &error);
        EXPECT_TRUE(d) << error.toStdString();
        if (!d)
            return {};
        const auto list = records::RecordStore(*d).list(std::nullopt, &error);
        EXPECT_TRUE(list) << error.toStdString();
        return list.value_or(QList<records::UnitRecord>{});
    }

    QList<QJsonObject> unit_events(int card) const
    {
        QList<QJsonObject> units;
        for (const QJsonObject& e : events_)
            if (e.value("event") == "unit" && card_of(e) == card)
                units.append(e);
        return units;
    }

    static constexpr std::array<int, kSetupKeyCount> kGolden = {1, 1, 2, 1, 2, 0};

    std::unique_ptr<Database> db_;
    std::string skipReason_;
    QTemporaryDir home_;
    QProcessEnvironment env_;
    QString image_, golden_, records_;
    std::vector<std::unique_ptr<sim::Simulator>> cards_;
    QStringList ports_;
    QProcess station_;
    QList<QJsonObject> events_;
    std::vector<int> units_;
    std::vector<bool> out_;
    QString err_;
};
