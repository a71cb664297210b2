#pragma once
// The transmit thread's queue: first in, first out, with an event descriptor
// that is readable while blocks may be waiting, so the thread can wait on the
// queue and the close event in one poll().

#include "serial/data_block.h"

#include <deque>
#include <mutex>
#include <optional>

class TransmitQueue {
public:
    // Throws std::system_error when no event descriptor can be made.
    TransmitQueue();
    ~TransmitQueue();
    TransmitQueue(const TransmitQueue&) = delete;
    TransmitQueue& operator=(const TransmitQueue&) = delete;

    // False once the queue was shut down (its thread has ended).
    bool push(DataBlock&& block);
    std::optional<DataBlock> tryPop();
    // Readable after a push; consumeWakeup() rearms it before the queue is
    // looked at again, so no push between the two is missed.
    int wakeupFd() const { return fd_; }
    void consumeWakeup();
    // Refuses further blocks and releases the ones still queued.
    void shutdown();

private:
    std::mutex mutex_;
    std::deque<DataBlock> blocks_;
    bool shutDown_ = false;
    int fd_;
};
