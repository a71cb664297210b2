// Sample firmware images for demos and tests: one file per firmware group, in
// the layout the program reads (a version header, 384 data lines of 16 bytes
// with a trailing checksum the reader skips, the end line).

#include "sim/simulator.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace sim {

namespace {
constexpr const char* kFileNames[] = {"upt03.blo", "upt05.blo", "upt07.blo",
                                      "upt11.blo", "upt13.blo", "upt15.blo"};
constexpr int kDataLines = 384;
constexpr int kBytesPerLine = 16;

bool write_image(const std::filesystem::path& path, const std::string& version, unsigned seed)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out << 'V' << version << "\r\n";
    unsigned state = seed * 2654435761u + 1;
    char hex[3];
    for (int line = 0; line < kDataLines; ++line) {
        out << ':';
        unsigned sum = 0;
        for (int i = 0; i < kBytesPerLine; ++i) {
            state = state * 1103515245u + 12345u;
            const unsigned byte = (state >> 16) & 0xFF;
            sum += byte;
            std::snprintf(hex, sizeof hex, "%02X", byte);
            out << hex;
        }
        std::snprintf(hex, sizeof hex, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
        out << hex << "\r\n";
    }
    out << ":00000001FF\r\n";
    return static_cast<bool>(out.flush());
}
}  // namespace

bool Simulator::write_sample_images(const std::string& folder, const std::string& version)
{
    // The program reads the version as digit, point, digit.
    if (version.size() != 3 || !std::isdigit(static_cast<unsigned char>(version[0])) || version[1] != '.' ||
        !std::isdigit(static_cast<unsigned char>(version[2])))
        return false;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    unsigned seed = 1;
    for (const char* name : kFileNames) {
        if (!write_image(std::filesystem::path(folder) / name, version, seed++))
            return false;
    }
    return true;
}

}  // namespace sim
