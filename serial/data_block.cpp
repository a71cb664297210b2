#include "serial/data_block.h"

#include <cstring>
#include <utility>

std::atomic<int> DataBlock::live_{0};

DataBlock::DataBlock(const char* bytes, size_t length) : bytes_(new char[length + 1]()), length_(length)
{
    std::memcpy(bytes_.get(), bytes, length);
    ++live_;
}

DataBlock::~DataBlock()
{
    release();
}

DataBlock::DataBlock(DataBlock&& other) noexcept
    : bytes_(std::move(other.bytes_)), length_(std::exchange(other.length_, 0))
{
}

DataBlock& DataBlock::operator=(DataBlock&& other) noexcept
{
    if (this != &other) {
        release();
        bytes_ = std::move(other.bytes_);
        length_ = std::exchange(other.length_, 0);
    }
    return *this;
}

void DataBlock::release()
{
    if (bytes_) {
        bytes_.reset();
        length_ = 0;
        --live_;
    }
}
