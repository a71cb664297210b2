#pragma once
// The production station: a worker thread per port (port_worker.h), the
// unit records stored on this thread before the port that made one may start
// its next unit, and the end, after a count of units or when asked. A window
// or the command line draws its signals; it holds no drawing of its own.

#include "records/record_store.h"
#include "records/unit_record.h"
#include "station/station_events.h"
#include "station/station_plan.h"
#include "station/unit_gate.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

class QThread;

namespace station {

class PortWorker;

class Engine : public QObject {
    Q_OBJECT
public:
    // firstUnit: the number of the station's next unit (RecordStore::next_unit).
    Engine(Plan plan, records::RecordStore& store, qint64 firstUnit, QObject* parent = nullptr);
    ~Engine() override;

    void start();
    // No new unit starts; a spin check ends at once (FF), every other running
    // job ends as it would; once their records are stored the station ends.
    void stop();

    const Plan& plan() const { return plan_; }
    // Each port's adapter's stable name (its link in /dev/serial/by-id), or
    // empty; known once started.
    const QStringList& adapters() const { return adapters_; }
    // 0 when every unit passed, 1 when any failed or a record was lost.
    int exitStatus() const { return failed_ || lost_ ? 1 : 0; }
    int unitsDone() const { return done_; }

signals:
    void portState(int port, station::PortState state, const QString& detail);
    void stepStarted(int port, station::Step step, qint64 unit);
    void progress(int port, int value, int maximum);
    // A unit's record, stored (or kept in the journal when stored is false).
    void unitFinished(int port, const records::UnitRecord& record, bool stored);
    // The records cannot be stored (message says why): no new unit starts
    // until they can, which storesAgain() tells.
    void storeTrouble(const QString& message);
    void storesAgain();
    void ended();

private:
    void onUnitDone(int port, const records::UnitRecord& record);
    void onWorkerFinished(int port);
    void retryStore();
    void windDown();

    Plan plan_;
    records::RecordStore& store_;
    UnitGate gate_;
    QStringList adapters_;
    std::vector<QThread*> threads_;
    std::vector<PortWorker*> workers_;
    QTimer retry_;
    int done_ = 0;
    int running_ = 0;  // workers not finished yet
    bool failed_ = false;
    bool lost_ = false;
    bool stopping_ = false;
    bool windingDown_ = false;
    bool troubled_ = false;
};

}  // namespace station
