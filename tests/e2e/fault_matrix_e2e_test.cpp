// Every fault the simulated card can show against every operation of the
// window, each cell with the same invariants: no success reported after a
// failure, the status back at rest, the lists kept after a failed read, no
// byte the operation does not send, and no thread spinning afterwards.

#include "app/lamp.h"
#include "e2e_fixture.h"
#include "testing/qstring_printer.h"
#include "testing/thread_cpu.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <algorithm>
#include <optional>
#include <set>

namespace {

using Bytes = std::vector<uint8_t>;
using Values = std::array<int, 8>;
const Values kDefaults = {0, 0, 1, 0, 0, 1, 2, 0};
const Values kChosen = {1, 1, 2, 2, 3, 2, 4, 1};
const QString kIdle = QStringLiteral("Wait user command");
const QString kCommError = QStringLiteral("Comm error");

enum class Op { StartUp, Search, PortSwitch, Read, Write, RestoreWrite, SaveLoad, Firmware, Speed };

// What a cell must end with. Fails: an error box and no success; Works: the
// success and no error box; Either: the fault may or may not bite (timing),
// only the invariants hold.
enum class Outcome { Fails, Works, Either, Skip };

struct Fault {
    const char* name;
    std::function<void(sim::Simulator&, Op)> apply;
    std::function<Outcome(Op)> outcome;
};

bool isFirmware(Op op)
{
    return op == Op::Firmware;
}
bool writes(Op op)
{
    return op == Op::Write || op == Op::RestoreWrite;
}

// Operations that talk to the card and judge its answers with an error box.
bool boxedExchange(Op op)
{
    return op == Op::Search || op == Op::Read || writes(op) || isFirmware(op);
}

const Fault kFaults[] = {
    {"SilentCard", [](sim::Simulator& s, Op) { s.change_faults([&](sim::Faults& f) { f.silent_card = true; }); },
     [](Op op) {
         if (op == Op::SaveLoad)
             return Outcome::Works;
         return op == Op::Speed ? Outcome::Either : Outcome::Fails;
     }},
    // The first request of the operation goes unanswered ("07" of a firmware
    // update is never answered, so there the write start).
    {"NoReplyToFirstRequest", [](sim::Simulator& s, Op op) { s.set_no_reply_to(isFirmware(op) ? 2 : 1); },
     [](Op op) {
         // The watchdog's quiet search finds the card after a lost start-up probe.
         if (op == Op::SaveLoad || op == Op::StartUp)
             return Outcome::Works;
         return op == Op::Speed ? Outcome::Either : Outcome::Fails;
     }},
    {"DelayedBeyondTheWait",
     [](sim::Simulator& s, Op op) { s.change_faults([&](sim::Faults& f) { f.reply_delay_ms = isFirmware(op) ? 8300 : op == Op::Speed ? 40 : 1300; }); },
     [](Op op) {
         if (op == Op::SaveLoad)
             return Outcome::Works;
         return op == Op::Speed || op == Op::StartUp ? Outcome::Either : Outcome::Fails;
     }},
    {"SplitReplies", [](sim::Simulator& s, Op op) { s.change_faults([&](sim::Faults& f) { f.split_reply_gap_ms = isFirmware(op) ? 0 : 30; }); },
     [](Op op) {
         // Replies are gathered by every wait. The link-status path takes no
         // announcement in pieces, so a port switch fails; at start-up the
         // watchdog's quiet search gathers it.
         if (op == Op::Firmware)
             return Outcome::Skip;  // a 6144-byte read-back a byte at a time outlasts the matrix
         if (op == Op::PortSwitch)
             return Outcome::Fails;
         return op == Op::Speed ? Outcome::Either : Outcome::Works;
     }},
    {"CorruptedReply", [](sim::Simulator& s, Op) { s.change_faults([&](sim::Faults& f) { f.corrupt_next_reply = true; }); },
     [](Op op) {
         if (op == Op::SaveLoad || op == Op::StartUp)
             return Outcome::Works;  // at start-up the quiet search asks again
         return op == Op::Speed ? Outcome::Either : Outcome::Fails;
     }},
    {"ExtraTrailingByte", [](sim::Simulator& s, Op) { s.change_faults([&](sim::Faults& f) { f.extra_trailing_bytes = true; }); },
     [](Op op) {
         // A settings frame may be longer than nine bytes; an announcement
         // must be 25 01 and an acknowledgement a lone 55.
         if (op == Op::SaveLoad || op == Op::Read)
             return Outcome::Works;
         return op == Op::Speed ? Outcome::Either : Outcome::Fails;
     }},
    {"WrongBlockReply", [](sim::Simulator& s, Op) { s.change_faults([&](sim::Faults& f) { f.block_replies[5] = {0x42}; }); },
     [](Op op) { return isFirmware(op) ? Outcome::Fails : Outcome::Skip; }},
    {"SilentAfterBlock", [](sim::Simulator& s, Op) { s.change_faults([&](sim::Faults& f) { f.stop_after_block = 10; }); },
     [](Op op) { return isFirmware(op) ? Outcome::Fails : Outcome::Skip; }},
    {"FlippedReadBackByte", [](sim::Simulator& s, Op) { s.change_faults([&](sim::Faults& f) { f.flip_readback_byte = 100; }); },
     [](Op op) { return isFirmware(op) ? Outcome::Fails : Outcome::Skip; }},
    // The line hangs up on the operation's first byte, or inside the image.
    {"HangUp", [](sim::Simulator& s, Op op) { s.change_faults([&](sim::Faults& f) { f.hangup_after_bytes = isFirmware(op) ? 4 + 64 * 5 : 1; }); },
     [](Op op) {
         if (op == Op::SaveLoad)
             return Outcome::Works;
         return op == Op::Speed ? Outcome::Either : Outcome::Fails;
     }},
    {"WrongWriteAck", [](sim::Simulator& s, Op) { s.set_write_ack(0x54); },
     [](Op op) { return writes(op) ? Outcome::Fails : Outcome::Skip; }},
};

const char* opName(Op op)
{
    static const char* const names[] = {"StartUp", "Search",       "PortSwitch", "Read",    "Write",
                                        "RestoreWrite", "SaveLoad", "Firmware",   "Speed"};
    return names[static_cast<int>(op)];
}

const Op kOps[] = {Op::StartUp, Op::Search, Op::PortSwitch, Op::Read, Op::Write,
                   Op::RestoreWrite, Op::SaveLoad, Op::Firmware, Op::Speed};

// The bytes an operation may put on the line (any number of each); a
// firmware update sends image data, so any byte. The parameter operations
// have an exact wire (below).
std::set<uint8_t> allowedBytes(Op op)
{
    switch (op) {
        case Op::StartUp:
        case Op::Search:
        case Op::PortSwitch:
            return {0x35, 0x50};
        case Op::Speed:
            return {0x06, 0x01, 0xFF};
        default:
            break;
    }
    std::set<uint8_t> all;
    for (int b = 0; b < 256; ++b)
        all.insert(uint8_t(b));
    return all;
}

// The whole wire of an operation that sends one request whatever the answer.
std::optional<Bytes> exactWire(Op op)
{
    switch (op) {
        case Op::Read:
            return Bytes{0x0D};
        case Op::Write:
            return Bytes{0x03, 0x43, 1, 1, 2, 2, 3, 2, 4, 1};
        case Op::RestoreWrite:
            return Bytes{0x03, 0x43, 0, 0, 1, 0, 0, 1, 2, 0};
        case Op::SaveLoad:
            return Bytes{};
        default:
            return std::nullopt;
    }
}

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& tv) { return double(tv.tv_sec) + double(tv.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

using Cell = std::tuple<int, Op>;

class FaultMatrixE2e : public E2eTest, public ::testing::WithParamInterface<Cell> {
protected:
    const Fault& fault() const { return kFaults[std::get<0>(GetParam())]; }
    Op op() const { return std::get<1>(GetParam()); }

    bool escShown()
    {
        return lamp_lit(control<QWidget>("Shdt")) &&
               control<QLabel>("Label2")->text() == QStringLiteral("HW type:ESC_T03");
    }
    // Waits until the program has sent nothing for quietMs (the watchdog's
    // second included); false when it keeps sending for limitMs.
    bool waitLineQuiet(int quietMs, int limitMs)
    {
        size_t seen = sim().received().size();
        QElapsedTimer since;
        since.start();
        return waitUntil(
            [&] {
                const size_t now = sim().received().size();
                if (now != seen) {
                    seen = now;
                    since.restart();
                }
                return since.elapsed() >= quietMs;
            },
            limitMs);
    }

    // Connected in Parameter mode with the lists on kChosen and the line
    // record empty; for the start-up cell the fault is on before the window.
    void prepare()
    {
        if (op() == Op::StartUp) {
            beforeWindow = [this](sim::Simulator& s) { fault().apply(s, op()); };
            startWindow(fastOptions());
            listsBefore_ = values();
            return;
        }
        startWindow(fastOptions(), true, op() == Op::PortSwitch ? QStringList{alias()} : QStringList{});
        ASSERT_TRUE(waitConnected());
        if (op() == Op::Firmware) {
            ASSERT_TRUE(sim::Simulator::write_sample_images(programDir().toStdString(), "1.3"));
        }
        if (op() == Op::PortSwitch) {
            ASSERT_TRUE(QFile::link(simPort(), alias()));
        }
        setValues(kChosen);
        listsBefore_ = kChosen;
        settle(50);
        boxes().boxes.clear();
        sim().clear_received();
        fault().apply(sim(), op());
    }

    // Another name for the simulator's port, listed before it.
    QString alias() const { return files_.filePath(QStringLiteral("card")); }

    // Runs the operation through the window; returns whether it reported
    // success in its own way.
    bool run()
    {
        switch (op()) {
            case Op::StartUp:
                waitLineQuiet(1300, 12000);
                return escShown();
            case Op::Search:
                click("Button5");
                return boxes().boxes.size() == 1 &&
                       boxes().boxes[0].text.endsWith(QStringLiteral("and find ESCESC_T03"));
            case Op::PortSwitch: {
                QComboBox* box = control<QComboBox>("cmbbxcomnum");
                box->setFocus();
                QTest::keyClick(box, Qt::Key_Up);  // the user picks the alias above
                EXPECT_EQ(box->currentText(), alias());
                waitLineQuiet(1300, 6000);
                const Bytes sent = sim().received();
                return boxes().boxes.empty() && escShown() && std::count(sent.begin(), sent.end(), 0x50) > 0;
            }
            case Op::Read:
                click("Button3");
                return shownBoxes() == QStringList{"Prompt|Reading ESC parameter OK"};
            case Op::Write:
                click("Button4");
                return shownBoxes() == QStringList{"Prompt|Send parameter to ESC OK"} &&
                       sim().settings() == std::array<uint8_t, 8>{1, 1, 2, 2, 3, 2, 4, 1};
            case Op::RestoreWrite:
                click("Button6");
                click("Button4");
                return shownBoxes() == QStringList{"Prompt|Send parameter to ESC OK"} &&
                       sim().settings() == std::array<uint8_t, 8>{0, 0, 1, 0, 0, 1, 2, 0};
            case Op::SaveLoad:
                boxes().saveFile = files_.filePath(QStringLiteral("setup.zelt"));
                click("Button8");
                setValues(kDefaults);
                boxes().openFile = boxes().saveFile;
                click("Button7");
                return boxes().boxes.empty() && values() == Values{1, 1, 2, 2, 3, 2, 2, 0};
            case Op::Firmware:
                click("Button2");
                return shownBoxes().size() == 2 &&
                       shownBoxes()[1] == QStringLiteral("Prompt|Update hardware succeed,Firmware versionV1.3");
            case Op::Speed: {
                control<QRadioButton>("RadioButton2")->click();
                settle(500);
                const bool polled = sim().in_speed_mode() && control<QLineEdit>("Edit3")->text() == "0";
                control<QRadioButton>("RadioButton1")->click();
                return polled && boxes().boxes.empty();
            }
        }
        return false;
    }

    QTemporaryDir files_;
    Values listsBefore_{};
};

TEST_P(FaultMatrixE2e, FailsSafelyAndComesToRest)
{
    const Outcome expected = fault().outcome(op());
    ASSERT_NE(expected, Outcome::Skip) << "only the cells that apply are instantiated";
    ASSERT_NO_FATAL_FAILURE(prepare());

    const bool succeeded = run();
    const QStringList shown = shownBoxes();
    bool errorBox = false;
    for (const RecordedBox& b : boxes().boxes)
        errorBox = errorBox || b.icon == BoxIcon::Error;
    const std::string trace = "boxes: " + shown.join(" ; ").toStdString();

    EXPECT_FALSE(succeeded && errorBox) << trace;
    if (expected == Outcome::Works) {
        EXPECT_TRUE(succeeded) << trace;
    }
    if (expected == Outcome::Fails) {
        EXPECT_FALSE(succeeded) << trace;
        if (boxedExchange(op())) {
            EXPECT_TRUE(errorBox) << trace;
        }
    }
    if (!succeeded && op() != Op::RestoreWrite && op() != Op::SaveLoad) {
        EXPECT_EQ(values(), listsBefore_) << "a failed operation changes no list";
    }

    // At rest: the watchdog has had its second, the status shows the idle
    // text or the watchdog's report, and the line stays quiet.
    EXPECT_TRUE(waitLineQuiet(1300, 12000)) << "the program keeps sending";
    EXPECT_TRUE(status() == kIdle || status() == kCommError) << status().toStdString();
    const Bytes sent = sim().received();
    const std::set<uint8_t> allowed = allowedBytes(op());
    for (uint8_t b : sent)
        EXPECT_TRUE(allowed.count(b)) << "byte " << int(b) << " is no part of " << opName(op());
    if (const std::optional<Bytes> wire = exactWire(op())) {
        // A hang-up cuts the record short; nothing else changes it.
        if (std::string(fault().name) == "HangUp")
            EXPECT_TRUE(sent.size() <= wire->size() && std::equal(sent.begin(), sent.end(), wire->begin()));
        else
            EXPECT_EQ(sent, *wire);
    }
    if (op() == Op::Speed && !sent.empty() && std::string(fault().name) != "HangUp") {
        EXPECT_EQ(sent.back(), 0xFF) << "speed mode ends with its release";
    }

    const int boxesAtRest = int(boxes().boxes.size());
    const double main0 = thread_cpu_seconds();
    const double all0 = processCpuSeconds();
    settle(600);
    EXPECT_LT(thread_cpu_seconds() - main0, 0.1) << "the main thread spins";
    EXPECT_LT(processCpuSeconds() - all0, 0.3) << "a thread spins";
    EXPECT_EQ(sim().received().size(), sent.size()) << "sent at rest";
    EXPECT_EQ(int(boxes().boxes.size()), boxesAtRest) << "a box at rest";
}

void PrintTo(const Cell& cell, std::ostream* os)
{
    *os << kFaults[std::get<0>(cell)].name << " in " << opName(std::get<1>(cell));
}

std::string cellName(const ::testing::TestParamInfo<Cell>& info)
{
    return std::string(kFaults[std::get<0>(info.param)].name) + "_" + opName(std::get<1>(info.param));
}

// The cells of faults [from, to) that can happen in their operation (a wrong
// block reply, say, only in a firmware update).
std::vector<Cell> cellsThatApply(int from, int to)
{
    std::vector<Cell> cells;
    for (int f = from; f < to; ++f)
        for (Op op : kOps)
            if (kFaults[f].outcome(op) != Outcome::Skip)
                cells.emplace_back(f, op);
    return cells;
}

// One suite per fault group, so that ctest runs the cells side by side.
INSTANTIATE_TEST_SUITE_P(Replies, FaultMatrixE2e, ::testing::ValuesIn(cellsThatApply(0, 6)), cellName);
INSTANTIATE_TEST_SUITE_P(Firmware, FaultMatrixE2e, ::testing::ValuesIn(cellsThatApply(6, 9)), cellName);
INSTANTIATE_TEST_SUITE_P(Line, FaultMatrixE2e, ::testing::ValuesIn(cellsThatApply(9, int(std::size(kFaults)))),
                         cellName);

}  // namespace
