#include "params/setup_files.h"

#include "link/dialogs.h"
#include "link/status_texts.h"

#include <QCoreApplication>
#include <QFileInfo>

SetupFiles::SetupFiles(Dialogs& dialogs) : dialogs_(dialogs) {}

Found<SetupContents> SetupFiles::load(const QString& path)
{
    fileName_ = QFileInfo(path).absoluteFilePath();
    QCoreApplication::processEvents();
    SetupContents contents;
    const SetupValues values = read_setup_file(path);
    std::copy(values.begin(), values.end(), contents.values.begin());
    if (const std::optional<ExtraValues> extra = read_extra_settings(path)) {
        std::copy(extra->begin(), extra->end(), contents.values.begin() + kSetupKeyCount);
        contents.count = kSettingCount;
    }
    return {Outcome::ok(), contents};
}

Outcome SetupFiles::save(const QString& path, const SetupValues& values)
{
    fileName_ = path;
    saveError_.clear();
    if (write_setup_file(path, values, &saveError_))
        return Outcome::ok();
    const QString text = QStringLiteral(QT_TRANSLATE_NOOP("box_text", "Save file error"));
    dialogs_.message(QString::fromLatin1(box_title::kError), text, BoxIcon::Error);
    return Outcome::fail(Outcome::Kind::FileProblem, text);
}
