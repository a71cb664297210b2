#include "station/port_worker.h"

#include "core/esc_session.h"
#include "link/wire_codes.h"
#include "station/unattended.h"
#include "station/unit_gate.h"
#include "station/unit_job.h"

#include <QScopeGuard>
#include <QThread>

namespace station {
namespace {

constexpr int kAskMs = 500;  // twice a second
// An identification comes within a few byte times; a card without an ESC
// may answer a single 50, which only the end of this wait tells.
constexpr int kIdentifyWaitMs = 300;

}  // namespace

PortWorker::PortWorker(int index, QString port, const Plan& plan, UnitGate& gate)
    : index_(index), port_(std::move(port)), plan_(plan), gate_(gate)
{
}

PortWorker::~PortWorker() = default;

void PortWorker::start()
{
    view_ = std::make_unique<UnattendedView>();
    dialogs_ = std::make_unique<UnattendedDialogs>();
    session_ = std::make_unique<EscSession>(
        *view_, *dialogs_,
        SessionChoices{.programDir = plan_.programDir, .watchdog = false, .followPortLoss = false, .watcher = nullptr});
    session_->comm().SetCommName(port_);
    connect(&ask_, &QTimer::timeout, this, &PortWorker::tick);
    ask_.start(kAskMs);
    set_state(PortState::NoCard);
    tick();
}

void PortWorker::proceed()
{
    held_ = false;
}

void PortWorker::stop()
{
    stopping_ = true;
    if (job_)
        job_->stop_spin();
}

void PortWorker::finish()
{
    finishing_ = true;
    stop();
    if (!busy_)
        finish_now();
}

void PortWorker::finish_now()
{
    ask_.stop();
    // The session's end closes the port; a motor still in speed mode gets FF first.
    session_.reset();
    emit finished(index_);
    QThread::currentThread()->quit();
}

void PortWorker::tick()
{
    if (busy_ || held_ || !session_)
        return;
    busy_ = true;
    const auto done = qScopeGuard([this] {
        busy_ = false;
        if (finishing_)
            finish_now();
    });
    if (finishing_)
        return;
    if (phase_ == Phase::NoCard)
        search();
    else
        ask_identification();
}

void PortWorker::search()
{
    session_->link().set_port_list({port_});
    const Outcome found = session_->perform([this] { return session_->link().search(Link::SearchReport::Quiet); });
    if (!found.done()) {
        set_state(PortState::NoCard);
        return;
    }
    const bool esc = session_->state().esc_ok;
    if (takeOut_ && esc) {
        phase_ = Phase::TakeOut;  // the last unit is still there
        set_state(lastResult_, lastReason_);
        return;
    }
    takeOut_ = false;
    phase_ = Phase::Waiting;
    if (!esc) {
        set_state(PortState::Waiting);
        return;
    }
    if (const std::optional<qint64> unit = gate_.claim())
        run_unit(*unit);
    else
        set_state(idle_state());
}

void PortWorker::ask_identification()
{
    QString reply;
    session_->perform([this, &reply] {
        reply = session_->link().exchange(QByteArray(1, request::kIdentifyEsc),
                                          {kIdentifyWaitMs, [](const QString& r) { return r.size() > 7; }});
        return Outcome::ok();
    });
    if (reply.isEmpty()) {
        phase_ = Phase::NoCard;  // asked again with the probe first
        set_state(PortState::NoCard);
        return;
    }
    const bool esc = reply.size() >= 8 && !reply.startsWith(reply::kNoEsc);
    if (phase_ == Phase::TakeOut) {
        if (esc)
            return;
        takeOut_ = false;
        phase_ = Phase::Waiting;
        set_state(idle_state());
        return;
    }
    if (!esc) {
        set_state(idle_state());
        return;
    }
    if (const std::optional<qint64> unit = gate_.claim())
        run_unit(*unit);
    else
        set_state(idle_state());
}

void PortWorker::run_unit(qint64 unit)
{
    set_state(PortState::Running);
    UnitJob job(*session_, *view_, *dialogs_, plan_,
                {.step = [this, unit](Step step) { emit stepStarted(index_, step, unit); },
                 .progress = [this](int value, int maximum) { emit progress(index_, value, maximum); }});
    job_ = &job;
    if (stopping_)
        job.stop_spin();
    records::UnitRecord record = job.run();
    job_ = nullptr;
    record.port = port_;
    record.unit = unit;
    record.station = plan_.stationName;
    takeOut_ = true;
    phase_ = Phase::TakeOut;
    held_ = true;
    lastResult_ = record.result == QLatin1String("pass") ? PortState::Passed : PortState::Failed;
    lastReason_ = record.reason;
    set_state(lastResult_, lastReason_);
    emit unitDone(index_, record);
}

PortState PortWorker::idle_state() const
{
    // Closed while the station stops, too: that is no trouble with the records.
    return gate_.open() || stopping_ ? PortState::Waiting : PortState::Paused;
}

void PortWorker::set_state(PortState state, const QString& detail)
{
    if (shown_ == state && shownDetail_ == detail)
        return;
    shown_ = state;
    shownDetail_ = detail;
    emit stateChanged(index_, state, detail);
}

}  // namespace station
