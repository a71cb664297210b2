// Hex text and the parameter frame on any text: bytes survive the trip to hex
// text and back, and a frame that decodes to bytes encodes to the same text.

#include "fuzz_support.h"
#include "link/hex_text.h"
#include "params/parameter_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString hex = to_hex_text(bytes);
    fuzz_check(hex.size() == 2 * bytes.size() && hex == hex.toUpper());
    fuzz_check(QByteArray::fromHex(hex.toLatin1()) == bytes);

    const QString text = QString::fromLatin1(bytes);
    const int64_t value = hex_to_int(text);
    fuzz_check(value >= INT32_MIN && value <= INT32_MAX);

    if (const std::optional<SettingValues> values = decode_parameter_frame(text)) {
        fuzz_check(text.startsWith(QLatin1String("43")) && text.size() >= kFrameTextLength);
        if (first_unencodable_setting(*values) < 0)
            fuzz_check(to_hex_text(*encode_parameter_frame(*values)) == text.left(kFrameTextLength).toUpper());
    }
    return 0;
}
