// The ESC settings through the real window, the serial component and the
// device simulator: read, download, restore, and setup files.

#include "app/tform1.h"
#include "app/lamp.h"
#include "params/ini_file.h"
#include "e2e_fixture.h"
#include "status_trail.h"
#include "testing/file_size_limit.h"
#include "testing/qstring_printer.h"
#include "testing/scoped_env.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>

namespace {

using Values = std::array<int, 8>;
const Values kDefaults = {0, 0, 1, 0, 0, 1, 2, 0};
const Values kLastItems = {1, 1, 2, 2, 3, 2, 4, 1};
const QString kIdle = QStringLiteral("Wait user command");

class ParamsE2e : public E2eTest {
protected:

    void startConnected(sim::Options o = fastOptions())
    {
        startWindow(o);
        ASSERT_TRUE(waitConnected());
        boxes().boxes.clear();
        sim().clear_received();
    }

    bool allErrorIcons()
    {
        for (const RecordedBox& b : boxes().boxes) {
            if (b.icon != BoxIcon::Error)
                return false;
        }
        return true;
    }

    QTemporaryDir files_;
};

const QString kReceiveError = QStringLiteral("Comm error|Receive data error");

// ---- Read ESC parameter ---------------------------------------------------

TEST_F(ParamsE2e, ReadWithDefaultsFrameSelectsTheStarredItems)
{
    startConnected();
    sim().set_settings({0, 0, 1, 0, 0, 1, 2, 0});
    sim().change_faults([&](sim::Faults& f) { f.reply_delay_ms = 150; });  // long enough to see the status of the wait
    setValues(kLastItems);

    StatusTrail trail(statusLabel());
    click("Button3");

    EXPECT_EQ(sim().received(), std::vector<uint8_t>{0x0D});
    EXPECT_EQ(values(), kDefaults);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(list(i)->currentText().endsWith('*'))
            << kLists[i] << " " << list(i)->currentText().toStdString();
    EXPECT_EQ(list(7)->currentText(), QStringLiteral("OFF"));
    ASSERT_EQ(shownBoxes(), QStringList{"Prompt|Reading ESC parameter OK"});
    EXPECT_EQ(boxes().boxes[0].icon, BoxIcon::None);
    const QStringList texts = trail.texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("Reading ESC parameter "))) << texts.join(';').toStdString();
    EXPECT_EQ(texts.back(), kIdle);
}

struct ReadReply {
    const char* name;
    std::vector<uint8_t> reply;
    Values expected;  // lists after a successful read
};
void PrintTo(const ReadReply& c, std::ostream* os)
{
    *os << c.name;
}

class ReadRepliesE2e : public ParamsE2e, public ::testing::WithParamInterface<ReadReply> {};

TEST_P(ReadRepliesE2e, EveryPairLandsInItsListWithoutRangeCheck)
{
    startConnected();
    sim().change_faults([&](sim::Faults& f) { f.reply_overrides[0x0D] = GetParam().reply; });
    setValues(kLastItems);
    click("Button3");
    EXPECT_EQ(values(), GetParam().expected);
    EXPECT_EQ(shownBoxes(), QStringList{"Prompt|Reading ESC parameter OK"});
    EXPECT_EQ(status(), kIdle);
}

INSTANTIATE_TEST_SUITE_P(Replies, ReadRepliesE2e,
                         ::testing::Values(ReadReply{"BatteryByte05LeavesBatteryEmpty",
                                                     {0x43, 0x00, 0x05, 0x01, 0x00, 0x00, 0x01, 0x02, 0x00},
                                                     {0, -1, 1, 0, 0, 1, 2, 0}},
                                           ReadReply{"RowsFollowFrameOrder",
                                                     {0x43, 0x01, 0x00, 0x02, 0x01, 0x03, 0x00, 0x04, 0x01},
                                                     {1, 0, 2, 1, 3, 0, 4, 1}},
                                           ReadReply{"EveryByteOutOfRange",
                                                     {0x43, 0x02, 0x02, 0x03, 0x03, 0x04, 0x03, 0x05, 0xFF},
                                                     {-1, -1, -1, -1, -1, -1, -1, -1}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FailedRead {
    const char* name;
    std::vector<uint8_t> reply;
    int minMs;  // a complete reply is judged at once; a missing one after the reply timer
    int maxMs;
};
void PrintTo(const FailedRead& c, std::ostream* os)
{
    *os << c.name;
}

class FailedReadsE2e : public ParamsE2e, public ::testing::WithParamInterface<FailedRead> {};

TEST_P(FailedReadsE2e, ShowTheErrorTwiceAndChangeNoList)
{
    startConnected();
    sim().change_faults([&](sim::Faults& f) { f.reply_overrides[0x0D] = GetParam().reply; });
    setValues(kLastItems);
    QElapsedTimer clock;
    clock.start();
    click("Button3");
    const qint64 elapsed = clock.elapsed();

    EXPECT_EQ(shownBoxes(), (QStringList{kReceiveError, kReceiveError}));
    EXPECT_TRUE(allErrorIcons());
    EXPECT_EQ(values(), kLastItems);
    EXPECT_EQ(status(), kIdle);
    EXPECT_GE(elapsed, GetParam().minMs);
    EXPECT_LT(elapsed, GetParam().maxMs);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FailedReadsE2e,
    ::testing::Values(
        FailedRead{"WrongMarker", {0x44, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0x02, 0x00}, 0, 800},
        FailedRead{
            "AcknowledgeInsteadOfFrame", {0x55, 0x43, 0x00, 0x01, 0x00, 0x00, 0x01, 0x02, 0x00}, 0, 800},
        FailedRead{"ShortFrame", {0x43, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0x02}, 900, 4000},
        FailedRead{"NoReply", {}, 900, 4000}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Download parameter to ESC --------------------------------------------

TEST_F(ParamsE2e, DownloadPutsTheWriteRequestThenTheFrameOnTheLine)
{
    startConnected();
    sim().set_settings({1, 1, 2, 2, 3, 2, 4, 1});
    sim().change_faults([&](sim::Faults& f) { f.reply_delay_ms = 150; });
    setValues(kLastItems);
    click("Button6");

    StatusTrail trail(statusLabel());
    click("Button4");

    EXPECT_EQ(sim().received(),
              (std::vector<uint8_t>{0x03, 0x43, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0x02, 0x00}));
    const std::array<uint8_t, 8> stored = sim().settings();
    EXPECT_EQ(stored, (std::array<uint8_t, 8>{0, 0, 1, 0, 0, 1, 2, 0}));
    ASSERT_EQ(shownBoxes(), QStringList{"Prompt|Send parameter to ESC OK"});
    EXPECT_EQ(boxes().boxes[0].icon, BoxIcon::None);
    const QStringList texts = trail.texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("Send parameter to ESC"))) << texts.join(';').toStdString();
    EXPECT_EQ(texts.back(), kIdle);
}

struct WriteAnswer {
    const char* name;
    std::optional<std::vector<uint8_t>> override;  // none: the device's own 55
    uint8_t ack;
    bool ok;
    int minMs;  // an answer is judged at once; a missing one after the reply timer
    int maxMs;
};
void PrintTo(const WriteAnswer& c, std::ostream* os)
{
    *os << c.name;
}

class WriteAnswersE2e : public ParamsE2e, public ::testing::WithParamInterface<WriteAnswer> {};

TEST_P(WriteAnswersE2e, OnlyALone55CountsAsAcknowledged)
{
    const WriteAnswer& a = GetParam();
    startConnected();
    if (a.override)
        sim().change_faults([&](sim::Faults& f) { f.reply_overrides[0x03] = *a.override; });
    sim().set_write_ack(a.ack);
    setValues(kLastItems);
    QElapsedTimer clock;
    clock.start();
    click("Button4");
    const qint64 elapsed = clock.elapsed();

    EXPECT_EQ(sim().received(), (std::vector<uint8_t>{0x03, 0x43, 1, 1, 2, 2, 3, 2, 4, 1}));
    ASSERT_EQ(shownBoxes(),
              QStringList{a.ok ? QStringLiteral("Prompt|Send parameter to ESC OK") : kReceiveError});
    EXPECT_EQ(boxes().boxes.front().icon, a.ok ? BoxIcon::None : BoxIcon::Error);
    EXPECT_EQ(values(), kLastItems);
    EXPECT_EQ(status(), kIdle);
    EXPECT_GE(elapsed, a.minMs);
    EXPECT_LT(elapsed, a.maxMs);
}

INSTANTIATE_TEST_SUITE_P(Answers, WriteAnswersE2e,
                         ::testing::Values(WriteAnswer{"Ack55", std::nullopt, 0x55, true, 0, 800},
                                           WriteAnswer{"OtherByte", std::nullopt, 0x54, false, 0, 800},
                                           WriteAnswer{"AckWithTrailingZeroInOneBlock",
                                                       std::vector<uint8_t>{0x55, 0x00}, 0x55, false, 0, 800},
                                           WriteAnswer{"NoAnswer", std::vector<uint8_t>{}, 0x55, false, 900,
                                                       4000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParamsE2e, DownloadWithAnEmptyListSendsNothingAndNamesTheSetting)
{
    startConnected();
    const char* const captions[8][2] = {{"Label6", "Cut Off Type"},
                                        {"Label12", "Battery Type"},
                                        {"Label5", "Cut Off Voltage"},
                                        {"Label7", "Start Mode"},
                                        {"Label8", "Brake Mode"},
                                        {"Label9", "Timing option"},
                                        {"Label10", "Current limited sesitivity"},
                                        {"Label11", "Govener mode"}};
    for (int pos = 0; pos < 8; ++pos) {
        SCOPED_TRACE(kLists[pos]);
        ASSERT_EQ(control<QLabel>(captions[pos][0])->text(), QLatin1String(captions[pos][1]));
        boxes().boxes.clear();
        click("Button6");
        list(pos)->setCurrentIndex(-1);
        click("Button4");
        settle(100);

        EXPECT_TRUE(sim().received().empty());
        ASSERT_EQ(boxes().boxes.size(), 1u);
        EXPECT_EQ(boxes().boxes[0].title, QStringLiteral("Error"));
        EXPECT_EQ(boxes().boxes[0].icon, BoxIcon::Error);
        EXPECT_EQ(
            boxes().boxes[0].text,
            QStringLiteral("No value selected for %1. Choose one before downloading.").arg(captions[pos][1]));
        EXPECT_EQ(status(), kIdle);
    }
    // The first list without a selection is the one named.
    boxes().boxes.clear();
    click("Button6");
    list(4)->setCurrentIndex(-1);
    list(1)->setCurrentIndex(-1);
    click("Button4");
    ASSERT_EQ(boxes().boxes.size(), 1u);
    EXPECT_TRUE(boxes().boxes[0].text.contains(QStringLiteral("Battery Type")));
}

TEST_F(ParamsE2e, ReadAndDownloadNeedAnEsc)
{
    sim::Options o = fastOptions();
    o.esc_present = false;
    startWindow(o);
    // The card announces itself and reports that no ESC is plugged in.
    ASSERT_TRUE(
        waitUntil([&] { return lamp_lit(control<QWidget>("shcom")) && sim().request_count() >= 2; }, 3000));
    settle(200);
    ASSERT_FALSE(form().state().esc_ok);
    boxes().boxes.clear();
    sim().clear_received();
    setValues(kLastItems);

    click("Button3");
    click("Button4");
    settle(100);

    const QString notConnected = QStringLiteral("Comm error|Hardware not connect,please connect first");
    EXPECT_EQ(shownBoxes(), (QStringList{notConnected, notConnected}));
    EXPECT_TRUE(allErrorIcons());
    EXPECT_TRUE(sim().received().empty());
    EXPECT_EQ(values(), kLastItems);
}

TEST_F(ParamsE2e, ReadAndWriteRoundTripThroughTheEsc)
{
    startConnected();
    const std::vector<Values> sets = {
        kLastItems, {1, 0, 0, 1, 2, 0, 0, 1}, {0, 1, 2, 0, 1, 2, 3, 0}, kDefaults};
    for (const Values& written : sets) {
        boxes().boxes.clear();
        setValues(written);
        click("Button4");
        ASSERT_EQ(shownBoxes(), QStringList{"Prompt|Send parameter to ESC OK"});
        std::array<uint8_t, 8> expectedStored{};
        for (int i = 0; i < 8; ++i)
            expectedStored[i] = static_cast<uint8_t>(written[i]);
        EXPECT_EQ(sim().settings(), expectedStored);

        // Different values in the window, then the ESC's own back.
        setValues(written == kDefaults ? kLastItems : kDefaults);
        click("Button3");
        EXPECT_EQ(values(), written);
    }
}

TEST_F(ParamsE2e, ADownloadClickedWhileAReadWaitsIsNotRun)
{
    startConnected();
    sim().change_faults([&](sim::Faults& f) { f.reply_delay_ms = 300; });
    QTimer::singleShot(50, [this] { click("Button4"); });
    click("Button3");
    settle(200);
    EXPECT_EQ(sim().received(), std::vector<uint8_t>{0x0D});
    EXPECT_EQ(shownBoxes(), QStringList{"Prompt|Reading ESC parameter OK"});
}

// ---- Restore default ------------------------------------------------------

TEST_F(ParamsE2e, RestoreDefaultNeedsNoPortAndNoEsc)
{
    startWindow(fastOptions(), /*rememberPort=*/false);
    ASSERT_FALSE(form().comm().IsOpen());
    ASSERT_FALSE(form().state().esc_ok);
    const std::vector<uint8_t> before = sim().received();
    setValues(kLastItems);
    const QString statusBefore = status();

    click("Button6");

    EXPECT_EQ(values(), kDefaults);
    EXPECT_EQ(list(7)->currentText(), QStringLiteral("OFF"));
    EXPECT_FALSE(list(7)->isEnabled());
    EXPECT_TRUE(boxes().boxes.empty());
    EXPECT_EQ(status(), statusBefore);
    EXPECT_EQ(sim().received(), before);
}

// ---- Setup files ----------------------------------------------------------

class SetupFilesE2e : public ParamsE2e {
protected:
    // Connected, so that no search starts in the middle of a test.
    void SetUp() override { startConnected(); }
    QString file(const char* name) { return files_.filePath(QLatin1String(name)); }
    static void write(const QString& path, const QByteArray& text)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void load(const QString& path)
    {
        boxes().openFile = path;
        click("Button7");
    }
    void save(const QString& path)
    {
        boxes().saveFile = path;
        click("Button8");
    }
};

TEST_F(SetupFilesE2e, SaveThenLoadRestoresSixListsAndLeavesTheOtherTwo)
{
    const QString path = file("mine.zelt");
    setValues({1, 1, 2, 2, 3, 0, 4, 1});
    save(path);
    EXPECT_EQ(form().session().setupFiles().file_name(), path);

    setValues({0, 0, 0, 0, 0, 1, 0, 0});
    load(path);
    EXPECT_EQ(values(), (Values{1, 1, 2, 2, 3, 0, 0, 0}));
    EXPECT_TRUE(boxes().boxes.empty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(SetupFilesE2e, EmptyListsSurviveSaveAndLoad)
{
    const QString path = file("empty.zelt");
    setValues({-1, 0, -1, 1, -1, 2, 2, 0});
    save(path);
    EXPECT_TRUE(read(path).contains("low_volt_threshold=-1"));
    setValues(kDefaults);
    load(path);
    EXPECT_EQ(values(), (Values{-1, 0, -1, 1, -1, 2, 2, 0}));
}

struct LoadCase {
    const char* name;
    QByteArray text;
    std::array<const char*, 6> shown;  // currentText of ComboBox1..6; "" is no selection
};
void PrintTo(const LoadCase& c, std::ostream* os)
{
    *os << c.name;
}

class LoadCasesE2e : public SetupFilesE2e, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadCasesE2e, ListsShowTheFileOrTheMissingKeyValues)
{
    const QString path = file("case.zelt");
    write(path, GetParam().text);
    setValues({0, 1, 1, 1, 2, 0, 3, 1});
    load(path);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(list(i)->currentText(), QLatin1String(GetParam().shown[i])) << kLists[i];
    EXPECT_EQ(list(6)->currentIndex(), 3);
    EXPECT_EQ(list(7)->currentIndex(), 1);
    EXPECT_TRUE(boxes().boxes.empty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadCasesE2e,
    ::testing::Values(
        LoadCase{"OnlySectionLine", "[INC]\n", {"", "Li-xx*", "Low", "Normal start*", "Low brake", "High"}},
        LoadCase{"BatteryOutOfRange",
                 "[INC]\nlow_volt_threshold=1\nlow_volt_mode=7\n",
                 {"Cut off", "", "Low", "Normal start*", "Low brake", "High"}},
        LoadCase{"HexAndOddCase",
                 "[inc]\nLow_Volt_Threshold=0\nSTARTUP_MODE=$1\nbreak_mode=0x2\ntiming_mode=0X3\n"
                 "current_threshold=0\n",
                 {"Soft cut*", "Li-xx*", "Middle*", "Very soft start", "High brake", "Low"}},
        LoadCase{
            "OtherKeysAndSectionsIgnored",
            "[COMSET]\nCOM=/dev/ttyS1\ncurrent_threshold=0\n[INC]\nother1=0\nother2=0\nlow_volt_mode=1\n",
            {"", "Ni-xx", "Low", "Normal start*", "Low brake", "High"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SetupFilesE2e, MissingFileLoadsAsEmptyAndStoresTheFullPath)
{
    setValues(kLastItems);
    const QString oldDir = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(files_.path()));
    load(QStringLiteral("not-there.zelt"));
    QDir::setCurrent(oldDir);
    EXPECT_EQ(form().session().setupFiles().file_name(), file("not-there.zelt"));
    EXPECT_EQ(values(), (Values{-1, 0, 0, 0, 1, 2, 4, 1}));
    EXPECT_TRUE(boxes().boxes.empty());
}

TEST_F(SetupFilesE2e, CancelledDialogsChangeNothing)
{
    const QString path = file("kept.zelt");
    write(path, "[INC]\nlow_volt_mode=1\n");
    load(path);
    setValues(kLastItems);
    load(QString());
    save(QString());
    EXPECT_EQ(values(), kLastItems);
    EXPECT_EQ(form().session().setupFiles().file_name(), path);
    EXPECT_EQ(read(path), QByteArray("[INC]\nlow_volt_mode=1\n"));
    EXPECT_EQ(QDir(files_.path()).entryList(QDir::Files), QStringList{"kept.zelt"});
}

TEST_F(SetupFilesE2e, TheSettingsFileLoadsAsASetupFile)
{
    setValues({1, 1, 2, 2, 3, 0, 4, 1});
    form().FormDestroy();  // writes zelt.ini with all eight lists
    const QString ini = QDir(programDir()).filePath(QStringLiteral("zelt.ini"));
    ASSERT_TRUE(read(ini).contains("other1"));
    setValues({0, 0, 0, 0, 0, 1, 2, 0});
    load(ini);
    EXPECT_EQ(values(), (Values{1, 1, 2, 2, 3, 0, 2, 0}));
}

TEST_F(SetupFilesE2e, SavingIntoAnIniKeepsItsOtherSectionsAndKeys)
{
    const QString path = file("shared.zelt");
    write(path, "[COMSET]\nCOM=/dev/ttyUSB0\n[INC]\nother1=3\nlow_volt_mode=0\n[Notes]\nwho=me\n");
    setValues({1, 1, 0, 2, 1, 2, 0, 0});
    save(path);
    EXPECT_TRUE(boxes().boxes.empty());
    const IniFile saved(path);
    EXPECT_EQ(saved.readString("COMSET", "COM", ""), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(saved.readInteger("INC", "other1", -9), 3);
    EXPECT_EQ(saved.readString("Notes", "who", ""), QStringLiteral("me"));
    const std::array<int, 6> expected = {1, 1, 0, 2, 1, 2};
    const char* const keys[6] = {"low_volt_threshold", "low_volt_mode", "startup_mode",
                                 "break_mode",         "timing_mode",   "current_threshold"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(saved.readInteger("INC", keys[i], -9), expected[i]) << keys[i];
}

TEST_F(SetupFilesE2e, FailedSaveShowsTheErrorAndKeepsTheOldFile)
{
    const QString path = file("old.zelt");
    const QByteArray old = "[INC]\nlow_volt_threshold=1\n[Mine]\nx=1\n";
    write(path, old);
    setValues(kDefaults);
    {
        const FileSizeLimit diskFull(8);
        save(path);
    }
    EXPECT_EQ(read(path), old);

    const QString nowhere = file("no/such/folder/x.zelt");
    save(nowhere);
    EXPECT_FALSE(QFile::exists(nowhere));

    EXPECT_EQ(shownBoxes(), (QStringList{"Error|Save file error", "Error|Save file error"}));
    EXPECT_TRUE(allErrorIcons());
    EXPECT_EQ(form().session().setupFiles().file_name(), nowhere);
    EXPECT_EQ(QDir(files_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.zelt"});
}

// A FIFO or a file too large under the chosen name is taken as a file that
// cannot be read, and is not replaced: a load gives the fallbacks without a
// word, a save shows its error box, and no read waits for a writer.
TEST_F(SetupFilesE2e, FilesThatAreNotOursLoadAsUnreadableAndAreNotReplaced)
{
    const QString fifo = file("fifo.zelt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    const QString big = file("big.zelt");
    const QByteArray bigText = "[INC]\nlow_volt_mode=1\n" + QByteArray(IniFile::kMaxBytes, '\n');
    write(big, bigText);
    for (const QString& path : {fifo, big}) {
        setValues(kLastItems);
        const size_t shown = boxes().boxes.size();
        load(path);
        EXPECT_EQ(values(), (Values{-1, 0, 0, 0, 1, 2, 4, 1})) << path.toStdString();
        EXPECT_EQ(boxes().boxes.size(), shown) << "a load shows no box";
        save(path);
    }
    EXPECT_EQ(shownBoxes(), (QStringList{"Error|Save file error", "Error|Save file error"}));
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_EQ(read(big), bigText);
    EXPECT_EQ(QDir(files_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{"big.zelt", "fifo.zelt"}));
}

// ---- Backups ---------------------------------------------------------------

// Before a download (or a restore), the window backs up its last read of this
// ESC, and nothing without one; either way the line carries the same bytes.
TEST_F(ParamsE2e, DownloadBacksUpTheLastReadAndNothingWithoutOne)
{
    QTemporaryDir state;
    const ScopedEnv env("XDG_STATE_HOME", QFile::encodeName(state.path()));
    const QDir folder(state.path() + "/zelt/backups");
    startConnected();
    struct Case {
        bool readFirst;
        const char* button;
        std::vector<uint8_t> wire;  // the read's and the button's
        int backups;                // in the folder afterwards
    };
    const Case cases[] = {
        {false, "Button4", {0x03, 0x43, 1, 1, 2, 2, 3, 2, 4, 1}, 0},  // nothing read yet: no backup
        {true, "Button4", {0x0D, 0x03, 0x43, 1, 1, 2, 2, 3, 2, 4, 1}, 1},
        {true, "Button6", {0x0D}, 2},  // restore sends nothing, but backs up
        // A firmware update backs up before anything else; without an image it then stops at its box.
        {true, "Button2", {0x0D}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + (c.readFirst ? " after a read" : " without a read"));
        sim().set_settings({1, 1, 2, 2, 3, 2, 4, 1});
        setValues(kLastItems);
        sim().clear_received();
        if (c.readFirst) {
            setValues(kDefaults);
            click("Button3");
            ASSERT_EQ(values(), kLastItems);
        }
        click(c.button);
        EXPECT_EQ(sim().received(), c.wire);
        const QStringList names = folder.entryList(QDir::Files, QDir::Name);
        ASSERT_EQ(names.size(), c.backups);
        if (c.backups == 0)
            continue;
        EXPECT_TRUE(names.last().endsWith("_ESC_T03.zelt")) << names.last().toStdString();
        const IniFile backup(folder.filePath(names.last()));
        const char* const keys[8] = {"low_volt_threshold", "low_volt_mode", "startup_mode", "break_mode",
                                     "timing_mode",        "current_threshold", "other1", "other2"};
        for (int pos = 0; pos < 8; ++pos)
            EXPECT_EQ(backup.readInteger("INC", keys[pos], -9), kLastItems[pos]) << keys[pos];
    }
}

}  // namespace
