#include "firmware/image_file.h"

#include <QFileInfo>

namespace firmware {

bool ImageFile::open(const QString& path)
{
    error_.clear();
    ended_ = false;
    file_.close();
    file_.setFileName(path);
    if (!QFileInfo::exists(path)) {
        error_ = QStringLiteral("File not found");
        return false;
    }
    if (QFileInfo(path).isDir()) {
        error_ = QStringLiteral("Is a folder, not a file");
        return false;
    }
    if (!file_.open(QIODevice::ReadOnly)) {
        error_ = file_.errorString();
        return false;
    }
    return true;
}

std::optional<QString> ImageFile::readLine()
{
    if (ended_ || !file_.isOpen())
        return std::nullopt;
    QByteArray line = file_.readLine();
    if (file_.error() != QFileDevice::NoError) {
        error_ = file_.errorString();
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
