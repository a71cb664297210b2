#include "sim/request_assembler.h"

namespace sim {

namespace {
constexpr uint8_t kFrameMarker = 0x43;
constexpr uint8_t kFill = 0xFF;
}  // namespace

void RequestAssembler::set_framing(Framing f)
{
    framing_ = f;
    partial_.clear();
    pending_ = RequestKind::Unknown;
    expected_ = 0;
}

std::vector<Request> RequestAssembler::complete(RequestKind kind)
{
    std::vector<Request> out{Request{kind, std::move(partial_)}};
    partial_.clear();
    pending_ = RequestKind::Unknown;
    expected_ = 0;
    return out;
}

std::vector<Request> RequestAssembler::start_command(uint8_t byte)
{
    // The requests that are whole in their first byte.
    static constexpr struct {
        uint8_t code;
        RequestKind kind;
    } kOneByte[] = {
        {0x35, RequestKind::Probe},        {0x50, RequestKind::Identify},
        {0x0D, RequestKind::ReadSettings}, {0x06, RequestKind::EnterSpeed},
        {0xFF, RequestKind::LeaveSpeed},   {0x07, RequestKind::FirmwarePrepare},
        {0x0B, RequestKind::ReadBack},
    };
    partial_.push_back(byte);
    for (const auto& r : kOneByte) {
        if (r.code == byte)
            return complete(r.kind);
    }
    switch (byte) {
        case 0x03:
            pending_ = RequestKind::WriteSettings;
            expected_ = 1 + kFrameSize;
            return {};
        case 0x0C:
            pending_ = RequestKind::FirmwareStart;
            expected_ = 3;
            return {};
        default:
            return complete(RequestKind::Unknown);
    }
}

std::vector<Request> RequestAssembler::feed(uint8_t byte)
{
    switch (framing_) {
        case Framing::Speed:
            partial_.push_back(byte);
            if (byte == 0xFF)
                return complete(RequestKind::LeaveSpeed);
            return complete(byte >= 0x01 && byte <= 0x85 ? RequestKind::Throttle : RequestKind::Unknown);

        case Framing::ImageBlocks:
            partial_.push_back(byte);
            if (partial_.size() == kBlockSize)
                return complete(RequestKind::ImageBlock);
            return {};

        case Framing::AfterImage:
            if (partial_.empty() && byte != kFill) {
                framing_ = Framing::Commands;
                return start_command(byte);
            }
            partial_.push_back(byte);
            if (partial_.size() == kBlockSize)
                return complete(RequestKind::FillBlock);
            return {};

        case Framing::Commands:
            break;
    }

    if (partial_.empty())
        return start_command(byte);

    if (pending_ == RequestKind::WriteSettings && partial_.size() == 1 && byte != kFrameMarker) {
        // "03" is only a write when a parameter frame follows it.
        auto out = complete(RequestKind::WriteWithoutFrame);
        auto next = start_command(byte);
        out.insert(out.end(), next.begin(), next.end());
        return out;
    }
    partial_.push_back(byte);
    if (partial_.size() == expected_)
        return complete(pending_);
    return {};
}

std::vector<Request> RequestAssembler::line_quiet()
{
    std::vector<Request> out;
    if (pending_ == RequestKind::WriteSettings && partial_.size() == 1)
        out = complete(RequestKind::WriteWithoutFrame);
    partial_.clear();
    pending_ = RequestKind::Unknown;
    expected_ = 0;
    // A firmware write the program gave up on must not swallow its next requests.
    if (framing_ == Framing::ImageBlocks || framing_ == Framing::AfterImage)
        framing_ = Framing::Commands;
    return out;
}

}  // namespace sim
