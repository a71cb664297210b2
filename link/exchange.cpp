// The overlap guard: one command at a time, and what happens to the user's
// input that arrives while one runs.

#include "link/link.h"

#include <QTimer>

namespace {

bool background(CommandKind kind)
{
    return kind == CommandKind::SpeedTick || kind == CommandKind::Watchdog;
}

bool shows_busy(CommandKind kind)
{
    return kind == CommandKind::Click || kind == CommandKind::Watchdog;
}

}  // namespace

Link::Exchange::Exchange(Link& link, CommandKind kind) : link_(link), cursor_(shows_busy(kind))
{
    if (link_.exchanges_++ == 0)
        link_.background_ = background(kind);
    if (cursor_)
        link_.view_.showBusy(true);
}

Link::Exchange::~Exchange()
{
    if (cursor_)
        link_.view_.showBusy(false);
    if (--link_.exchanges_ == 0)
        link_.exchange_ended();
}

void Link::exchange_ended()
{
    // What was held back runs from the event loop, not from inside the
    // handler that is just returning.
    QTimer::singleShot(0, this, [this] { run_deferred(); });
}

void Link::run_deferred()
{
    // Should a new exchange have started by now, its end comes back here.
    if (busy())
        return;
    if (!deferred_.empty()) {
        const Deferred next = std::move(deferred_.front());
        deferred_.pop_front();
        run_now(next.handler, next.kind);
        return;  // the end of this exchange runs the next one
    }
    // The user's input first; a watchdog tick held back comes after it.
    watchdog_.flushDeferred();
    if (!holding_back())
        emit idle();
}

void Link::run_now(const Command& handler, CommandKind kind)
{
    Exchange exchange(*this, kind);
    Outcome ended = handler();
    // Set before the exchange's end, which tells the port-loss follower.
    last_outcome_ = std::move(ended);
}

bool Link::run_command(const Command& handler, CommandKind kind)
{
    if (holding_back()) {
        // A speed tick comes again in a moment; the user's click does not.
        const bool keep = kind == CommandKind::ModeSwitch ||
                          (kind == CommandKind::Click && (!busy() || background_));
        if (!keep)
            return false;
        deferred_.push_back({kind, handler});
        if (!busy())
            exchange_ended();
        return true;
    }
    run_now(handler, kind);
    return true;
}

void Link::drop_deferred()
{
    deferred_.clear();
}
