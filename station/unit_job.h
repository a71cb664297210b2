#pragma once
// One unit's job on a port's session: identify, read (and back up), the
// firmware update, the golden settings and their read-back, the spin check.
// It runs on the session's thread and returns the unit's record; the caller
// adds the station, the port and the unit number and stores it.

#include "records/unit_record.h"
#include "station/station_events.h"
#include "station/station_plan.h"

#include <QEventLoop>
#include <functional>

class EscSession;

namespace station {

class UnattendedDialogs;
class UnattendedView;

class UnitJob {
public:
    struct Hooks {
        std::function<void(Step)> step;                  // a step starts
        std::function<void(int value, int maximum)> progress;  // how far the running step has come
    };
    UnitJob(EscSession& session, UnattendedView& view, UnattendedDialogs& dialogs, const Plan& plan, Hooks hooks);

    records::UnitRecord run();

    // Ends a running spin check now (the motor is released at once); the
    // unit then fails. Later spin checks do not start.
    void stop_spin();

private:
    bool identify(records::UnitRecord& r);
    bool read(records::UnitRecord& r);
    bool update_firmware(records::UnitRecord& r);
    bool await_identification();  // true once the ESC is identified again
    bool write_settings(records::UnitRecord& r);
    bool spin(records::UnitRecord& r);
    QString box_reason(const QString& fallback);
    // Runs one step, timed, and keeps its duration.
    bool timed(records::UnitRecord& r, Step step, bool (UnitJob::*body)(records::UnitRecord&));

    EscSession& s_;
    UnattendedView& view_;
    UnattendedDialogs& dialogs_;
    const Plan& plan_;
    Hooks hooks_;
    QEventLoop* spinLoop_ = nullptr;
    bool spinStopped_ = false;
};

// The eight values as a record keeps them.
std::vector<int> as_list(const SettingValues& values);

}  // namespace station
