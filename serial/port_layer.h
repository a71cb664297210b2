#pragma once
// The operations TComm and its two threads need from a serial port. The POSIX
// implementation is in posix_port.h; tests hand in a port layer of their own
// to produce what a pseudo-terminal cannot (line errors, modem events,
// failing reads and writes).

#include "serial/close_event.h"
#include "serial/line_settings.h"
#include "serial/low_latency.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Error flags passed to OnReceiveError (the bit values of the classic serial
// driver error word, so handlers written against it keep working).
constexpr uint32_t kLineErrorRxOver = 0x0001;   // input buffer overflow
constexpr uint32_t kLineErrorOverrun = 0x0002;  // hardware overrun
constexpr uint32_t kLineErrorParity = 0x0004;
constexpr uint32_t kLineErrorFrame = 0x0008;
constexpr uint32_t kLineErrorBreak = 0x0010;

// Line events reported by Port::waitLineEvent.
constexpr uint32_t kEventCarrier = 0x0020;  // carrier detect (RLSD) changed
constexpr uint32_t kEventRing = 0x0100;     // ring indicator

// Values passed to OnModemStateChange.
constexpr uint32_t kModemCarrier = 8;
constexpr uint32_t kModemRing = 4;

// Purge flags.
constexpr unsigned kPurgeTxAbort = 0x1;
constexpr unsigned kPurgeRxAbort = 0x2;
constexpr unsigned kPurgeTxClear = 0x4;
constexpr unsigned kPurgeRxClear = 0x8;

enum class IoStatus {
    Ok,
    Stopped,        // a stop signal was set while waiting
    InvalidHandle,  // the port was closed under the caller: end silently
    EndOfData,      // end of input: the line hung up (its other side, or the device, has gone)
    Failed,         // anything else: the caller asks for a hang-up
};

struct ReadResult {
    IoStatus status = IoStatus::Failed;
    size_t count = 0;         // 1..capacity when status is Ok
    uint32_t lineErrors = 0;  // kLineError* flags seen while these bytes arrived
};

struct LineEventResult {
    IoStatus status = IoStatus::Failed;
    uint32_t events = 0;  // kEventCarrier | kEventRing
};

// One open port. Used by the creating thread (settings, purges, close), the
// receive thread (read, line events) and the transmit thread (write) at once.
class Port {
public:
    virtual ~Port() = default;

    // Driver queue sizes; false when the device refuses them.
    virtual bool setQueueSizes(size_t input, size_t output) = 0;
    virtual void purge(unsigned flags) = 0;
    // Failures to apply settings are not reported.
    virtual void applyLineSettings(const LineSettings& s) = 0;
    virtual void applyTimeouts(const Timeouts& t) = 0;
    // Asked once on every open (see low_latency.h); the answer never fails it.
    virtual LowLatencyAnswer requestLowLatency() = 0;

    // Waits for at least one byte, then gathers bytes until the read interval
    // passes or capacity bytes are read. Every wait includes stop.
    virtual ReadResult read(char* buffer, size_t capacity, const StopSignals& stop) = 0;
    // Writes some of the bytes (at least one when Ok). Every wait includes stop.
    virtual IoStatus write(const char* data, size_t length, size_t& written, const StopSignals& stop) = 0;

    // Whether the device reports modem line changes; without them the receive
    // side starts no line-event wait at all.
    virtual bool hasLineEvents() const = 0;
    // Blocks until the carrier or ring line changes or stop is set.
    virtual LineEventResult waitLineEvent(const StopSignals& stop) = 0;
    // Wakes a waitLineEvent that may be blocked where stop cannot reach it.
    // Called after stop has been set; returns once no wait is blocked.
    virtual void interruptLineEventWait() = 0;

    virtual void close() = 0;

    // The system's descriptor for a last byte written straight from a signal
    // handler (serial/emergency_byte.h); -1 where there is none.
    virtual int descriptor() const { return -1; }
};

enum class OpenStatus { Ok, OpenFailed, NotATerminal };

class PortLayer {
public:
    virtual ~PortLayer() = default;
    // path is the device path already formed from the port name. On failure
    // systemError gets the system's reason (an errno value).
    virtual OpenStatus open(const std::string& path, std::shared_ptr<Port>& port, int& systemError) = 0;
    // The per-open stop signal of both threads; null when it cannot be made.
    virtual std::unique_ptr<CloseEvent> createCloseEvent() { return CloseEvent::create(); }
};
