#include "firmware/firmware_update.h"

#include "firmware/firmware_image.h"
#include "firmware/image_file.h"
#include "firmware/image_locations.h"
#include "link/link.h"
#include "link/status_texts.h"
#include "link/wire_codes.h"
#include "shutdown/finish_first.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
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
constexpr int kBlockBytes = 2 * kBlockWords;
// A read-back that stops arriving for this many waits in a row has failed.
constexpr int kEmptyReadBackWaits = 2;
// The read-back is the whole image, ten bits a byte at 19200 baud: 3.2 s on
// the line. One that trickles in has three times that in all.
constexpr int kReadBackLineMs = firmware::kImageWords * 2 * 10 * 1000 / 19200;
constexpr int kReadBackBoundMs = 3 * kReadBackLineMs;

// The window shows the texts marked for translation in the user's language.
const QString kWriteError =
    QStringLiteral(QT_TRANSLATE_NOOP("box_text", "Receive data error,Please update Hardware again"));
const QString kVerifyError =
    QStringLiteral(QT_TRANSLATE_NOOP("box_text", "Update hardware failure,Please update Hardware again"));
const QString kIdle = QString::fromLatin1(status::kIdle);
const QString kError = QString::fromLatin1(box_title::kError);
const QString kRequire = QString::fromLatin1(box_title::kRequire);

bool has_reply(const QString& recv)
{
    return recv.size() >= 2;
}

const Link::ReplyWait kWriteWait{kWriteReplyMs, has_reply, Link::Pass::Sleep1msThenProcess};

}  // namespace

FirmwareUpdate::FirmwareUpdate(Link& link, SharedState& st, Dialogs& dialogs, QString programDir)
    : link_(link), st_(st), dialogs_(dialogs), programDir_(std::move(programDir))
{
}

void FirmwareUpdate::set_progress(int value)
{
    if (progress_)
        progress_(std::clamp(value, 0, progressMaximum_), progressMaximum_);
}

bool FirmwareUpdate::stop_asked() const
{
    return stopAsked_ && stopAsked_();
}

void FirmwareUpdate::set_progress_maximum(int maximum)
{
    progressMaximum_ = maximum;
}

Outcome FirmwareUpdate::update(const QString& imagePath, const Progress& progress, const StopAsked& stopAsked)
{
    result_ = Result::NotRun;
    if (Outcome refused = link_.require_esc(); !refused.done())
        return refused;
    progress_ = progress;
    stopAsked_ = stopAsked;
    st_.cmd_mode = true;
    Outcome ended = run_update(imagePath);
    progress_ = nullptr;
    stopAsked_ = nullptr;
    link_.setStatus(kIdle);
    st_.cmd_mode = false;
    return ended;
}

Outcome FirmwareUpdate::end(Result result, const QString& box)
{
    using Kind = Outcome::Kind;
    result_ = result;
    switch (result) {
        case Result::NotRun:
        case Result::Updated:
            return Outcome::ok(box);
        case Result::Refused:
        case Result::Declined:
        case Result::NoImage:
            return Outcome::fail(Kind::Refused, box);
        case Result::FileError:
            return Outcome::fail(Kind::FileProblem, box);
        case Result::LinkError:
            return Outcome::fail(Kind::NoAnswer, box);
        case Result::NotFinished:
        case Result::NotVerified:
        case Result::VerifyFailed:
            return Outcome::fail(Kind::Rejected, box);
    }
    return Outcome::fail(Kind::Rejected, box);
}

Outcome FirmwareUpdate::run_update(const QString& imagePath)
{
    Image image;
    if (Outcome stopped = prepare(imagePath, image); !stopped.done())
        return stopped;
    // Until the last block is written, a stop request waits; the read-back
    // only checks, and a stop ends it.
    std::optional<FinishFirst> writing(std::in_place);
    if (Outcome stopped = write_phase(image); !stopped.done())
        return stopped;
    writing.reset();
    const Check checked = verify_phase(image);
    if (checked == Check::Stopped) {
        link_.setStatus(kIdle);
        set_progress(0);
        return end(Result::NotVerified);
    }
    if (checked == Check::Differs) {
        dialogs_.message(kError, kVerifyError, BoxIcon::Error);
        link_.setStatus(kIdle);
        set_progress(0);
        return end(Result::VerifyFailed, kVerifyError);
    }
    return succeed(image);
}

Outcome FirmwareUpdate::file_error(const QString& text)
{
    dialogs_.message(kError, text, BoxIcon::Error);
    return end(Result::FileError, text);
}

Outcome FirmwareUpdate::prepare(const QString& imagePath, Image& image)
{
    // The version as the ESC label shows it: its last three characters.
    const QString escVersion = link_.esc_labels().fwVersion.right(3);
    if (escVersion == QLatin1String("1.0") || escVersion == QLatin1String("1.1")) {
        const QString text = QStringLiteral(QT_TRANSLATE_NOOP(
            "box_text", "sorry! You can not update of the ESC,\r\nplease contact manufacturers."));
        dialogs_.message(kError, text, BoxIcon::Error);
        return end(Result::Refused, text);
    }

    const QString fileName = firmware::image_file_name(st_.fw_group);
    if (fileName.isEmpty())
        return end(Result::NoImage);
    // An image named by the user is looked for where it was named, alone.
    const QFileInfo named(imagePath);
    const QString wanted = imagePath.isEmpty() ? fileName : named.fileName();
    const QStringList folders =
        imagePath.isEmpty() ? firmware::image_folders(programDir_) : QStringList{named.absolutePath()};
    const QString found = firmware::find_image(folders, wanted);
    if (found.isEmpty())
        return file_error(firmware::missing_image_text(wanted, folders));
    const QString path = QDir::toNativeSeparators(found);

    // Open from the header to the end of the data lines; every return closes it.
    firmware::ImageFile file;
    if (!file.open(path))
        return file_error(QCoreApplication::translate("box_text", "Cannot open the firmware image %1:\r\n%2")
                              .arg(path, file.error()));
    const std::optional<QString> headerLine = file.readLine();
    if (!file.error().isEmpty())
        return file_error(QCoreApplication::translate("box_text", "Cannot read the firmware image %1:\r\n%2")
                              .arg(path, file.error()));
    const firmware::ImageHeader header = firmware::parse_header(headerLine.value_or(QString()));
    if (!header.valid())
        return file_error(
            QCoreApplication::translate("box_text",
                                        "The firmware image %1 does not name its version in the first "
                                        "line (V, hex digit, point, hex digit).\r\nNothing was sent "
                                        "to the ESC.")
                .arg(path));

    // "1.a" in a header is the same byte as the "1.A" the ESC label shows.
    const QString sameVersion =
        QStringLiteral(QT_TRANSLATE_NOOP("box_text",
                                         "The version you want to upgrade is same with current ESC firmware "
                                         "version,\n\rDo you want to continue?"));
    if (header.version.compare(escVersion, Qt::CaseInsensitive) == 0 &&
        dialogs_.message(kRequire, sameVersion, BoxIcon::None, BoxButtons::YesNo) != BoxAnswer::Yes)
        return end(Result::Declined, sameVersion);
    const QString really =
        QCoreApplication::translate("box_text", "Are you really update hardware to V%1").arg(header.version);
    if (dialogs_.message(kRequire, really, BoxIcon::None, BoxButtons::YesNo) != BoxAnswer::Yes)
        return end(Result::Declined, really);

    link_.setStatus(QString::fromLatin1(status::kUpdateStart));
    link_.pumped_delay(0);

    firmware::DataLineReader reader;
    while (const std::optional<QString> line = file.readLine())
        if (!reader.take(*line))
            break;
    if (!file.error().isEmpty())
        return file_error(QCoreApplication::translate("box_text", "Cannot read the firmware image %1:\r\n%2")
                              .arg(path, file.error()));
    file.close();
    if (const QString fault = reader.fault(); !fault.isEmpty())
        return file_error(
            QCoreApplication::translate(
                "box_text", "The firmware image %1 cannot be written: %2.\r\nNothing was sent to the ESC.")
                .arg(path, fault));
    link_.pumped_delay(0);

    // The ESC reads back upper-case hex text; an image written in lower case
    // holds the same bytes and must compare equal.
    image.text = reader.image().toUpper();
    // Every character is a hex digit and the count is even (checked above).
    image.bytes = QByteArray::fromHex(image.text.toLatin1());
    image.versionCode = header.versionCode;
    return Outcome::ok();
}

QByteArray FirmwareUpdate::next_block(const QByteArray& image, qsizetype& offset)
{
    if (offset >= image.size())
        return QByteArray(kBlockBytes, '\xFF');
    const QByteArray block = image.mid(offset, kBlockBytes);
    offset += kBlockBytes;
    return block;
}

Outcome FirmwareUpdate::write_phase(const Image& image)
{
    link_.send_code(request::kStartFirmwareWrite);
    link_.pumped_delay(1);

    set_progress_maximum(firmware::kImageWords);
    set_progress(0);
    int wordsSent = 0;
    qsizetype offset = 0;
    // The version code announces the image; each reply 0x59 asks for the next block.
    const QByteArray announce = QByteArray(1, request::kAnnounceFirmware) + '\0' + QByteArray::fromHex(image.versionCode.toLatin1());
    QString reply = link_.exchange(announce, kWriteWait);
    for (;;) {
        if (reply.mid(0, 2) == reply::kAck || reply.mid(2, 2) == reply::kAck)
            return Outcome::ok();
        if (reply != reply::kNextBlock) {
            dialogs_.message(QString::fromLatin1(box_title::kCommError), kWriteError, BoxIcon::Error);
            link_.setStatus(kIdle);
            set_progress(0);
            return end(Result::LinkError, kWriteError);
        }
        const QByteArray block = next_block(image.bytes, offset);
        wordsSent += kBlockWords;
        const auto showProgress = [&] {
            set_progress(wordsSent);
            link_.pumped_delay(1);
            link_.setStatus(QString::fromLatin1(status::kUpdateWriting));
            link_.pumped_delay(1);
        };
        if (wordsSent >= kWordsLimit) {
            // The last block allowed goes out without waiting for an answer.
            link_.send(block);
            showProgress();
            break;
        }
        reply = link_.exchange(block, kWriteWait, showProgress);
    }
    // The ESC kept asking past the image and two blocks of 0xFF: the
    // transfer ends here, without verification and without a message.
    link_.setStatus(kIdle);
    return end(Result::NotFinished);
}

FirmwareUpdate::Check FirmwareUpdate::verify_phase(const Image& image)
{
    link_.setStatus(QString::fromLatin1(status::kUpdateVerifying));
    link_.pumped_delay(1);

    set_progress_maximum(firmware::kImageWords);
    set_progress(0);
    // A stop asked for during the write ends the update here, the image written.
    if (stop_asked())
        return Check::Stopped;
    QElapsedTimer elapsed;
    elapsed.start();
    // Each wait ends at the overall bound, or at once on a stop.
    const auto wait = [this, &elapsed] {
        const int left = kReadBackBoundMs - static_cast<int>(elapsed.elapsed());
        return Link::ReplyWait{std::clamp(left, 1, kReadBackWaitMs),
                               [this](const QString& r) { return has_reply(r) || stop_asked(); },
                               Link::Pass::ProcessTwice};
    };
    const auto goOn = [this, &elapsed] { return !stop_asked() && elapsed.elapsed() < kReadBackBoundMs; };
    // The ESC answers 0x0B with the whole image, which arrives over several waits.
    QString readBack = link_.exchange(QByteArray(1, request::kReadBackFirmware), wait());
    int emptyWaits = readBack.isEmpty() ? 1 : 0;
    set_progress(readBack.size() / 4);
    while (readBack.size() < firmware::kImageChars && emptyWaits < kEmptyReadBackWaits && goOn()) {
        const QString more = link_.await_more(wait());
        emptyWaits = more.isEmpty() ? emptyWaits + 1 : 0;
        readBack += more;
        set_progress(readBack.size() / 4);
    }
    if (stop_asked())
        return Check::Stopped;
    // Bytes beyond the image may follow the last expected one by a byte time
    // or two; take them in too, so that a longer read-back is not mistaken
    // for an equal one.
    link_.pumped_delay(5);
    readBack += link_.take_received();
    return readBack == image.text ? Check::Equal : Check::Differs;
}

Outcome FirmwareUpdate::succeed(const Image& image)
{
    link_.setStatus(QString::fromLatin1(status::kUpdateFinished));
    const QString text =
        QCoreApplication::translate("box_text", "Update hardware succeed,Firmware versionV%1.%2")
            .arg(image.versionCode[0])
            .arg(image.versionCode[1]);
    dialogs_.message(QString::fromLatin1(box_title::kPrompt), text, BoxIcon::None);
    link_.setStatus(kIdle);
    // Identify the ESC afresh, as at start-up, so that the new version shows.
    link_.arm_search();
    set_progress(0);
    return end(Result::Updated, text);
}
