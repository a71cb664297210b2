#include "serial/tcomm.h"
#include "serial/emergency_byte.h"

#include "serial/close_event.h"
#include "serial/link_trace.h"
#include "serial/notification.h"
#include "serial/port_layer.h"
#include "serial/port_list.h"
#include "serial/posix_port.h"
#include "serial/read_thread.h"
#include "serial/transmit_queue.h"
#include "serial/write_thread.h"

#include <atomic>
#include <cerrno>
#include <new>
#include <system_error>

namespace {

constexpr size_t kDriverQueueSize = 4096;

// "COM1" thus names /dev/COM1, and simply fails to open, as an absent port
// should.
std::string devicePath(const QString& name)
{
    return port_device_path(name).toLocal8Bit().toStdString();
}

}  // namespace

struct TComm::Impl {
    // The open port and what serves it; all empty while closed.
    std::unique_ptr<TReadThread> readThread;
    std::unique_ptr<TWriteThread> writeThread;
    std::shared_ptr<Port> port;
    std::unique_ptr<CloseEvent> closeEvent;
    std::unique_ptr<TransmitQueue> transmitQueue;
    std::atomic<bool> sendIdle{true};

    std::shared_ptr<PortLayer> layer;

    QString commName = QStringLiteral("COM2");
    QString openPath;       // the device path of the open port, for the trace
    int lastOpenError = 0;  // errno behind the last failed open
    LineSettings line;
    Timeouts timeouts;

    // Stops a thread that may be running; the close event is set first so
    // that its waits end at once.
    template <class Thread>
    void stop(std::unique_ptr<Thread>& thread, unsigned purgeFlags)
    {
        if (!thread) {
            return;
        }
        closeEvent->set();
        port->purge(purgeFlags);
        thread.reset();  // waits for the end
    }

    void closePort()
    {
        closeEvent.reset();
        transmitQueue.reset();
        port->close();
        port.reset();
    }
};

TComm::TComm(QObject* owner) : TComm(owner, std::make_shared<PosixPortLayer>()) {}

TComm::TComm(QObject* owner, std::shared_ptr<PortLayer> layer) : QObject(owner), d(std::make_unique<Impl>())
{
    d->layer = std::move(layer);
}

TComm::~TComm()
{
    // An open port is closed first: its threads post to this object.
    CloseComm();
}

std::string ECommsError::systemReason() const
{
    return system_reason(systemError_).toStdString();
}

namespace {

[[noreturn]] void failOpen(const QString& path, int& lastOpenError, const char* message, int systemError)
{
    lastOpenError = systemError;
    trace_open_failed(path, message, systemError);
    throw ECommsError(message, systemError);
}

int threadError(const std::system_error& e)
{
    return e.code().category() == std::generic_category() || e.code().category() == std::system_category()
               ? e.code().value()
               : 0;
}

}  // namespace

void TComm::OpenComm()
{
    const std::string path = devicePath(d->commName);
    const QString tracePath = QString::fromLocal8Bit(path.c_str());
    if (d->port) {
        // The port stays open: the reason of an earlier failure is kept.
        trace_open_failed(tracePath, "This serial port already opened", 0);
        throw ECommsError("This serial port already opened");
    }
    std::shared_ptr<Port> port;
    int systemError = 0;
    switch (d->layer->open(path, port, systemError)) {
        case OpenStatus::Ok:
            break;
        case OpenStatus::OpenFailed:
            failOpen(tracePath, d->lastOpenError, "Error opening serial port", systemError);
        case OpenStatus::NotATerminal:
            failOpen(tracePath, d->lastOpenError, "File handle is not a comm handle ", systemError);
    }
    if (!port->setQueueSizes(kDriverQueueSize, kDriverQueueSize)) {
        port->close();
        failOpen(tracePath, d->lastOpenError, "Cannot setup comm buffer", 0);
    }
    d->port = port;
    port->purge(kPurgeTxAbort | kPurgeRxAbort | kPurgeTxClear | kPurgeRxClear);
    d->sendIdle = true;
    port->applyTimeouts(d->timeouts);
    port->applyLineSettings(d->line);
    const LowLatencyAnswer lowLatency = port->requestLowLatency();

    errno = 0;
    d->closeEvent = d->layer->createCloseEvent();
    if (!d->closeEvent) {
        const int e = errno;
        d->closePort();
        failOpen(tracePath, d->lastOpenError, "Unable to create event", e);
    }
    try {
        d->transmitQueue = std::make_unique<TransmitQueue>();
    } catch (const std::system_error& e) {
        d->closePort();
        failOpen(tracePath, d->lastOpenError, "Unable to create write thread", threadError(e));
    }

    // Each thread raises its own priority where the system lets it (see
    // thread_priority.h); the threads block in poll() rather than compete for
    // the CPU, so the default priority costs little where it is refused.
    const NotificationSink sink(this);
    d->readThread = std::make_unique<TReadThread>(port, *d->closeEvent, sink);
    try {
        d->readThread->start();
    } catch (const std::system_error& e) {
        d->readThread.reset();
        d->closePort();
        failOpen(tracePath, d->lastOpenError, "Unable to create read thread", threadError(e));
    }
    d->writeThread =
        std::make_unique<TWriteThread>(port, *d->closeEvent, sink, *d->transmitQueue, d->sendIdle);
    try {
        d->writeThread->start();
    } catch (const std::system_error& e) {
        d->writeThread.reset();
        d->stop(d->readThread, kPurgeRxAbort | kPurgeRxClear);
        d->closePort();
        failOpen(tracePath, d->lastOpenError, "Unable to create write thread", threadError(e));
    }
    d->lastOpenError = 0;
    d->openPath = tracePath;
    trace_open(tracePath);
    trace_event(low_latency_trace_line(lowLatency));
}

void TComm::CloseComm()
{
    if (!d->port) {
        return;
    }
    d->stop(d->readThread, kPurgeRxAbort | kPurgeRxClear);
    d->sendIdle = true;
    d->stop(d->writeThread, kPurgeTxAbort | kPurgeTxClear);
    // Blocks still queued are released with the queue.
    d->closePort();
    trace_close(d->openPath);
}

bool TComm::ArmEmergencyByte(unsigned char byte)
{
    return d->port && emergency_byte::arm(d->port->descriptor(), byte);
}

void TComm::DisarmEmergencyByte()
{
    if (d->port)
        emergency_byte::release(d->port->descriptor());
}

bool TComm::SendData(const char* buffer, uint16_t length)
{
    if (!d->writeThread || length == 0) {
        return false;
    }
    // Cleared before the handover so that it cannot stay false once the
    // transmit thread has found its queue empty.
    const bool previous = d->sendIdle.exchange(false);
    try {
        if (d->transmitQueue->push(DataBlock(buffer, length))) {
            return true;
        }
    } catch (const std::bad_alloc&) {
    }
    d->sendIdle = previous;
    return false;
}

bool TComm::SendIdle() const
{
    return d->sendIdle;
}

bool TComm::IsOpen() const
{
    return d->port != nullptr;
}

int TComm::LastOpenError() const
{
    return d->lastOpenError;
}

namespace {

// The handler is copied before the call: it may reassign itself.
template <class Handler, class... Args>
void raise(const Handler& handler, Args... args)
{
    if (const Handler copy = handler)
        copy(args...);
}

}  // namespace

bool TComm::event(QEvent* e)
{
    CommNotification::acquireHandover();
    if (e->type() != CommNotification::eventType()) {
        return QObject::event(e);
    }
    auto* n = static_cast<CommNotification*>(e);
    switch (n->kind()) {
        case NotificationKind::DataReceived:
            raise(OnReceiveData, this, n->block().data(), static_cast<uint16_t>(n->value() & 0xFFFF));
            break;
        case NotificationKind::LineError:
        case NotificationKind::ModemChange:
            raise(n->kind() == NotificationKind::LineError ? OnReceiveError : OnModemStateChange, this,
                  n->value());
            break;
        case NotificationKind::HangupRequest:
        case NotificationKind::TransmitEmpty:
            raise(n->kind() == NotificationKind::HangupRequest ? OnRequestHangup : OnSendDataEmpty, this);
            break;
    }
    return true;  // the block is released with the event
}

QString TComm::CommName() const
{
    return d->commName;
}

void TComm::SetCommName(const QString& name)
{
    d->commName = name;
}

const LineSettings& TComm::Line() const
{
    return d->line;
}

void TComm::SetLine(const LineSettings& line)
{
    if (line == d->line)
        return;
    LineSettings parityAside = line;
    parityAside.parity = d->line.parity;
    const bool onlyParity = parityAside == d->line;
    d->line = line;
    if (d->port && !onlyParity)
        d->port->applyLineSettings(d->line);
}

const Timeouts& TComm::IoTimeouts() const
{
    return d->timeouts;
}

void TComm::SetIoTimeouts(const Timeouts& timeouts)
{
    if (timeouts == d->timeouts)
        return;
    d->timeouts = timeouts;
    if (d->port)
        d->port->applyTimeouts(d->timeouts);
}
