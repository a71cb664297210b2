#pragma once
// Cuts the byte stream from the program into requests. The link has no framing,
// so what a byte means depends on the device's state: in speed mode a single
// byte is a throttle code, during a firmware write 64 bytes of any value are one
// image block. The device tells the assembler which framing applies.

#include "setting_table/setting_table.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

enum class RequestKind {
    Probe,              // 35
    Identify,           // 50
    ReadSettings,       // 0D
    WriteSettings,      // 03 + 43 and eight settings
    WriteWithoutFrame,  // 03 not followed by a parameter frame
    EnterSpeed,         // 06 (outside speed mode)
    LeaveSpeed,         // FF
    Throttle,           // 01..85 in speed mode
    FirmwarePrepare,    // 07
    FirmwareStart,      // 0C 00 version
    ImageBlock,         // 64 bytes during a firmware write
    FillBlock,          // 64 bytes of FF after a completed write
    ReadBack,           // 0B
    Unknown,
};

struct Request {
    RequestKind kind;
    std::vector<uint8_t> bytes;
};

enum class Framing {
    Commands,     // one-byte requests, "03" + frame, "0C" + two bytes
    Speed,        // throttle codes and FF
    ImageBlocks,  // 64-byte blocks of raw data
    AfterImage,   // FF blocks still accepted, anything else is a command
};

class RequestAssembler {
public:
    static constexpr int kBlockSize = 64;
    static constexpr int kFrameSize = 1 + kSettingCount;  // 43 and one byte a setting

    void set_framing(Framing f);
    Framing framing() const { return framing_; }

    // Takes one byte; returns the requests it completes (none, one, or two when
    // a byte ends a lone "03" and starts a request of its own).
    std::vector<Request> feed(uint8_t byte);

    // True while the assembler waits for the rest of a request or the next
    // image block, that is while a quiet line means the program gave up.
    bool waiting() const
    {
        return !partial_.empty() || framing_ == Framing::ImageBlocks || framing_ == Framing::AfterImage;
    }
    // The line went quiet while waiting: a lone "03" counts as a request of its
    // own, other fragments are dropped and an unfinished firmware write ends.
    std::vector<Request> line_quiet();

private:
    std::vector<Request> start_command(uint8_t byte);
    std::vector<Request> complete(RequestKind kind);

    Framing framing_ = Framing::Commands;
    std::vector<uint8_t> partial_;
    RequestKind pending_ = RequestKind::Unknown;
    size_t expected_ = 0;
};

}  // namespace sim
