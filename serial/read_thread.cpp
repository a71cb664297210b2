#include "serial/read_thread.h"

#include "serial/link_trace.h"
#include "serial/thread_priority.h"

#include <sys/prctl.h>

#include <array>
#include <new>

void TReadThread::Execute()
{
    raise_current_thread_priority(PortThreadPriority::Highest);
    // The read interval ends a block; the default 50 us timer slack would
    // add to every block's delivery.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    // The receive side's own stop: set when the line-event wait fails, so
    // that reading ends with it, without stopping the transmit thread.
    std::unique_ptr<CloseEvent> receiveStop = CloseEvent::create();
    if (!receiveStop) {
        requestHangup();
        port_->purge(kPurgeRxAbort | kPurgeRxClear);
        return;
    }
    const StopSignals stop(closeEvent_, receiveStop.get());

    std::thread lineSide;
    bool ok = true;
    if (port_->hasLineEvents()) {
        try {
            lineSide = std::thread([&] { watchLineEvents(stop, *receiveStop); });
        } catch (const std::system_error&) {
            requestHangup();
            ok = false;
        }
    }

    std::array<char, kBlockSize> buffer;
    while (ok) {
        const ReadResult r = port_->read(buffer.data(), buffer.size(), stop);
        if (r.status != IoStatus::Ok) {
            // A terminal reads end of input once it has hung up, as a USB
            // adapter's does when it is pulled out: the port is gone.
            if (r.status == IoStatus::Failed || r.status == IoStatus::EndOfData) {
                requestHangup();
            }
            break;
        }
        // Errors found while these bytes arrived are reported ahead of them.
        if (r.lineErrors != 0) {
            sink_.post(NotificationKind::LineError, r.lineErrors);
        }
        ok = deliver(buffer.data(), r.count);
    }

    port_->purge(kPurgeRxAbort | kPurgeRxClear);
    if (lineSide.joinable()) {
        receiveStop->set();
        port_->interruptLineEventWait();
        lineSide.join();
    }
}

void TReadThread::watchLineEvents(const StopSignals& stop, CloseEvent& receiveStop)
{
    bool hangup = false;
    for (;;) {
        const LineEventResult r = port_->waitLineEvent(stop);
        if (r.status != IoStatus::Ok) {
            hangup = r.status == IoStatus::Failed;
            break;
        }
        const uint32_t modem =
            ((r.events & kEventCarrier) ? kModemCarrier : 0) | ((r.events & kEventRing) ? kModemRing : 0);
        if (modem == 0) {
            // An event nobody asked for: the port no longer behaves as expected.
            hangup = true;
            break;
        }
        sink_.post(NotificationKind::ModemChange, modem);
    }
    // Reading stops before the hang-up is reported, so that no byte read
    // after the failure can follow the report.
    receiveStop.set();
    if (hangup) {
        requestHangup();
    }
}

bool TReadThread::deliver(const char* bytes, size_t count)
{
    // Traced when read, so the time is the block's arrival, not its handling.
    trace_block(TraceDirection::Received, bytes, count);
    try {
        sink_.post(NotificationKind::DataReceived, static_cast<uint32_t>(count), DataBlock(bytes, count));
    } catch (const std::bad_alloc&) {
        requestHangup();
        return false;
    }
    return true;
}
