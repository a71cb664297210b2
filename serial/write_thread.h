#pragma once
// TWriteThread: writes the blocks queued by SendData, one at a time, whole and
// in order, and reports each time its queue has run dry after writing.

#include "serial/notification.h"
#include "serial/port_layer.h"
#include "serial/transmit_queue.h"

#include <atomic>
#include <memory>
#include <thread>

class TWriteThread {
public:
    TWriteThread(std::shared_ptr<Port> port, const CloseEvent& closeEvent, NotificationSink sink,
                 TransmitQueue& queue, std::atomic<bool>& sendIdle);
    ~TWriteThread();  // waits for the end; the close event must be set first
    TWriteThread(const TWriteThread&) = delete;
    TWriteThread& operator=(const TWriteThread&) = delete;

    void start();  // throws std::system_error when no thread can be made

private:
    void Execute();
    bool waitForBlocks();
    IoStatus writeBlock(const DataBlock& block);
    void requestHangup() const { sink_.post(NotificationKind::HangupRequest); }

    std::shared_ptr<Port> port_;
    const CloseEvent& closeEvent_;
    NotificationSink sink_;
    TransmitQueue& queue_;
    std::atomic<bool>& sendIdle_;
    std::thread thread_;
};
