#include "firmware/firmware_update.h"

#include "firmware/firmware_image.h"
#include "firmware/image_file.h"
#include "firmware/image_locations.h"
#include "link/link.h"
#include "link/status_texts.h"
#include "shutdown/finish_first.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <optional>

namespace {

constexpr int kWriteReplyMs = 8000;
constexpr int kReadBackWaitMs = 5000;
// The ESC may ask for two blocks of 0xFF after the image; after those the
// transfer ends whatever it answers.
constexpr int kWordsLimit = firmware::kImageWords + 2 * 32;
constexpr int kBlockWords = 32;
// A read-back that stops arriving for this many waits in a row has failed.
constexpr int kEmptyReadBackWaits = 2;

const QString kWriteError = QStringLiteral("Receive data error,Please update Hardware again");
const QString kVerifyError = QStringLiteral("Update hardware failure,Please update Hardware again");
const QString kIdle = QString::fromLatin1(status::kIdle);
const QString kError = QString::fromLatin1(box_title::kError);
const QString kRequire = QString::fromLatin1(box_title::kRequire);

bool has_reply(const QString& recv)
{
    return recv.size() >= 2;
}

const Link::ReplyWait kWriteWait{kWriteReplyMs, has_reply, Link::Pass::Sleep1msThenProcess};
const Link::ReplyWait kReadBackWait{kReadBackWaitMs, has_reply, Link::Pass::ProcessTwice};

}  // namespace

FirmwareUpdate::FirmwareUpdate(Link& link, SharedState& st, EscView& view, Dialogs& dialogs, QString programDir)
    : link_(link), st_(st), view_(view), dialogs_(dialogs), programDir_(std::move(programDir))
{
}

void FirmwareUpdate::set_progress(int value)
{
    view_.showProgress(std::clamp(value, 0, progressMaximum_));
}

void FirmwareUpdate::set_progress_maximum(int maximum)
{
    progressMaximum_ = maximum;
    view_.showProgressMaximum(maximum);
}

void FirmwareUpdate::Button2Click()
{
    result_ = Result::NotRun;
    if (!link_.esc_required())
        return;
    st_.cmd_mode = true;
    updata_board();
    link_.setStatus(kIdle);
    st_.cmd_mode = false;
}

void FirmwareUpdate::updata_board()
{
    Image image;
    if (!prepare(image))
        return;
    // From the first block to the read-back's end, a stop request waits.
    std::optional<FinishFirst> whole(std::in_place);
    if (!write_phase(image))
        return;
    const bool verified = verify_phase(image);
    whole.reset();
    if (!verified) {
        result_ = Result::VerifyFailed;
        dialogs_.message(kError, kVerifyError, BoxIcon::Error);
        link_.setStatus(kIdle);
        set_progress(0);
        return;
    }
    succeed(image);
}

void FirmwareUpdate::file_error(const QString& text)
{
    result_ = Result::FileError;
    dialogs_.message(kError, text, BoxIcon::Error);
}

bool FirmwareUpdate::prepare(Image& image)
{
    // The version as the ESC label shows it: its last three characters.
    const QString escVersion = link_.esc_labels().fwVersion.right(3);
    if (escVersion == QLatin1String("1.0") || escVersion == QLatin1String("1.1")) {
        result_ = Result::Refused;
        dialogs_.message(
            kError,
            QStringLiteral("sorry! You can not update of the ESC,\r\nplease contact manufacturers."),
            BoxIcon::Error);
        return false;
    }

    const QString fileName = firmware::image_file_name(st_.fw_group);
    if (fileName.isEmpty()) {
        result_ = Result::NoImage;
        return false;
    }
    // An image named by the user is looked for where it was named, alone.
    const QFileInfo named(imagePath_);
    const QString wanted = imagePath_.isEmpty() ? fileName : named.fileName();
    const QStringList folders =
        imagePath_.isEmpty() ? firmware::image_folders(programDir_) : QStringList{named.absolutePath()};
    const QString found = firmware::find_image(folders, wanted);
    if (found.isEmpty()) {
        file_error(firmware::missing_image_text(wanted, folders));
        return false;
    }
    const QString path = QDir::toNativeSeparators(found);

    // Open from the header to the end of the data lines; every return closes it.
    firmware::ImageFile file;
    if (!file.open(path)) {
        file_error(QStringLiteral("Cannot open the firmware image ") + path + QStringLiteral(":\r\n") +
                   file.error());
        return false;
    }
    const std::optional<QString> headerLine = file.readLine();
    if (!file.error().isEmpty()) {
        file_error(QStringLiteral("Cannot read the firmware image ") + path + QStringLiteral(":\r\n") +
                   file.error());
        return false;
    }
    const firmware::ImageHeader header = firmware::parse_header(headerLine.value_or(QString()));
    if (!header.valid()) {
        file_error(QStringLiteral("The firmware image ") + path +
                   QStringLiteral(" does not name its version in the first line (V, hex digit, point, hex digit)."
                                  "\r\nNothing was sent to the ESC."));
        return false;
    }

    // "1.a" in a header is the same byte as the "1.A" the ESC label shows.
    if (header.version.compare(escVersion, Qt::CaseInsensitive) == 0 &&
        dialogs_.message(kRequire,
                        QStringLiteral("The version you want to upgrade is same with current ESC firmware "
                                       "version,\n\rDo you want to continue?"),
                        BoxIcon::None, BoxButtons::YesNo) != BoxAnswer::Yes) {
        result_ = Result::Declined;
        return false;
    }
    if (dialogs_.message(kRequire,
                        QStringLiteral("Are you really update hardware to V") + header.version, BoxIcon::None,
                        BoxButtons::YesNo) != BoxAnswer::Yes) {
        result_ = Result::Declined;
        return false;
    }

    link_.setStatus(QString::fromLatin1(status::kUpdateStart));
    link_.pumped_delay(0);

    firmware::DataLineReader reader;
    while (const std::optional<QString> line = file.readLine())
        if (!reader.take(*line))
            break;
    if (!file.error().isEmpty()) {
        file_error(QStringLiteral("Cannot read the firmware image ") + path + QStringLiteral(":\r\n") +
                   file.error());
        return false;
    }
    file.close();
    if (const QString fault = reader.fault(); !fault.isEmpty()) {
        file_error(QStringLiteral("The firmware image ") + path + QStringLiteral(" cannot be written: ") +
                   fault + QStringLiteral(".\r\nNothing was sent to the ESC."));
        return false;
    }
    link_.pumped_delay(0);

    // The ESC reads back upper-case hex text; an image written in lower case
    // holds the same bytes and must compare equal.
    image.text = reader.image().toUpper();
    image.versionCode = header.versionCode;
    return true;
}

QString FirmwareUpdate::next_block(const QString& image, int& readPos) const
{
    if (readPos > image.size())
        return QStringLiteral("FFFF").repeated(kBlockWords);
    QString block;
    for (int i = 0; i < kBlockWords; ++i) {
        block += image.mid(readPos - 1, 4);
        readPos += 4;
    }
    return block;
}

bool FirmwareUpdate::write_phase(const Image& image)
{
    link_.mscomm1send(QStringLiteral("07"));
    link_.pumped_delay(1);

    set_progress_maximum(firmware::kImageWords);
    set_progress(0);
    int wordsSent = 0;
    int readPos = 1;
    // The version code announces the image; each reply 0x59 asks for the next block.
    QString reply = link_.exchange(QStringLiteral("0C00") + image.versionCode, kWriteWait);
    for (;;) {
        if (reply.mid(0, 2) == QLatin1String("55") || reply.mid(2, 2) == QLatin1String("55"))
            return true;
        if (reply != QLatin1String("59")) {
            result_ = Result::LinkError;
            dialogs_.message(QString::fromLatin1(box_title::kCommError), kWriteError, BoxIcon::Error);
            link_.setStatus(kIdle);
            set_progress(0);
            return false;
        }
        const QString block = next_block(image.text, readPos);
        wordsSent += kBlockWords;
        const auto showProgress = [&] {
            set_progress(wordsSent);
            link_.pumped_delay(1);
            link_.setStatus(QString::fromLatin1(status::kUpdateWriting));
            link_.pumped_delay(1);
        };
        if (wordsSent >= kWordsLimit) {
            // The last block allowed goes out without waiting for an answer.
            link_.mscomm1send(block);
            showProgress();
            break;
        }
        reply = link_.exchange(block, kWriteWait, showProgress);
    }
    // The ESC kept asking past the image and two blocks of 0xFF: the
    // transfer ends here, without verification and without a message.
    result_ = Result::NotFinished;
    link_.setStatus(kIdle);
    return false;
}

bool FirmwareUpdate::verify_phase(const Image& image)
{
    link_.setStatus(QString::fromLatin1(status::kUpdateVerifying));
    link_.pumped_delay(1);

    set_progress_maximum(firmware::kImageWords);
    set_progress(0);
    // The ESC answers 0x0B with the whole image, which arrives over several waits.
    QString readBack = link_.exchange(QStringLiteral("0B"), kReadBackWait);
    int emptyWaits = readBack.isEmpty() ? 1 : 0;
    set_progress(readBack.size() / 4);
    while (readBack.size() < firmware::kImageChars && emptyWaits < kEmptyReadBackWaits) {
        const QString more = link_.await_more(kReadBackWait);
        emptyWaits = more.isEmpty() ? emptyWaits + 1 : 0;
        readBack += more;
        set_progress(readBack.size() / 4);
    }
    // Bytes beyond the image may follow the last expected one by a byte time
    // or two; take them in too, so that a longer read-back is not mistaken
    // for an equal one.
    link_.pumped_delay(5);
    readBack += link_.take_received();
    return readBack == image.text;
}

void FirmwareUpdate::succeed(const Image& image)
{
    result_ = Result::Updated;
    link_.setStatus(QString::fromLatin1(status::kUpdateFinished));
    dialogs_.message(QString::fromLatin1(box_title::kPrompt),
                     QStringLiteral("Update hardware succeed,Firmware versionV") + image.versionCode[0] +
                         QLatin1Char('.') + image.versionCode[1],
                     BoxIcon::None);
    link_.setStatus(kIdle);
    // Identify the ESC afresh, as at start-up, so that the new version shows.
    link_.arm_search();
    set_progress(0);
}
