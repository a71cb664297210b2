#pragma once
// TReadThread: keeps a read outstanding on the port and posts every block it
// reads (1 to 2048 bytes) to the component; line errors and modem line
// changes are posted too. Ends on the close event or on the first failure.

#include "serial/notification.h"
#include "serial/port_layer.h"

#include <memory>
#include <thread>

class TReadThread {
public:
    static constexpr size_t kBlockSize = 2048;

    TReadThread(std::shared_ptr<Port> port, const CloseEvent& closeEvent, NotificationSink sink);
    ~TReadThread();  // waits for the end; the close event must be set first
    TReadThread(const TReadThread&) = delete;
    TReadThread& operator=(const TReadThread&) = delete;

    void start();  // throws std::system_error when no thread can be made

private:
    void Execute();
    void watchLineEvents(const StopSignals& stop, CloseEvent& receiveStop);
    bool deliver(const char* bytes, size_t count);
    void requestHangup() const { sink_.post(NotificationKind::HangupRequest); }

    std::shared_ptr<Port> port_;
    const CloseEvent& closeEvent_;
    NotificationSink sink_;
    std::thread thread_;
};
