#pragma once
// A block of bytes followed by one zero byte that the length does not count.
// Ownership travels with the block between threads: whoever holds it last
// releases it, including blocks dropped on the way (a thread that ends on the
// close event, a notification that is never delivered).

#include <atomic>
#include <cstddef>
#include <memory>

class DataBlock {
public:
    DataBlock() = default;
    // Copies length bytes; throws std::bad_alloc when memory runs out.
    DataBlock(const char* bytes, size_t length);
    ~DataBlock();
    DataBlock(DataBlock&& other) noexcept;
    DataBlock& operator=(DataBlock&& other) noexcept;

    const char* data() const { return bytes_.get(); }
    size_t size() const { return length_; }
    bool empty() const { return !bytes_; }

    // Blocks alive in the process; lets tests prove that none is leaked.
    static int liveCount() { return live_.load(); }

private:
    void release();

    std::unique_ptr<char[]> bytes_;
    size_t length_ = 0;
    static std::atomic<int> live_;
};
