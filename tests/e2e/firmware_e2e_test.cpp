// The firmware update through the real window, the serial component and the
// device simulator: the bytes on the wire, the boxes, the status line, the
// progress bar, and how every kind of failure ends.

#include "app/lamp.h"
#include "app/tform1.h"
#include "e2e_fixture.h"
#include "status_trail.h"
#include "testing/qstring_printer.h"
#include "testing/scoped_env.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

using Bytes = std::vector<uint8_t>;

const QString kIdle = QStringLiteral("Wait user command");
const QString kWriteError = QStringLiteral("Comm error|Receive data error,Please update Hardware again");
const QString kVerifyError = QStringLiteral("Error|Update hardware failure,Please update Hardware again");
const QString kConfirm13 = QStringLiteral("Require|Are you really update hardware to V1.3");
const QString kSucceed13 = QStringLiteral("Prompt|Update hardware succeed,Firmware versionV1.3");
constexpr int kBlockBytes = 64;
constexpr int kImageBytes = 6144;

Bytes bytes_of(const QByteArray& a)
{
    return Bytes(a.begin(), a.end());
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes first(const Bytes& b, size_t n)
{
    return Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(std::min(n, b.size())));
}

// The image bytes of an image file as the ESC must receive them: characters
// 2 to 33 of the first 384 colon lines after the header.
Bytes image_in_file(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = f.readAll().split('\n');
    QByteArray hex;
    int taken = 0;
    for (qsizetype i = 1; i < lines.size() && taken < 384; ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.startsWith(':')) {
            hex += line.mid(1, 32);
            ++taken;
        }
    }
    return bytes_of(QByteArray::fromHex(hex));
}

// A data line of 16 bytes that differ from line to line and include the
// flow-control characters 0x11 and 0x13.
QByteArray data_line(int i, bool lowerCase = false)
{
    QByteArray bytes;
    for (int k = 0; k < 16; ++k)
        bytes += char((i * 16 + k) * 37 % 251 + (k == 3 ? 0x11 : 0) + (k == 9 ? 0x13 : 0));
    QByteArray hex = bytes.toHex();
    return ":" + (lowerCase ? hex : hex.toUpper()) + "5A";
}

class FirmwareE2e : public E2eTest {
public:
    // The ESC ESC_T03 (group 1, image "upt03.blo") with firmware fwVersion;
    // sample images of version 1.3 in the program's folder.
    void startConnected(bool paced = false, uint8_t fwVersion = 0x12, uint8_t type = 0x03)
    {
        sim::Options o = paced ? sim::Options{} : fastOptions();
        o.type = type;
        o.fw_version = fwVersion;
        startWindow(o);
        ASSERT_TRUE(sim::Simulator::write_sample_images(programDir().toStdString(), "1.3"));
        // At line pace a loaded machine may hand the start-up identification
        // over in two pieces, which the link-status path does not take; the
        // search, which gathers its replies, finds the ESC then.
        if (!waitConnected(2000)) {
            control<QPushButton>("Button5")->click();
            ASSERT_TRUE(waitConnected());
        }
        sim().clear_received();
        boxes().boxes.clear();
    }

    QString imagePath(const char* name = "upt03.blo") { return QDir(programDir()).filePath(name); }

    // The user's data folder, where an installed copy also finds images.
    QTemporaryDir userData;
    ScopedEnv userDataEnv{"XDG_DATA_HOME", QFile::encodeName(userData.path())};

    void writeImage(const QByteArray& header, const QList<QByteArray>& lines)
    {
        QFile f(imagePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(header + "\r\n");
        for (const QByteArray& l : lines)
            f.write(l + "\r\n");
        f.write(":00000001FF\r\n");
    }
    QList<QByteArray> dataLines(int count, bool lowerCase = false)
    {
        QList<QByteArray> lines;
        for (int i = 0; i < count; ++i)
            lines << data_line(i, lowerCase);
        return lines;
    }

    // Clicks "Update firmware"; returns how long the update ran.
    qint64 clickUpdate()
    {
        QElapsedTimer t;
        t.start();
        control<QPushButton>("Button2")->click();
        return t.elapsed();
    }

    // Bytes the program wrote, after the line has been quiet for a moment.
    Bytes sent()
    {
        settle(100);
        return sim().received();
    }

    Bytes writeStart() { return Bytes{0x07, 0x0C, 0x00, 0x13}; }
    Bytes blocks(const Bytes& image, int count) { return first(image, size_t(count) * kBlockBytes); }

    QProgressBar* progress() { return control<QProgressBar>("ProgressBar1"); }

    // The idle state every end of an update leaves.
    void expectIdleAfterUpdate()
    {
        EXPECT_EQ(status(), kIdle);
        EXPECT_FALSE(form().state().cmd_mode);
    }
};

// ---- The full update ---------------------------------------------------------

TEST_F(FirmwareE2e, FullUpdateAtLinePaceWritesAndVerifiesEveryBlock)
{
    startConnected(/*paced=*/true);
    const Bytes image = image_in_file(imagePath());
    ASSERT_EQ(image.size(), size_t(kImageBytes));

    StatusTrail trail(statusLabel(), 1);
    const qint64 ms = clickUpdate();

    ASSERT_EQ(shownBoxes(), (QStringList{kConfirm13, kSucceed13}));
    EXPECT_EQ(boxes().boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(boxes().boxes[0].icon, BoxIcon::None);
    EXPECT_EQ(boxes().boxes[1].icon, BoxIcon::None);
    // 6149 bytes out and 6241 in need 6.45 s on the line.
    EXPECT_GT(ms, 6000);
    EXPECT_LT(ms, 20000);

    const QStringList texts = trail.texts();
    // "Update hardware finished" shows only while the success box is up,
    // which the recording boxes close at once (tests/firmware sees it).
    const QStringList phases = {"Update process:Writing ROM.......", "Verrify update data...",
                                "Wait user command"};
    qsizetype at = -1;
    for (const QString& phase : phases) {
        const qsizetype next = texts.indexOf(phase, at + 1);
        EXPECT_GT(next, at) << phase.toStdString() << " missing or out of order in "
                            << texts.join(';').toStdString();
        at = std::max(at, next);
    }
    EXPECT_EQ(progress()->maximum(), 3072);
    EXPECT_EQ(progress()->value(), 0);

    // The start-up chain is re-armed (the labels' refresh is shown by the
    // quick update below, whose replies never arrive in pieces).
    EXPECT_FALSE(form().state().esc_ok);
    EXPECT_TRUE(form().state().auto_search);
    EXPECT_TRUE(form().Timer1().isActive());
    EXPECT_EQ(sim().flash(), image);
    EXPECT_EQ(sim().fw_version(), 0x13);
    // "07", the write start, 96 image blocks, the read-back request, then the
    // start-up chain's probe.
    EXPECT_EQ(first(sent(), 4 + kImageBytes + 2), (writeStart() + image + Bytes{0x0B, 0x35}));
}

TEST_F(FirmwareE2e, QuickUpdateShowsEachStatusTextAndThenTheNewVersion)
{
    startConnected();
    StatusTrail trail(statusLabel(), 0);
    clickUpdate();
    ASSERT_EQ(shownBoxes(), (QStringList{kConfirm13, kSucceed13}));
    EXPECT_EQ(trail.texts(),
              (QStringList{kIdle, "Start update hardware....", "Update process:Writing ROM.......",
                           "Verrify update data...", kIdle}));
    // The start-up chain is re-armed; the ESC is identified afresh.
    EXPECT_FALSE(form().state().esc_ok);
    EXPECT_TRUE(form().state().auto_search);
    EXPECT_TRUE(form().Timer1().isActive());
    EXPECT_FALSE(form().state().cmd_mode);
    EXPECT_TRUE(waitConnected(3000));
    EXPECT_EQ(control<QLabel>("Label4")->text(), QStringLiteral("FW version:V1.3"));
}

// ---- Write phase -------------------------------------------------------------

TEST_F(FirmwareE2e, EscSilentDuringWritePhaseFailsAfterEightSeconds)
{
    startConnected();
    const Bytes image = image_in_file(imagePath());
    sim().change_faults([&](sim::Faults& f) { f.stop_after_block = 10; });  // block 11 gets no answer

    const qint64 ms = clickUpdate();

    ASSERT_EQ(shownBoxes(), (QStringList{kConfirm13, kWriteError}));
    EXPECT_EQ(boxes().boxes[1].icon, BoxIcon::Error);
    EXPECT_GE(ms, 8000);
    EXPECT_LT(ms, 12000);
    expectIdleAfterUpdate();
    EXPECT_EQ(progress()->value(), 0);
    EXPECT_TRUE(form().state().esc_ok);
    EXPECT_EQ(control<QLabel>("Label4")->text(), QStringLiteral("FW version:V1.2"));
    EXPECT_EQ(sent(), writeStart() + blocks(image, 11));
}

struct BlockReply {
    const char* name;
    int block;
    Bytes reply;
    QString box;    // the box after the confirmation
    bool verifies;  // "0B" follows the blocks
};

void PrintTo(const BlockReply& c, std::ostream* os)
{
    *os << c.name;
}

class BlockReplyE2e : public FirmwareE2e, public ::testing::WithParamInterface<BlockReply> {};

TEST_P(BlockReplyE2e, ReplyInOneBlockDecidesHowTheWriteGoesOn)
{
    const BlockReply& c = GetParam();
    startConnected();
    const Bytes image = image_in_file(imagePath());
    sim().change_faults([&](sim::Faults& f) { f.block_replies[c.block] = c.reply; });

    const qint64 ms = clickUpdate();

    ASSERT_EQ(shownBoxes(), (QStringList{kConfirm13, c.box}));
    EXPECT_EQ(boxes().boxes[1].icon, BoxIcon::Error);
    EXPECT_LT(ms, 6000);  // decided on the reply, not by a wait running out
    expectIdleAfterUpdate();
    EXPECT_EQ(progress()->value(), 0);
    EXPECT_EQ(sent(), writeStart() + blocks(image, c.block) + (c.verifies ? Bytes{0x0B} : Bytes{}));
}

INSTANTIATE_TEST_SUITE_P(Replies, BlockReplyE2e,
                         ::testing::Values(
                             // Two readies at once are not a ready.
                             BlockReply{"ReadyTwice", 5, {0x59, 0x59}, kWriteError, false},
                             BlockReply{"Unknown", 7, {0x42}, kWriteError, false},
                             // A finish in the second byte starts the read-back; the ESC holds
                             // only 5 new blocks, so it cannot match.
                             BlockReply{"ReadyThenFinished", 5, {0x59, 0x55}, kVerifyError, true},
                             BlockReply{"FinishedEarly", 3, {0x55}, kVerifyError, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FirmwareE2e, EscAskingBeyondTheImageGetsTwoFfBlocksThenTheUpdateEndsQuietly)
{
    startConnected();
    const Bytes image = image_in_file(imagePath());
    for (int block = 96; block <= 98; ++block)
        sim().change_faults([&](sim::Faults& f) { f.block_replies[block] = {0x59}; });

    clickUpdate();

    EXPECT_EQ(shownBoxes(), QStringList{kConfirm13});
    expectIdleAfterUpdate();
    EXPECT_EQ(progress()->value(), 3072);  // left full
    EXPECT_EQ(sent(), writeStart() + image + Bytes(2 * kBlockBytes, 0xFF));
}

// The line's hang-up ends the update at once with its own failure; the link
// then goes down as the watchdog's failure takes it, without a second box.
TEST_F(FirmwareE2e, HangUpMidWriteEndsAtOnceAndTheLinkGoesDownWithoutASecondBox)
{
    startConnected();
    sim().change_faults([&](sim::Faults& f) { f.hangup_after_bytes = 4 + 3 * kBlockBytes + 10; });  // inside block 4

    const qint64 ms = clickUpdate();

    EXPECT_EQ(shownBoxes(), (QStringList{kConfirm13, kWriteError}));
    EXPECT_LT(ms, 3000) << "no 8 s wait on a port that has gone";
    expectIdleAfterUpdate();
    EXPECT_EQ(progress()->value(), 0);
    ASSERT_TRUE(waitUntil([&] { return status() == QStringLiteral("Comm error"); }, 1000));
    EXPECT_FALSE(lamp_lit(control<QWidget>("shcom")));
    EXPECT_FALSE(lamp_lit(control<QWidget>("Shdt")));
    EXPECT_EQ(control<QLabel>("Label4")->text(), QStringLiteral("FW version:unknown"));
    EXPECT_FALSE(form().state().esc_ok);
    EXPECT_FALSE(form().comm().IsOpen());
    settle(1300);
    EXPECT_EQ(shownBoxes(), (QStringList{kConfirm13, kWriteError}));
    EXPECT_TRUE(form().isVisible());
}

// ---- Verify phase ------------------------------------------------------------

TEST_F(FirmwareE2e, FlippedReadBackByteIsAFailure)
{
    startConnected();
    sim().change_faults([&](sim::Faults& f) { f.flip_readback_byte = 4321; });

    clickUpdate();

    ASSERT_EQ(shownBoxes(), (QStringList{kConfirm13, kVerifyError}));
    EXPECT_EQ(boxes().boxes[1].icon, BoxIcon::Error);
    expectIdleAfterUpdate();
    EXPECT_EQ(progress()->value(), 0);
    EXPECT_TRUE(form().state().esc_ok);  // not identified afresh
    EXPECT_FALSE(form().Timer1().isActive());
}

TEST_F(FirmwareE2e, LongerReadBackIsAFailure)
{
    startConnected();
    const Bytes image = image_in_file(imagePath());
    sim().change_faults([&](sim::Faults& f) { f.reply_overrides[0x0B] = image + Bytes{0x00}; });

    const qint64 ms = clickUpdate();

    ASSERT_EQ(shownBoxes(), (QStringList{kConfirm13, kVerifyError}));
    EXPECT_LT(ms, 5000);
    expectIdleAfterUpdate();
}

class ShortReadBackE2e : public FirmwareE2e, public ::testing::WithParamInterface<int> {};

// An ESC that stops sending in the verify phase, at once or one byte short,
// is given up after two empty 5 s waits.
TEST_P(ShortReadBackE2e, FailsAfterTwoEmptyWaits)
{
    startConnected();
    const Bytes image = image_in_file(imagePath());
    sim().change_faults([&](sim::Faults& f) { f.reply_overrides[0x0B] = first(image, size_t(GetParam())); });

    const qint64 ms = clickUpdate();

    ASSERT_EQ(shownBoxes(), (QStringList{kConfirm13, kVerifyError}));
    EXPECT_EQ(boxes().boxes[1].icon, BoxIcon::Error);
    EXPECT_GE(ms, 10000);
    EXPECT_LT(ms, 15000);
    expectIdleAfterUpdate();
    EXPECT_EQ(progress()->value(), 0);
}

INSTANTIATE_TEST_SUITE_P(ReadBack, ShortReadBackE2e, ::testing::Values(0, kImageBytes - 1));

// ---- Refusals ----------------------------------------------------------------

TEST_F(FirmwareE2e, WithoutAnEscOnlyTheConnectBoxShows)
{
    sim::Options o = fastOptions();
    o.esc_present = false;
    startWindow(o);
    ASSERT_TRUE(sim::Simulator::write_sample_images(programDir().toStdString(), "1.3"));
    ASSERT_TRUE(waitUntil([&] { return control<QLabel>("Label4")->text() == "FW version:unknown"; }, 5000));
    ASSERT_FALSE(form().state().esc_ok);
    sim().clear_received();
    boxes().boxes.clear();

    clickUpdate();

    ASSERT_EQ(shownBoxes(), QStringList{"Comm error|Hardware not connect,please connect first"});
    EXPECT_EQ(boxes().boxes[0].icon, BoxIcon::Error);
    EXPECT_EQ(sent(), Bytes{});
}

TEST_F(FirmwareE2e, FirmwareOnePointOneIsRefused)
{
    startConnected(false, 0x11);
    clickUpdate();
    ASSERT_EQ(shownBoxes(),
              QStringList{"Error|sorry! You can not update of the ESC,\r\nplease contact manufacturers."});
    EXPECT_EQ(boxes().boxes[0].icon, BoxIcon::Error);
    EXPECT_EQ(sent(), Bytes{});
    expectIdleAfterUpdate();
}

TEST_F(FirmwareE2e, UnknownTypeWithoutGroupEndsSilently)
{
    startConnected(false, 0x12, 0x10);
    ASSERT_EQ(form().state().fw_group, 0);
    clickUpdate();
    EXPECT_EQ(shownBoxes(), QStringList{});
    EXPECT_EQ(sent(), Bytes{});
    expectIdleAfterUpdate();
}

TEST_F(FirmwareE2e, DecliningEitherQuestionSendsNothing)
{
    const QString same = QStringLiteral(
        "Require|The version you want to upgrade is same with current ESC firmware version,\n\rDo you want "
        "to "
        "continue?");
    const struct {
        const char* name;
        uint8_t fwVersion;
        const char* header;  // nullptr: the sample image, V1.3
        std::deque<BoxAnswer> answers;
        QStringList shown;
    } cases[] = {
        {"equal versions, No", 0x13, nullptr, {BoxAnswer::No}, {same}},
        {"equal versions, Yes then No", 0x13, nullptr, {BoxAnswer::Yes, BoxAnswer::No}, {same, kConfirm13}},
        {"other version, No", 0x12, nullptr, {BoxAnswer::No}, {kConfirm13}},
        {"equal hex versions in either case, No", 0x1A, "V1.a", {BoxAnswer::No}, {same}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        startConnected(false, c.fwVersion);
        if (c.header)
            writeImage(c.header, dataLines(384));
        boxes().answers = c.answers;
        clickUpdate();
        EXPECT_EQ(shownBoxes(), c.shown);
        for (const RecordedBox& b : boxes().boxes) {
            EXPECT_EQ(b.buttons, BoxButtons::YesNo);
            EXPECT_EQ(b.icon, BoxIcon::None);
        }
        EXPECT_EQ(sent(), Bytes{});
        expectIdleAfterUpdate();
    }
}

TEST_F(FirmwareE2e, EqualVersionsAnsweredYesTwiceUpdates)
{
    startConnected(false, 0x13);
    clickUpdate();
    ASSERT_EQ(shownBoxes().size(), 3);
    EXPECT_TRUE(shownBoxes()[0].startsWith("Require|The version you want to upgrade is same"));
    EXPECT_EQ(shownBoxes()[2], kSucceed13);
}

// ---- Image files -------------------------------------------------------------

struct BadImage {
    const char* name;
    std::function<void(FirmwareE2e&)> write;
    bool asked;         // the confirmation comes before the fault is found
    const char* fault;  // part of the error text after the path
};

void PrintTo(const BadImage& c, std::ostream* os)
{
    *os << c.name;
}

class BadImageE2e : public FirmwareE2e, public ::testing::WithParamInterface<BadImage> {};

TEST_P(BadImageE2e, IsRefusedWithAnErrorBoxNamingTheFileAndNothingIsSent)
{
    const BadImage& c = GetParam();
    startConnected();
    c.write(*this);
    StatusTrail trail(statusLabel(), 1);

    clickUpdate();

    const QStringList shown = shownBoxes();
    ASSERT_EQ(shown.size(), c.asked ? 2 : 1) << shown.join(';').toStdString();
    if (c.asked) {
        EXPECT_EQ(shown[0], kConfirm13);
    }
    const RecordedBox& box = boxes().boxes.back();
    EXPECT_EQ(box.title, QStringLiteral("Error"));
    EXPECT_EQ(box.icon, BoxIcon::Error);
    if (std::string(c.name) == "Missing") {
        // Every folder an image may sit in, in the order they were tried.
        EXPECT_EQ(box.text, QStringLiteral("Cannot open the firmware image upt03.blo:\r\nFile not found\r\n"
                                           "Looked in:\r\n") +
                                programDir() + "\r\n" + userData.filePath("zelt/firmware") + "\r\n" +
                                QDir::cleanPath(programDir() + "/../share/zelt/firmware"));
    } else {
        EXPECT_TRUE(box.text.contains(QDir::toNativeSeparators(imagePath()))) << box.text.toStdString();
        EXPECT_TRUE(box.text.contains(QString::fromLatin1(c.fault))) << box.text.toStdString();
    }
    EXPECT_EQ(sent(), Bytes{});
    expectIdleAfterUpdate();
    EXPECT_EQ(trail.texts().back(), kIdle);
    EXPECT_TRUE(form().state().esc_ok);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadImageE2e,
    ::testing::Values(BadImage{"Missing", [](FirmwareE2e& t) { QFile::remove(t.imagePath()); }, false,
                               "Cannot open the firmware image"},
                      BadImage{"HeaderWithoutDigits",
                               [](FirmwareE2e& t) { t.writeImage("V1.G", t.dataLines(384)); }, false,
                               "does not name its version"},
                      BadImage{"Lines383", [](FirmwareE2e& t) { t.writeImage("V1.3", t.dataLines(383)); },
                               true, "it holds 383 data lines, a complete image has 384"},
                      BadImage{"NonHex",
                               [](FirmwareE2e& t) {
                                   QList<QByteArray> l = t.dataLines(384);
                                   l[99][7] = 'G';
                                   t.writeImage("V1.3", l);
                               },
                               true, "line 101 holds a character that is not a hex digit"}),
    [](const auto& info) { return std::string(info.param.name); });

struct GoodImage {
    const char* name;
    int lines;
    bool lowerCase;
    const char* header;
    uint8_t versionByte;
    bool inUserData = false;  // only in $XDG_DATA_HOME/zelt/firmware
};

void PrintTo(const GoodImage& c, std::ostream* os)
{
    *os << c.name;
}

class GoodImageE2e : public FirmwareE2e, public ::testing::WithParamInterface<GoodImage> {};

// 400 data lines: the first 384 are the image. Lower-case digits: the
// read-back (upper case) still compares equal.
TEST_P(GoodImageE2e, IsWrittenAndVerified)
{
    startConnected();
    const GoodImage& c = GetParam();
    writeImage(c.header, dataLines(c.lines, c.lowerCase));
    QString path = imagePath();
    if (c.inUserData) {
        path = userData.filePath("zelt/firmware/upt03.blo");
        ASSERT_TRUE(QDir().mkpath(userData.filePath("zelt/firmware")));
        ASSERT_TRUE(QFile::rename(imagePath(), path));
    }
    const Bytes image = image_in_file(path);
    ASSERT_EQ(image.size(), size_t(kImageBytes));

    clickUpdate();

    const QString version = QString::fromLatin1(c.header + 1);
    ASSERT_EQ(shownBoxes(), (QStringList{"Require|Are you really update hardware to V" + version,
                                         "Prompt|Update hardware succeed,Firmware versionV" + version}));
    EXPECT_EQ(sim().flash(), image);
    EXPECT_EQ(sim().fw_version(), c.versionByte);
    EXPECT_EQ(first(sent(), 4 + kImageBytes + 2),
              (Bytes{0x07, 0x0C, 0x00, c.versionByte} + image + Bytes{0x0B, 0x35}));
}

INSTANTIATE_TEST_SUITE_P(Files, GoodImageE2e,
                         ::testing::Values(GoodImage{"Lines400", 400, false, "V1.3", 0x13},
                                           GoodImage{"LowerCase", 384, true, "V1.3", 0x13},
                                           GoodImage{"HexVersion", 384, false, "V2.a", 0x2A},
                                           GoodImage{"InUserDataFolder", 384, false, "V1.3", 0x13, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
