#pragma once
// One port of the station, in a thread of its own with its own session: it
// asks for the ESC twice a second (the probe first while no card answers),
// runs the unit's job when one is there, hands the record over and waits
// until the card says the ESC is gone, so that a unit left plugged in is
// never done twice. Its slots come queued from the engine; they may arrive
// inside a job's waits, so they only set what the job looks at.

#include "records/unit_record.h"
#include "station/station_events.h"
#include "station/station_plan.h"

#include <QObject>
#include <QTimer>
#include <memory>

class EscSession;

namespace station {

class UnitGate;
class UnitJob;
class UnattendedDialogs;
class UnattendedView;

class PortWorker : public QObject {
    Q_OBJECT
public:
    PortWorker(int index, QString port, const Plan& plan, UnitGate& gate);
    ~PortWorker() override;

public slots:
    void start();    // on the port's thread: makes the session and starts asking
    void proceed();  // the last record is stored
    void stop();     // a running spin check ends now
    void finish();   // closes the session once no job runs, then ends the thread

signals:
    void stateChanged(int port, station::PortState state, const QString& detail);
    void stepStarted(int port, station::Step step, qint64 unit);
    void progress(int port, int value, int maximum);
    void unitDone(int port, const records::UnitRecord& record);
    void finished(int port);

private:
    enum class Phase { NoCard, Waiting, TakeOut };
    void tick();
    void search();
    void ask_identification();
    void run_unit(qint64 unit);
    void set_state(PortState state, const QString& detail = {});
    PortState idle_state() const;  // waiting, or paused while no unit may start
    void finish_now();

    const int index_;
    const QString port_;
    const Plan& plan_;
    UnitGate& gate_;
    std::unique_ptr<UnattendedView> view_;
    std::unique_ptr<UnattendedDialogs> dialogs_;
    std::unique_ptr<EscSession> session_;
    QTimer ask_{this};  // a child, so that it moves to the port's thread
    Phase phase_ = Phase::NoCard;
    bool takeOut_ = false;  // the last unit is still plugged in
    bool busy_ = false;     // a tick runs
    bool held_ = false;     // its record is not stored yet
    bool stopping_ = false;
    bool finishing_ = false;
    UnitJob* job_ = nullptr;
    PortState lastResult_ = PortState::Passed;  // of the unit still plugged in
    QString lastReason_;
    std::optional<PortState> shown_;
    QString shownDetail_;
};

}  // namespace station
