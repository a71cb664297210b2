#include "firmware/firmware_image.h"

#include <QCoreApplication>
#include <array>

namespace firmware {

namespace {

bool is_hex_digit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

bool all_hex(const QString& text)
{
    for (QChar c : text)
        if (!is_hex_digit(c))
            return false;
    return true;
}

}  // namespace

QString image_file_name(int fwGroup)
{
    static const std::array<const char*, 6> names = {"upt03.blo", "upt05.blo", "upt07.blo",
                                                     "upt11.blo", "upt13.blo", "upt15.blo"};
    if (fwGroup < 1 || fwGroup > int(names.size()))
        return {};
    return QString::fromLatin1(names[fwGroup - 1]);
}

bool ImageHeader::valid() const
{
    return versionCode.size() == 2 && is_hex_digit(versionCode[0]) && is_hex_digit(versionCode[1]);
}

ImageHeader parse_header(const QString& headerLine)
{
    ImageHeader h;
    h.version = headerLine.mid(1, 3);
    if (headerLine.size() >= 4)
        h.versionCode = QString(headerLine[1]) + headerLine[3];
    return h;
}

bool DataLineReader::take(const QString& line)
{
    if (stopped_)
        return false;
    ++fileLine_;
    if (line == QLatin1String(":00000001FF") || (!line.isEmpty() && line[0] != u':')) {
        stopped_ = true;
        return false;
    }
    if (line.isEmpty())
        return true;

    const QString digits = line.mid(1, kLineChars);
    if (digits.size() < kLineChars && firstShortLine_ == 0)
        firstShortLine_ = fileLine_;
    if (!all_hex(digits) && firstNonHexLine_ == 0)
        firstNonHexLine_ = fileLine_;
    image_ += digits;
    ++dataLines_;
    words_ += 8;
    if (words_ >= kImageWords)
        stopped_ = true;
    return !stopped_;
}

QString DataLineReader::fault() const
{
    if (dataLines_ < kDataLines)
        return QCoreApplication::translate("box_text", "it holds %1 data lines, a complete image has %2")
            .arg(dataLines_)
            .arg(kDataLines);
    if (firstShortLine_ != 0)
        return QCoreApplication::translate("box_text", "line %1 holds fewer than %2 hex digits")
            .arg(firstShortLine_)
            .arg(kLineChars);
    if (firstNonHexLine_ != 0)
        return QCoreApplication::translate("box_text", "line %1 holds a character that is not a hex digit")
            .arg(firstNonHexLine_);
    return {};
}

}  // namespace firmware
