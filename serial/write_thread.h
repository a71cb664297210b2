#pragma once
// TWriteThread: writes the blocks queued by SendData, one at a time, whole and
// in order, and reports each time its queue has run dry after writing.

#include "serial/port_thread.h"
#include "serial/transmit_queue.h"

#include <atomic>

class TWriteThread final : public PortThread {
public:
    TWriteThread(std::shared_ptr<Port> port, const CloseEvent& closeEvent, NotificationSink sink,
                 TransmitQueue& queue, std::atomic<bool>& sendIdle);
    ~TWriteThread() { join(); }  // the close event must be set first

private:
    void Execute() override;
    bool waitForBlocks();
    IoStatus writeBlock(const DataBlock& block);

    TransmitQueue& queue_;
    std::atomic<bool>& sendIdle_;
};
