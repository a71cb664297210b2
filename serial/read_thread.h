#pragma once
// TReadThread: keeps a read outstanding on the port and posts every block it
// reads (1 to 2048 bytes) to the component; line errors and modem line
// changes are posted too. Ends on the close event or on the first failure.

#include "serial/port_thread.h"

class TReadThread final : public PortThread {
public:
    static constexpr size_t kBlockSize = 2048;

    TReadThread(std::shared_ptr<Port> port, const CloseEvent& closeEvent, NotificationSink sink)
        : PortThread(std::move(port), closeEvent, sink)
    {
    }
    ~TReadThread() { join(); }  // the close event must be set first

private:
    void Execute() override;
    void watchLineEvents(const StopSignals& stop, CloseEvent& receiveStop);
    bool deliver(const char* bytes, size_t count);
};
