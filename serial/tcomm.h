#pragma once
// TComm: one serial port, opened with its line settings, served by a receive
// thread and a transmit thread; everything that happens on the port is raised
// as an event on the thread that created the component.

#include "serial/line_enums.h"

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
    // the byte is disarmed. Does nothing while closed.
    void ArmEmergencyByte(unsigned char byte);
    void DisarmEmergencyByte();
    // The system's reason (errno) for the last OpenComm that failed; 0 once
    // an open succeeds.
    int LastOpenError() const;

    QString CommName() const;
    void SetCommName(const QString& name);
    uint32_t BaudRate() const;
    void SetBaudRate(uint32_t v);
    bool ParityCheck() const;
    void SetParityCheck(bool v);
    bool Outx_CtsFlow() const;
    void SetOutx_CtsFlow(bool v);
    bool Outx_DsrFlow() const;
    void SetOutx_DsrFlow(bool v);
    TDtrControl DtrControl() const;
    void SetDtrControl(TDtrControl v);
    bool DsrSensitivity() const;
    void SetDsrSensitivity(bool v);
    bool TxContinueOnXoff() const;
    void SetTxContinueOnXoff(bool v);
    bool Outx_XonXoffFlow() const;
    void SetOutx_XonXoffFlow(bool v);
    bool Inx_XonXoffFlow() const;
    void SetInx_XonXoffFlow(bool v);
    bool ReplaceWhenParityError() const;
    void SetReplaceWhenParityError(bool v);
    bool IgnoreNullChar() const;
    void SetIgnoreNullChar(bool v);
    TRtsControl RtsControl() const;
    void SetRtsControl(TRtsControl v);
    uint16_t XonLimit() const;
    void SetXonLimit(uint16_t v);
    uint16_t XoffLimit() const;
    void SetXoffLimit(uint16_t v);
    TByteSize ByteSize() const;
    void SetByteSize(TByteSize v);
    TParity Parity() const;
    void SetParity(TParity v);
    TStopBits StopBits() const;
    void SetStopBits(TStopBits v);
    char XonChar() const;
    void SetXonChar(char v);
    char XoffChar() const;
    void SetXoffChar(char v);
    char ReplacedChar() const;
    void SetReplacedChar(char v);
    uint32_t ReadIntervalTimeout() const;
    void SetReadIntervalTimeout(uint32_t v);
    uint32_t ReadTotalTimeoutMultiplier() const;
    void SetReadTotalTimeoutMultiplier(uint32_t v);
    uint32_t ReadTotalTimeoutConstant() const;
    void SetReadTotalTimeoutConstant(uint32_t v);
    uint32_t WriteTotalTimeoutMultiplier() const;
    void SetWriteTotalTimeoutMultiplier(uint32_t v);
    uint32_t WriteTotalTimeoutConstant() const;
    void SetWriteTotalTimeoutConstant(uint32_t v);

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
