#include "sim/device.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {
constexpr uint8_t kReady = 0x59;
constexpr uint8_t kDone = 0x55;
}  // namespace

Device::Device(const Options& options)
    : motor_(options.poles),
      esc_present_(options.esc_present),
      type_(options.type),
      hw_version_(options.hw_version),
      fw_version_(options.fw_version),
      zero_id_without_esc_(options.zero_id_without_esc),
      flash_(kFlashSize)
{
    // Factory firmware: any fixed content will do, as long as a read-back shows
    // whether a write has replaced it.
    for (int i = 0; i < kFlashSize; ++i)
        flash_[i] = static_cast<uint8_t>((i * 7 + 0x3C) ^ (i >> 8));
}

std::vector<std::vector<uint8_t>> Device::receive(uint8_t byte, Clock::time_point now)
{
    std::vector<std::vector<uint8_t>> replies;
    for (const Request& request : assembler_.feed(byte)) {
        ++request_count_;
        std::vector<uint8_t> reply = with_faults(request, answer(request, now));
        if (!reply.empty())
            replies.push_back(std::move(reply));
    }
    return replies;
}

std::vector<std::vector<uint8_t>> Device::line_quiet(Clock::time_point now)
{
    std::vector<std::vector<uint8_t>> replies;
    for (const Request& request : assembler_.line_quiet()) {
        ++request_count_;
        std::vector<uint8_t> reply = with_faults(request, answer(request, now));
        if (!reply.empty())
            replies.push_back(std::move(reply));
    }
    return replies;
}

std::vector<uint8_t> Device::with_faults(const Request& request, std::vector<uint8_t> reply)
{
    if (faults.silent_card)
        return {};
    const bool data = request.kind == RequestKind::ImageBlock || request.kind == RequestKind::FillBlock;
    if (!data && !request.bytes.empty()) {
        auto it = faults.reply_overrides.find(request.bytes.front());
        if (it != faults.reply_overrides.end())
            reply = it->second;
    }
    if (faults.no_reply_to_request == request_count_)
        return {};
    if (faults.extra_trailing_bytes && !reply.empty())
        reply.push_back(0x00);
    return reply;
}

std::vector<uint8_t> Device::answer(const Request& request, Clock::time_point now)
{
    // A silent card passes nothing on to the ESC either.
    if (faults.silent_card)
        return {};

    switch (request.kind) {
        case RequestKind::Probe:
            return {0x25, 0x01};
        case RequestKind::Identify:
            if (esc_present_)
                return {0x50, type_, hw_version_, fw_version_};
            if (zero_id_without_esc_)
                return {0x50, 0x00, 0x00, 0x00};
            return {0x50};
        default:
            break;
    }

    if (!esc_present_)
        return {};

    switch (request.kind) {
        case RequestKind::ReadSettings: {
            std::vector<uint8_t> frame{0x43};
            frame.insert(frame.end(), settings_.begin(), settings_.end());
            return frame;
        }
        case RequestKind::WriteSettings:
            std::copy(request.bytes.begin() + 2, request.bytes.end(), settings_.begin());
            return {write_ack_};
        case RequestKind::EnterSpeed:
            speed_mode_ = true;
            assembler_.set_framing(Framing::Speed);
            return {};
        case RequestKind::LeaveSpeed:
            if (speed_mode_) {
                speed_mode_ = false;
                motor_.cut_power(now);
                assembler_.set_framing(Framing::Commands);
            }
            return {};
        case RequestKind::Throttle: {
            motor_.set_throttle(request.bytes.front(), now);
            const uint16_t t = motor_.period(now);
            return {static_cast<uint8_t>(t >> 8), static_cast<uint8_t>(t & 0xFF)};
        }
        case RequestKind::FirmwareStart:
            blocks_received_ = 0;
            version_being_written_ = request.bytes[2];
            assembler_.set_framing(Framing::ImageBlocks);
            return {kReady};
        case RequestKind::ImageBlock:
        case RequestKind::FillBlock:
            return image_block(request);
        case RequestKind::ReadBack: {
            std::vector<uint8_t> image = flash_;
            if (faults.flip_readback_byte >= 0 && faults.flip_readback_byte < kFlashSize)
                image[faults.flip_readback_byte] ^= 0xFF;
            return image;
        }
        default:
            return {};  // "07", a lone "03" and unknown bytes are taken without a word
    }
}

std::vector<uint8_t> Device::image_block(const Request& request)
{
    const int block = ++blocks_received_;
    if (faults.stop_after_block > 0 && block > faults.stop_after_block)
        return {};
    std::vector<uint8_t> reply{kReady};
    if (request.kind == RequestKind::ImageBlock) {
        if (block <= kImageBlocks)
            std::copy(request.bytes.begin(), request.bytes.end(),
                      flash_.begin() + (block - 1) * RequestAssembler::kBlockSize);
        if (block == kImageBlocks) {
            fw_version_ = version_being_written_;
            reply = {kDone};
        }
    } else {
        reply = {kDone};
    }
    auto forced = faults.block_replies.find(block);
    if (forced != faults.block_replies.end())
        reply = forced->second;
    // Once it has said it is done, the ESC takes FF blocks and then commands again.
    if (std::find(reply.begin(), reply.end(), kDone) != reply.end() || block >= kImageBlocks)
        assembler_.set_framing(Framing::AfterImage);
    return reply;
}

std::vector<uint8_t> Device::plug(uint8_t type, uint8_t hw_version, uint8_t fw_version)
{
    esc_present_ = true;
    type_ = type;
    hw_version_ = hw_version;
    fw_version_ = fw_version;
    if (faults.silent_card)
        return {};
    return {0x50, type_, hw_version_, fw_version_};
}

std::vector<uint8_t> Device::unplug()
{
    esc_present_ = false;
    speed_mode_ = false;
    motor_.stop_at_once();
    assembler_.set_framing(Framing::Commands);
    if (faults.silent_card)
        return {};
    return {0x50};
}

void Device::port_closed()
{
    speed_mode_ = false;
    motor_.stop_at_once();
    assembler_.set_framing(Framing::Commands);
}

int Device::motor_rpm(Clock::time_point now)
{
    return static_cast<int>(std::lround(motor_.rpm(now)));
}

}  // namespace sim
