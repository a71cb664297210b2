#include "serial/port_thread.h"

PortThread::PortThread(std::shared_ptr<Port> port, const CloseEvent& closeEvent, NotificationSink sink)
    : port_(std::move(port)), closeEvent_(closeEvent), sink_(sink)
{
}

void PortThread::start()
{
    thread_ = std::thread([this] { Execute(); });
}

void PortThread::join()
{
    if (thread_.joinable())
        thread_.join();
}
