#pragma once
// The production station in a window: the set-up, a tile per port, the
// counts and the last records, all drawn from the engine's signals
// (station/). Stop, closing the window and a signal all end the station as
// the command line does: running jobs finish, a spinning motor gets FF, the
// records are stored; the window closes once the engine has ended.

#include "records/record_store.h"
#include "station/station_engine.h"

#include <QElapsedTimer>
#include <QWidget>

#include <memory>
#include <vector>

class Dialogs;
class PortWatcher;
class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QSettings;

namespace station_window {

class PortTile;
class RecordsTable;
class SetupPanel;

class StationWindow : public QWidget {
    Q_OBJECT
public:
    // programDir: where the firmware images the station would pick lie.
    StationWindow(QSettings& settings, Dialogs& dialogs, PortWatcher& ports, const QString& programDir,
                  QWidget* parent = nullptr);
    ~StationWindow() override;

    bool running() const { return engine_ && !ended_; }
    void start();
    void stop();
    // 0, or 1 when a unit failed or a record was lost in the last run.
    int exitStatus() const { return engine_ ? engine_->exitStatus() : 0; }

    // For tests: the engine of the running (or last) station.
    const station::Engine* engine() const { return engine_.get(); }
    const std::vector<PortTile*>& tiles() const { return tiles_; }

signals:
    void stationEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void toggle();
    void showTiles();
    void onUnitFinished(int port, const records::UnitRecord& record);
    void onEnded();
    void showCounts();
    void exportCsv();
    void problem(const QString& text);

    QSettings& settings_;
    Dialogs& dialogs_;
    const QString programDir_;
    SetupPanel* setup_;
    QPushButton* start_;
    QPushButton* stop_;
    QCheckBox* sound_;
    QLabel* problems_;
    QWidget* tileArea_;
    QGridLayout* tileGrid_;
    QLabel* counts_;
    QLabel* trouble_;
    RecordsTable* table_;
    QPushButton* export_;
    std::vector<PortTile*> tiles_;
    std::unique_ptr<records::RecordStore> store_;
    std::unique_ptr<station::Engine> engine_;
    QElapsedTimer since_;
    int passed_ = 0;
    int failed_ = 0;
    bool ended_ = false;
    bool closing_ = false;
};

}  // namespace station_window
