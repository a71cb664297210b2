#include "params/parameter_frame.h"

#include "link/hex_text.h"
#include "link/wire_codes.h"

namespace {
constexpr char kFrameMarker = 0x43;
}

int first_unencodable_setting(const SettingValues& values)
{
    for (int i = 0; i < kSettingCount; ++i) {
        if (values[i] < 0 || values[i] > 0xFF)
            return i;
    }
    return -1;
}

std::optional<QByteArray> encode_parameter_frame(const SettingValues& values)
{
    if (first_unencodable_setting(values) >= 0)
        return std::nullopt;
    QByteArray frame(1, kFrameMarker);
    for (int v : values)
        frame += static_cast<char>(v);
    return frame;
}

std::optional<SettingValues> decode_parameter_frame(const QString& reply)
{
    if (reply.size() < kFrameTextLength || !reply.startsWith(reply::kSettingsFrame))
        return std::nullopt;
    SettingValues values{};
    for (int i = 0; i < kSettingCount; ++i)
        values[i] = static_cast<int>(hex_to_int(reply.mid(2 + 2 * i, 2)));
    return values;
}
