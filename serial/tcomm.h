#pragma once
// TComm: one serial port, opened with its line settings, served by a receive
// thread and a transmit thread; everything that happens on the port is raised
// as an event on the thread that created the component.

#include "serial/line_settings.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>


// The message is the component's fixed text; systemError() keeps the
// system's reason behind it (an errno value, 0 when there is none) for the
// link trace and for diagnostics.
class ECommsError : public std::runtime_error {
public:
    explicit ECommsError(const char* message, int systemError = 0)
        : std::runtime_error(message), systemError_(systemError)
    {
    }
    int systemError() const { return systemError_; }
    // The system's text for systemError(), e.g. "Permission denied"; empty
    // when there is no system error.
    std::string systemReason() const;

private:
    int systemError_;
};

class TComm;
class PortLayer;  // serial/port_layer.h

using TReceiveDataEvent = std::function<void(TComm* sender, const char* buffer, uint16_t bufferLength)>;
using TReceiveErrorEvent = std::function<void(TComm* sender, uint32_t eventMask)>;
using TModemStateChangeEvent = std::function<void(TComm* sender, uint32_t modemEvent)>;
using TNotifyEvent = std::function<void(TComm* sender)>;
using TSendDataEmptyEvent = std::function<void(TComm* sender)>;

class TComm : public QObject {
    Q_OBJECT
public:
    // Uses the POSIX port layer.
    explicit TComm(QObject* owner = nullptr);
    // Tests hand in a port layer of their own.
    TComm(QObject* owner, std::shared_ptr<PortLayer> layer);
    ~TComm() override;

    void OpenComm();   // throws ECommsError
    void CloseComm();  // never throws, never hangs
    bool SendData(const char* buffer, uint16_t length);
    bool SendIdle() const;
    bool IsOpen() const;
    // Keeps byte ready for the ends of the program that cannot wait for the
    // transmit thread (serial/emergency_byte.h), until the port closes or
    // the byte is disarmed; other ports keep theirs. False while closed, or
    // when the table of armed ports is full.
    bool ArmEmergencyByte(unsigned char byte);
    void DisarmEmergencyByte();  // this port's only
    // The system's reason (errno) for the last OpenComm that failed; 0 once
    // an open succeeds.
    int LastOpenError() const;

    // The port the next OpenComm opens.
    QString CommName() const;
    void SetCommName(const QString& name);

    // The line settings and time-outs are set as a whole. A change reaches an
    // open port at once, except a change of parity alone, which is only
    // stored: it travels with the next change of another line setting, or
    // the next open. Setting the values already held does nothing.
    const LineSettings& Line() const;
    void SetLine(const LineSettings& line);
    const Timeouts& IoTimeouts() const;
    void SetIoTimeouts(const Timeouts& timeouts);

    TReceiveDataEvent OnReceiveData;
    TReceiveErrorEvent OnReceiveError;
    TModemStateChangeEvent OnModemStateChange;
    TNotifyEvent OnRequestHangup;
    TSendDataEmptyEvent OnSendDataEmpty;

protected:
    bool event(QEvent* e) override;  // the notifications posted by the threads

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
