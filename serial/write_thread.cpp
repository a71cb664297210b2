#include "serial/write_thread.h"

#include "serial/link_trace.h"
#include "serial/thread_priority.h"

#include <poll.h>

#include <cerrno>

TWriteThread::TWriteThread(std::shared_ptr<Port> port, const CloseEvent& closeEvent, NotificationSink sink,
                           TransmitQueue& queue, std::atomic<bool>& sendIdle)
    : PortThread(std::move(port), closeEvent, sink), queue_(queue), sendIdle_(sendIdle)
{
}

void TWriteThread::Execute()
{
    raise_current_thread_priority(PortThreadPriority::AboveNormal);
    // Set at start so that one OnSendDataEmpty follows every open.
    bool writeDone = true;
    DataBlock abandoned;
    for (;;) {
        std::optional<DataBlock> block = queue_.tryPop();
        if (!block) {
            sendIdle_ = true;
            if (writeDone) {
                sink_.post(NotificationKind::TransmitEmpty);
            }
            writeDone = false;
            if (!waitForBlocks()) {
                break;
            }
            continue;
        }
        if (closeEvent_.isSet()) {
            break;
        }
        if (writeBlock(*block) != IoStatus::Ok) {
            abandoned = std::move(*block);
            break;
        }
        writeDone = true;
    }
    port_->purge(kPurgeTxAbort | kPurgeTxClear);
    // Only now that the driver holds none of its bytes.
    abandoned = DataBlock();
    queue_.shutdown();
    sendIdle_ = true;
}

bool TWriteThread::waitForBlocks()
{
    pollfd fds[2] = {{closeEvent_.fd(), POLLIN, 0}, {queue_.wakeupFd(), POLLIN, 0}};
    for (;;) {
        const int r = ::poll(fds, 2, -1);
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r < 0) {
            requestHangup();
            return false;
        }
        if (fds[0].revents & POLLIN) {
            return false;
        }
        queue_.consumeWakeup();
        return true;
    }
}

IoStatus TWriteThread::writeBlock(const DataBlock& block)
{
    const StopSignals stop(closeEvent_);
    size_t offset = 0;
    while (offset < block.size()) {
        size_t written = 0;
        const IoStatus s = port_->write(block.data() + offset, block.size() - offset, written, stop);
        if (s != IoStatus::Ok) {
            if (s == IoStatus::Failed) {
                requestHangup();
            }
            return s;
        }
        offset += written;
    }
    // Traced once the driver holds the whole block; a block abandoned on
    // close never went out and is not traced.
    trace_block(TraceDirection::Sent, block.data(), block.size());
    return IoStatus::Ok;
}
