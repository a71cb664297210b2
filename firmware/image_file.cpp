#include "firmware/image_file.h"

#include "params/regular_file.h"

namespace firmware {

bool ImageFile::open(const QString& path)
{
    error_.clear();
    ended_ = false;
    consumed_ = 0;
    file_.close();
    file_.setFileName(path);
    bool missing = false;
    const int fd = open_regular_file(path, kMaxBytes, &error_, &missing);
    if (fd < 0) {
        if (missing)
            error_ = QStringLiteral("File not found");
        return false;
    }
    if (!file_.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        error_ = file_.errorString();
        return false;
    }
    return true;
}

std::optional<QString> ImageFile::readLine()
{
    if (ended_ || !file_.isOpen())
        return std::nullopt;
    // A file that grows after it was opened still ends at the limit.
    QByteArray line = file_.readLine(kMaxBytes - consumed_ + 2);
    consumed_ += line.size();
    if (file_.error() != QFileDevice::NoError || consumed_ > kMaxBytes) {
        error_ = consumed_ > kMaxBytes ? larger_than(kMaxBytes) : file_.errorString();
        ended_ = true;
        return std::nullopt;
    }
    if (line.isEmpty()) {
        ended_ = true;
        return std::nullopt;
    }
    const qsizetype eof = line.indexOf('\x1A');
    if (eof >= 0) {
        line.truncate(eof);
        ended_ = true;
        if (line.isEmpty())
            return std::nullopt;
    } else if (line.endsWith('\n')) {
        line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return QString::fromLatin1(line);
}

}  // namespace firmware
