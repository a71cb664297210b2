#pragma once
// Reads a firmware image file as text, one line at a time: a line ends at a
// line feed (a carriage return before it is not part of the line) and a
// Ctrl-Z character ends the file. The file stays open between lines, so the
// header can be read before the user confirms and the data lines after.
// Only a regular file of at most kMaxBytes is opened: a FIFO or a device
// under an image's name is refused, and so is a file far larger than any
// image (3072 words of hex text).

#include <QFile>
#include <QString>
#include <optional>

namespace firmware {

class ImageFile {
public:
    static constexpr qint64 kMaxBytes = 1024 * 1024;

    // Opens the file; on failure error() says why ("File not found" when the
    // file does not exist).
    bool open(const QString& path);
    // The next line, or nothing at the end of the file or on a read error.
    std::optional<QString> readLine();
    // Why the last open or read failed; empty when nothing failed.
    QString error() const { return error_; }
    void close() { file_.close(); }

private:
    QFile file_;
    QString error_;
    bool ended_ = false;
    qint64 consumed_ = 0;  // bytes read so far
};

}  // namespace firmware
