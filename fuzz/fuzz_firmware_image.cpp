// The firmware image file reader, the header and the data lines on any file.
// An image said to be whole is the full size and hex throughout.

#include "firmware/firmware_image.h"
#include "firmware/image_file.h"
#include "fuzz_support.h"
#include "link/hex_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    firmware::ImageFile file;
    fuzz_check(file.open(fuzz_file(data, size, ".blo")));
    const std::optional<QString> header = file.readLine();
    if (!header)
        return 0;
    const firmware::ImageHeader h = firmware::parse_header(*header);
    if (h.valid())
        fuzz_check(hex_to_int(h.versionCode) >= 0 && hex_to_int(h.versionCode) <= 0xFF);
    firmware::DataLineReader reader;
    while (const std::optional<QString> line = file.readLine())
        if (!reader.take(*line))
            break;
    if (reader.fault().isEmpty()) {
        fuzz_check(reader.image().size() == firmware::kImageChars);
        // The update writes exactly the image's bytes.
        fuzz_check(QByteArray::fromHex(reader.image().toLatin1()).size() == firmware::kImageChars / 2);
    }
    return 0;
}
