#include "serial/transmit_queue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

TransmitQueue::TransmitQueue() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (fd_ < 0) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
}

TransmitQueue::~TransmitQueue()
{
    ::close(fd_);
}

bool TransmitQueue::push(DataBlock&& block)
{
    {
        std::lock_guard lock(mutex_);
        if (shutDown_) {
            return false;
        }
        blocks_.push_back(std::move(block));
    }
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(fd_, &one, sizeof one);
    return true;
}

std::optional<DataBlock> TransmitQueue::tryPop()
{
    std::lock_guard lock(mutex_);
    if (blocks_.empty()) {
        return std::nullopt;
    }
    DataBlock b = std::move(blocks_.front());
    blocks_.pop_front();
    return b;
}

void TransmitQueue::consumeWakeup()
{
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = ::read(fd_, &count, sizeof count);
}

void TransmitQueue::shutdown()
{
    std::deque<DataBlock> dropped;
    std::lock_guard lock(mutex_);
    shutDown_ = true;
    dropped.swap(blocks_);
}
