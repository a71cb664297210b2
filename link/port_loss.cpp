#include "link/port_loss.h"

#include "link/esc_view.h"
#include "link/link.h"
#include "link/model_table.h"
#include "link/status_texts.h"
#include "timing/window_timer.h"
#include "serial/link_trace.h"
#include "serial/port_list.h"
#include "serial/port_watcher.h"
#include "serial/tcomm.h"

namespace {

// The node is there before udev has given it its group and access, and
// ModemManager may hold it for a moment: a refused open is tried again for
// a few seconds.
constexpr int kRetryMs = 250;
constexpr int kRetries = 20;
constexpr int kPortSettleDelay = 15;  // as at start-up

}  // namespace

PortLoss::PortLoss(Link& link, TComm& comm, SharedState& st, EscView& view, Dialogs& dialogs,
                   WindowTimer& watchdog, PortWatcher* watcher, QObject* parent)
    : QObject(parent),
      link_(link),
      comm_(comm),
      st_(st),
      view_(view),
      dialogs_(dialogs),
      watchdog_(watchdog),
      watcher_(watcher)
{
    comm_.OnRequestHangup = [this](TComm*) { port_gone(); };
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, &PortLoss::reconnect);
    connect(&link_, &Link::idle, this, &PortLoss::after_command);
    if (watcher_) {
        connect(watcher_, &PortWatcher::portInUseGone, this, [this](const QString& path) {
            // Only the port the link is on; the watcher may still follow the
            // one a command has just left.
            if (path == port_device_path(comm_.CommName()))
                port_gone();
        });
        connect(watcher_, &PortWatcher::portInUseBack, this, &PortLoss::port_back);
    }
}

PortLoss::~PortLoss()
{
    comm_.OnRequestHangup = nullptr;
}

void PortLoss::port_gone()
{
    // Already down, or a port the program closed itself (a stale report).
    if (lost() || !comm_.IsOpen())
        return;
    lostPort_ = comm_.CommName();
    trace_event(QStringLiteral("port gone: ") + lostPort_);
    comm_.CloseComm();
    link_.set_lost_port(lostPort_);
    follow_port_in_use();
    if (link_.busy()) {
        // The command's waits end at once and it reports its own failure.
        downPending_ = true;
        return;
    }
    link_down(true);
}

void PortLoss::link_down(bool box)
{
    Link::Exchange exchange(link_, CommandKind::Watchdog);
    watchdog_.stop();  // no search and no second report on top of this one
    st_.auto_search = false;
    if (stop_speed_poll)
        stop_speed_poll();
    if (box)
        dialogs_.message(QString::fromLatin1(box_title::kCommError), QString::fromLatin1(kHardwareNotConnect),
                         BoxIcon::Error);
    view_.showCardLamp(false);
    view_.showEscLamp(false);
    link_.set_esc_labels(kLabelsUnknown);
    link_.setStatus(QString::fromLatin1(status::kCommError));
    st_.esc_ok = false;
}

void PortLoss::port_back(const QString& path)
{
    if (!lost())
        return;
    backAt_ = path;
    retriesLeft_ = kRetries;
    reconnect();
}

void PortLoss::reconnect()
{
    if (!lost() || backAt_.isEmpty() || link_.busy())
        return;  // after_command comes back here once the command has ended
    Link::Exchange exchange(link_, CommandKind::Watchdog);
    // Under another device name the link follows it there; the box shows it.
    const bool renamed = backAt_ != port_device_path(lostPort_);
    if (renamed)
        comm_.SetCommName(backAt_);
    try {
        comm_.OpenComm();
    } catch (const ECommsError&) {
        if (renamed)
            comm_.SetCommName(lostPort_);  // still waiting for the port that went
        if (retriesLeft_-- > 0)
            retry_.start();
        else
            backAt_.clear();  // until the watcher sees it come back again
        return;
    }
    if (renamed)
        view_.showPortName(backAt_);
    lostPort_.clear();
    backAt_.clear();
    link_.set_lost_port({});
    follow_port_in_use();
    // The start-up chain: the card's answer to the probe starts the
    // identification, its silence the quiet search.
    link_.pumped_delay(kPortSettleDelay);
    link_.arm_search();
}

void PortLoss::after_command()
{
    if (lost() && (comm_.IsOpen() || comm_.CommName() != lostPort_)) {
        // A search or a port switch has moved the link: nothing to wait for.
        lostPort_.clear();
        backAt_.clear();
        retry_.stop();
        link_.set_lost_port({});
        downPending_ = false;
    }
    if (downPending_) {
        downPending_ = false;
        link_down(!link_.last_outcome().failure_shown());
    }
    if (!retry_.isActive())
        reconnect();
    follow_port_in_use();
}

void PortLoss::follow_port_in_use()
{
    if (!watcher_)
        return;
    const QString port = lost()            ? port_device_path(lostPort_)
                         : comm_.IsOpen() ? port_device_path(comm_.CommName())
                                          : QString();
    // Set again only on a change: the watcher compares with what it saw then.
    if (port == followed_)
        return;
    followed_ = port;
    watcher_->setPortInUse(port);
}
