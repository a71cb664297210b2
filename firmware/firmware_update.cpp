#include "firmware/firmware_update.h"

#include "firmware/firmware_image.h"
#include "firmware/image_file.h"
#include "firmware/image_locations.h"
#include "link/link.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>
#include <algorithm>

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
const QString kIdle = QStringLiteral("Wait user command");

bool has_reply(const QString& recv)
{
    return recv.size() >= 2;
}

}  // namespace

FirmwareUpdate::FirmwareUpdate(Link& link, QWidget* form, QString programDir)
    : link_(link), form_(form), programDir_(std::move(programDir))
{
}

QLabel* FirmwareUpdate::label4() const
{
    return form_->findChild<QLabel*>(QStringLiteral("Label4"));
}

QProgressBar* FirmwareUpdate::progressBar() const
{
    return form_->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
}

void FirmwareUpdate::set_progress(int value)
{
    if (QProgressBar* bar = progressBar())
        bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
}

void FirmwareUpdate::set_progress_maximum(int maximum)
{
    if (QProgressBar* bar = progressBar())
        bar->setMaximum(maximum);
}

void FirmwareUpdate::Button2Click()
{
    SharedState& st = link_.state();
    if (!st.esc_ok) {
        link_.dialogs().message(QStringLiteral("Comm error"),
                                QStringLiteral("Hardware not connect,please connect first"), BoxIcon::Error);
        return;
    }
    st.cmd_mode = true;
    updata_board();
    link_.setStatus(kIdle);
    st.cmd_mode = false;
}

void FirmwareUpdate::updata_board()
{
    Image image;
    if (!prepare(image))
        return;
    if (!write_phase(image))
        return;
    if (!verify_phase(image)) {
        link_.dialogs().message(QStringLiteral("Error"), kVerifyError, BoxIcon::Error);
        link_.setStatus(kIdle);
        set_progress(0);
        return;
    }
    succeed(image);
}

void FirmwareUpdate::file_error(const QString& text)
{
    link_.dialogs().message(QStringLiteral("Error"), text, BoxIcon::Error);
}

bool FirmwareUpdate::prepare(Image& image)
{
    const QLabel* fwLabel = label4();
    const QString escVersion = fwLabel ? fwLabel->text().right(3) : QString();
    if (escVersion == QLatin1String("1.0") || escVersion == QLatin1String("1.1")) {
        link_.dialogs().message(
            QStringLiteral("Error"),
            QStringLiteral("sorry! You can not update of the ESC,\r\nplease contact manufacturers."),
            BoxIcon::Error);
        return false;
    }

    const QString fileName = firmware::image_file_name(link_.state().fw_group);
    if (fileName.isEmpty())
        return false;
    const QStringList folders = firmware::image_folders(programDir_);
    const QString found = firmware::find_image(folders, fileName);
    if (found.isEmpty()) {
        file_error(firmware::missing_image_text(fileName, folders));
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
                   QStringLiteral(" does not name its version in the first line (V, digit, point, digit)."
                                  "\r\nNothing was sent to the ESC."));
        return false;
    }

    Dialogs& dialogs = link_.dialogs();
    if (header.version == escVersion &&
        dialogs.message(QStringLiteral("Require"),
                        QStringLiteral("The version you want to upgrade is same with current ESC firmware "
                                       "version,\n\rDo you want to continue?"),
                        BoxIcon::None, BoxButtons::YesNo) != BoxAnswer::Yes)
        return false;
    if (dialogs.message(QStringLiteral("Require"),
                        QStringLiteral("Are you really update hardware to V") + header.version, BoxIcon::None,
                        BoxButtons::YesNo) != BoxAnswer::Yes)
        return false;

    link_.setStatus(QStringLiteral("Start update hardware...."));
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
    SharedState& st = link_.state();
    link_.mscomm1send(QStringLiteral("07"));
    link_.pumped_delay(1);

    st.recv_str.clear();
    st.cmd_mode = true;
    link_.mscomm1send(QStringLiteral("0C00") + image.versionCode);

    int wordsSent = 0;
    int readPos = 1;
    set_progress_maximum(firmware::kImageWords);
    set_progress(0);

    while (wordsSent < kWordsLimit) {
        link_.reply_wait(kWriteReplyMs, has_reply, Link::Pass::Sleep1msThenProcess);
        const QString reply = st.recv_str;
        st.recv_str.clear();
        if (reply.mid(0, 2) == QLatin1String("55") || reply.mid(2, 2) == QLatin1String("55"))
            return true;
        if (reply != QLatin1String("59")) {
            link_.dialogs().message(QStringLiteral("Comm error"), kWriteError, BoxIcon::Error);
            link_.setStatus(kIdle);
            set_progress(0);
            return false;
        }
        link_.mscomm1send(next_block(image.text, readPos));
        wordsSent += kBlockWords;
        set_progress(wordsSent);
        link_.pumped_delay(1);
        link_.setStatus(QStringLiteral("Update process:Writing ROM......."));
        link_.pumped_delay(1);
    }
    // The ESC kept asking past the image and two blocks of 0xFF: the
    // transfer ends here, without verification and without a message.
    link_.setStatus(kIdle);
    return false;
}

bool FirmwareUpdate::verify_phase(const Image& image)
{
    SharedState& st = link_.state();
    link_.setStatus(QStringLiteral("Verrify update data..."));
    link_.pumped_delay(1);

    st.recv_str.clear();
    link_.mscomm1send(QStringLiteral("0B"));
    st.cmd_mode = true;
    set_progress_maximum(firmware::kImageWords);
    set_progress(0);

    QString readBack;
    int emptyWaits = 0;
    while (readBack.size() < firmware::kImageChars && emptyWaits < kEmptyReadBackWaits) {
        st.cmd_mode = true;
        link_.reply_wait(kReadBackWaitMs, has_reply, Link::Pass::ProcessTwice);
        emptyWaits = st.recv_str.isEmpty() ? emptyWaits + 1 : 0;
        readBack += st.recv_str;
        st.recv_str.clear();
        set_progress(readBack.size() / 4);
    }
    // Bytes beyond the image may follow the last expected one by a byte time
    // or two; take them in too, so that a longer read-back is not mistaken
    // for an equal one.
    link_.pumped_delay(5);
    readBack += st.recv_str;
    st.recv_str.clear();
    return readBack == image.text;
}

void FirmwareUpdate::succeed(const Image& image)
{
    SharedState& st = link_.state();
    link_.setStatus(QStringLiteral("Update hardware finished"));
    link_.dialogs().message(QStringLiteral("Prompt"),
                            QStringLiteral("Update hardware succeed,Firmware versionV") +
                                image.versionCode[0] + QLatin1Char('.') + image.versionCode[1],
                            BoxIcon::None);
    link_.setStatus(kIdle);
    // Identify the ESC afresh, as at start-up, so that the new version shows.
    link_.timer1().start();
    st.cmd_mode = false;
    st.esc_ok = false;
    st.auto_search = true;
    link_.mscomm1send(QStringLiteral("35"));
    set_progress(0);
}
