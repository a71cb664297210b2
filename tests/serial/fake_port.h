#pragma once
// A port layer driven by the test: it produces what a pseudo-terminal cannot
// (line errors, modem events, failing reads and writes, a handle closed under
// the threads) and records what the component asked of the port.

#include "serial/port_layer.h"

#include <QByteArray>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

class FakePort : public Port {
public:
    // One completion of a read: bytes (with the line errors seen meanwhile),
    // or a failure status.
    struct ReadStep {
        QByteArray bytes;
        uint32_t lineErrors = 0;
        IoStatus status = IoStatus::Ok;
    };
    struct LineStep {
        uint32_t events = 0;
        IoStatus status = IoStatus::Ok;
    };

    FakePort();
    ~FakePort() override;

    // Test side.
    void pushRead(ReadStep step);
    void pushLineEvent(LineStep step);
    void setWriteStatus(IoStatus status);  // what every following write returns
    void holdWrites(bool hold);            // writes wait (for stop) while held
    bool waitForReadCalls(int count, std::chrono::milliseconds limit);
    bool waitForWriteStarted(std::chrono::milliseconds limit);
    QByteArray written();
    int lineApplies();
    int timeoutApplies();
    LineSettings lastLine();
    Timeouts lastTimeouts();
    std::vector<unsigned> purges();
    bool closed();
    int lowLatencyRequests();

    bool failQueueSizes = false;
    bool lineEvents = true;
    LowLatencyAnswer lowLatencyAnswer;

    // Port side.
    bool setQueueSizes(size_t input, size_t output) override;
    void purge(unsigned flags) override;
    void applyLineSettings(const LineSettings& s) override;
    void applyTimeouts(const Timeouts& t) override;
    LowLatencyAnswer requestLowLatency() override;
    ReadResult read(char* buffer, size_t capacity, const StopSignals& stop) override;
    IoStatus write(const char* data, size_t length, size_t& written, const StopSignals& stop) override;
    bool hasLineEvents() const override { return lineEvents; }
    LineEventResult waitLineEvent(const StopSignals& stop) override;
    void interruptLineEventWait() override {}
    void close() override;

private:
    // Blocks until ready() holds (under the lock) or stop is set; true when ready.
    // Each waiting side has its own wake-up descriptor, so that one side
    // cannot consume another's wake-up.
    enum Side { ReadSide, LineSide, WriteSide, kSides };
    template <class Ready>
    bool waitUntil(std::unique_lock<std::mutex>& lock, Side side, const StopSignals& stop, Ready ready);
    void wake();

    std::mutex mutex_;
    std::condition_variable changed_;
    int wakeFds_[kSides];
    std::deque<ReadStep> reads_;
    std::deque<LineStep> lineSteps_;
    IoStatus writeStatus_ = IoStatus::Ok;
    bool holdWrites_ = false;
    bool writeStarted_ = false;
    int readCalls_ = 0;
    QByteArray written_;
    int lineApplies_ = 0;
    int timeoutApplies_ = 0;
    LineSettings lastLine_;
    Timeouts lastTimeouts_;
    std::vector<unsigned> purges_;
    bool closed_ = false;
    int lowLatencyRequests_ = 0;
};

class FakePortLayer : public PortLayer {
public:
    OpenStatus open(const std::string& path, std::shared_ptr<Port>& port, int& systemError) override;
    std::unique_ptr<CloseEvent> createCloseEvent() override;

    OpenStatus openResult = OpenStatus::Ok;
    int openErrno = 0;  // the system's reason given with a failed open
    bool failCloseEvent = false;
    bool failQueueSizes = false;
    bool lineEvents = true;
    // What every port answers to the low-latency request: a pseudo-terminal's answer by default.
    LowLatencyAnswer lowLatencyAnswer{LowLatency::NotOffered, ENOTTY};
    std::vector<std::string> openedPaths;
    std::shared_ptr<FakePort> current;  // the port of the last successful open
};
