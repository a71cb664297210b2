#include "fake_port.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

FakePort::FakePort()
{
    for (int& fd : wakeFds_) {
        fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    }
}

FakePort::~FakePort()
{
    for (int fd : wakeFds_) {
        ::close(fd);
    }
}

void FakePort::wake()
{
    const uint64_t one = 1;
    for (int fd : wakeFds_) {
        [[maybe_unused]] const ssize_t n = ::write(fd, &one, sizeof one);
    }
    changed_.notify_all();
}

// The port threads wait in poll() on the stop signals and the wake-up
// descriptor, like a real port does on its device.
template <class Ready>
bool FakePort::waitUntil(std::unique_lock<std::mutex>& lock, Side side, const StopSignals& stop, Ready ready)
{
    for (;;) {
        if (stop.isSet()) {
            return false;
        }
        if (ready()) {
            return true;
        }
        lock.unlock();
        pollfd fds[StopSignals::kMaxFds + 1];
        const int n = stop.fill(fds);
        fds[n] = pollfd{wakeFds_[side], POLLIN, 0};
        ::poll(fds, n + 1, -1);
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t r = ::read(wakeFds_[side], &count, sizeof count);
        lock.lock();
    }
}

void FakePort::pushRead(ReadStep step)
{
    std::lock_guard lock(mutex_);
    reads_.push_back(std::move(step));
    wake();
}

void FakePort::pushLineEvent(LineStep step)
{
    std::lock_guard lock(mutex_);
    lineSteps_.push_back(step);
    wake();
}

void FakePort::setWriteStatus(IoStatus status)
{
    std::lock_guard lock(mutex_);
    writeStatus_ = status;
}

void FakePort::holdWrites(bool hold)
{
    std::lock_guard lock(mutex_);
    holdWrites_ = hold;
    wake();
}

bool FakePort::waitForReadCalls(int count, std::chrono::milliseconds limit)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return readCalls_ >= count; });
}

bool FakePort::waitForWriteStarted(std::chrono::milliseconds limit)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return writeStarted_; });
}

QByteArray FakePort::written()
{
    std::lock_guard lock(mutex_);
    return written_;
}

int FakePort::lineApplies()
{
    std::lock_guard lock(mutex_);
    return lineApplies_;
}

int FakePort::timeoutApplies()
{
    std::lock_guard lock(mutex_);
    return timeoutApplies_;
}

LineSettings FakePort::lastLine()
{
    std::lock_guard lock(mutex_);
    return lastLine_;
}

Timeouts FakePort::lastTimeouts()
{
    std::lock_guard lock(mutex_);
    return lastTimeouts_;
}

std::vector<unsigned> FakePort::purges()
{
    std::lock_guard lock(mutex_);
    return purges_;
}

bool FakePort::closed()
{
    std::lock_guard lock(mutex_);
    return closed_;
}

int FakePort::lowLatencyRequests()
{
    std::lock_guard lock(mutex_);
    return lowLatencyRequests_;
}

LowLatencyAnswer FakePort::requestLowLatency()
{
    std::lock_guard lock(mutex_);
    ++lowLatencyRequests_;
    return lowLatencyAnswer;
}

bool FakePort::setQueueSizes(size_t input, size_t output)
{
    return !failQueueSizes && input == 4096 && output == 4096;
}

void FakePort::purge(unsigned flags)
{
    std::lock_guard lock(mutex_);
    purges_.push_back(flags);
}

void FakePort::applyLineSettings(const LineSettings& s)
{
    std::lock_guard lock(mutex_);
    ++lineApplies_;
    lastLine_ = s;
}

void FakePort::applyTimeouts(const Timeouts& t)
{
    std::lock_guard lock(mutex_);
    ++timeoutApplies_;
    lastTimeouts_ = t;
}

ReadResult FakePort::read(char* buffer, size_t capacity, const StopSignals& stop)
{
    std::unique_lock lock(mutex_);
    ++readCalls_;
    changed_.notify_all();
    if (!waitUntil(lock, ReadSide, stop, [&] { return !reads_.empty(); })) {
        return {IoStatus::Stopped};
    }
    ReadStep step = std::move(reads_.front());
    reads_.pop_front();
    if (step.status != IoStatus::Ok) {
        return {step.status};
    }
    const size_t n = std::min(capacity, static_cast<size_t>(step.bytes.size()));
    std::memcpy(buffer, step.bytes.constData(), n);
    if (n < static_cast<size_t>(step.bytes.size())) {
        ReadStep rest{step.bytes.mid(static_cast<qsizetype>(n))};
        reads_.push_front(std::move(rest));
    }
    return {IoStatus::Ok, n, step.lineErrors};
}

IoStatus FakePort::write(const char* data, size_t length, size_t& written, const StopSignals& stop)
{
    std::unique_lock lock(mutex_);
    writeStarted_ = true;
    changed_.notify_all();
    if (!waitUntil(lock, WriteSide, stop, [&] { return !holdWrites_; })) {
        return IoStatus::Stopped;
    }
    if (writeStatus_ != IoStatus::Ok) {
        return writeStatus_;
    }
    written_.append(data, static_cast<qsizetype>(length));
    written = length;
    return IoStatus::Ok;
}

LineEventResult FakePort::waitLineEvent(const StopSignals& stop)
{
    std::unique_lock lock(mutex_);
    if (!waitUntil(lock, LineSide, stop, [&] { return !lineSteps_.empty(); })) {
        return {IoStatus::Stopped};
    }
    const LineStep step = lineSteps_.front();
    lineSteps_.pop_front();
    return {step.status, step.events};
}

void FakePort::close()
{
    std::lock_guard lock(mutex_);
    closed_ = true;
}

OpenStatus FakePortLayer::open(const std::string& path, std::shared_ptr<Port>& port, int& systemError)
{
    openedPaths.push_back(path);
    if (openResult != OpenStatus::Ok) {
        systemError = openErrno;
        return openResult;
    }
    current = std::make_shared<FakePort>();
    current->failQueueSizes = failQueueSizes;
    current->lineEvents = lineEvents;
    current->lowLatencyAnswer = lowLatencyAnswer;
    port = current;
    return OpenStatus::Ok;
}

std::unique_ptr<CloseEvent> FakePortLayer::createCloseEvent()
{
    return failCloseEvent ? nullptr : CloseEvent::create();
}
