#pragma once
// What the receive and the transmit thread share: the open port, the close
// event that stops them, where they post, and the thread that runs Execute.

#include "serial/notification.h"
#include "serial/port_layer.h"

#include <memory>
#include <thread>

class PortThread {
public:
    PortThread(const PortThread&) = delete;
    PortThread& operator=(const PortThread&) = delete;

    void start();  // throws std::system_error when no thread can be made

protected:
    PortThread(std::shared_ptr<Port> port, const CloseEvent& closeEvent, NotificationSink sink);
    ~PortThread() = default;
    // Waits for the end; the close event must be set first. Each thread's
    // destructor calls it, before anything Execute uses goes away.
    void join();

    virtual void Execute() = 0;
    void requestHangup() const { sink_.post(NotificationKind::HangupRequest); }

    std::shared_ptr<Port> port_;
    const CloseEvent& closeEvent_;
    NotificationSink sink_;

private:
    std::thread thread_;
};
