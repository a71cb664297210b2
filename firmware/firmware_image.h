#pragma once
// Firmware image files: which file belongs to a firmware group, the version in
// the header line, and the image text gathered from the data lines.
//
// A file is plain text: a header line such as "V1.2", then data lines that
// begin with a colon and carry 16 image bytes as 32 hex digits in characters
// 2 to 33. Only those characters are taken; nothing else on a line is read.

#include <QString>

namespace firmware {

// A full image: 384 data lines of 32 hex digits, sent in 96 blocks of 128.
inline constexpr int kImageWords = 3072;
inline constexpr int kImageChars = kImageWords * 4;
inline constexpr int kDataLines = kImageWords / 8;
inline constexpr int kLineChars = 32;

// "upt03.blo" ... "upt15.blo" for groups 1 to 6; empty for any other group.
QString image_file_name(int fwGroup);

// The version of the header line: characters 2 to 4 ("1.2") and the version
// code, characters 2 and 4 ("12"), which travels to the ESC as one byte.
struct ImageHeader {
    QString version;
    QString versionCode;
    // The version code must be two hex digits (either case): it goes on the
    // wire as one byte, and ESC labels show versions such as "V1.A" too.
    bool valid() const;
};
ImageHeader parse_header(const QString& headerLine);

// Gathers the image from the lines after the header, one line at a time, and
// says when reading must stop. Lines after the stopping point are not read.
class DataLineReader {
public:
    // Takes one line (without its line end). Returns false once reading stops:
    // at the end line ":00000001FF", at a line that does not begin with a colon,
    // or after the 384th data line (counted in words, 8 per line).
    bool take(const QString& line);

    const QString& image() const { return image_; }
    int dataLines() const { return dataLines_; }
    // Why the gathered image cannot be written whole; empty when it can.
    // A short or partly non-hex image would leave a half-written ESC.
    QString fault() const;

private:
    QString image_;
    int words_ = 0;
    int dataLines_ = 0;
    int fileLine_ = 1;  // the header is line 1
    int firstShortLine_ = 0;
    int firstNonHexLine_ = 0;
    bool stopped_ = false;
};

}  // namespace firmware
