// Read, write and restore through a FakeView against the simulator: the bytes
// on the wire, the boxes, and what the lists show afterwards.

#include "params/param_ops.h"
#include "testing/event_wait.h"
#include "testing/qstring_printer.h"
#include "testing/sim_session.h"

#include <functional>

namespace {

using Settings = std::array<int, 8>;

class ParamOpsOnLink : public SimSessionTest {};

TEST_F(ParamOpsOnLink, EachCommandSendsItsBytesAndShowsItsResult)
{
    const Settings onEsc{1, 1, 2, 2, 3, 0, 4, 1};
    const Settings shown{0, 1, 0, 1, 2, 2, 3, 0};
    const std::vector<uint8_t> writeFrame{0x03, 0x43, 0, 1, 0, 1, 2, 2, 3, 0};
    // The lists a window would hold: a read shows what it found, a write
    // sends them, a restore shows the defaults.
    const auto read = [](ParamOps& ops, Settings& lists) {
        const Found<SettingValues> found = ops.read();
        if (found.done())
            lists = found.value;
        return found.outcome;
    };
    const auto write = [](ParamOps& ops, Settings& lists) { return ops.write(lists); };
    const auto restore = [](ParamOps&, Settings& lists) {
        lists = ParamOps::restore_defaults();
        return Outcome::ok();
    };
    const struct {
        const char* name;
        bool escOk;
        std::function<void(Settings&)> change;  // to the lists before the command
        std::function<Outcome(ParamOps&, Settings& lists)> command;
        std::vector<uint8_t> wire;
        QStringList boxes;
        Settings listsAfter;
        Settings escAfter;
        Outcome::Kind outcome;  // its box is the last one shown
    } cases[] = {
        {"read", true, nullptr, read, {0x0D}, {"Prompt|Reading ESC parameter OK"}, onEsc, onEsc,
         Outcome::Kind::Done},
        {"write", true, nullptr, write, writeFrame, {"Prompt|Send parameter to ESC OK"}, shown, shown,
         Outcome::Kind::Done},
        {"write with a list unselected",
         true,
         [](Settings& s) { s[3] = -1; },
         write,
         {},
         {"Error|No value selected for Start Mode. Choose one before downloading."},
         {0, 1, 0, -1, 2, 2, 3, 0},
         onEsc,
         Outcome::Kind::Refused},
        {"restore", true, nullptr, restore, {}, {}, {0, 0, 1, 0, 0, 1, 2, 0}, onEsc,
         Outcome::Kind::Done},
        {"read without ESC", false, nullptr, read, {},
         {"Comm error|Hardware not connect,please connect first"}, shown, onEsc, Outcome::Kind::Refused},
        {"write without ESC", false, nullptr, write, {},
         {"Comm error|Hardware not connect,please connect first"}, shown, onEsc, Outcome::Kind::Refused},
    };
    ParamOps& ops = s().params();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim_->set_settings({1, 1, 2, 2, 3, 0, 4, 1});
        sim_->clear_received();
        dialogs_.boxes.clear();
        Settings lists = shown;
        if (c.change)
            c.change(lists);
        EscSessionTestPeer::state(s()).esc_ok = c.escOk;

        const Outcome ended = c.command(ops, lists);
        settle(50);  // the last bytes reach the simulator

        EXPECT_EQ(ended.kind, c.outcome);
        EXPECT_EQ(ended.box, c.boxes.isEmpty() ? QString() : c.boxes.back().section(QLatin1Char('|'), 1));
        EXPECT_EQ(sim_->received(), c.wire);
        EXPECT_EQ(shownBoxes(), c.boxes);
        EXPECT_EQ(lists, c.listsAfter);
        std::array<uint8_t, 8> esc{};
        std::copy(c.escAfter.begin(), c.escAfter.end(), esc.begin());
        EXPECT_EQ(sim_->settings(), esc);
        if (c.escOk && !c.wire.empty()) {
            EXPECT_EQ(view_.status, QStringLiteral("Wait user command"));
        }
    }
}

TEST_F(ParamOpsOnLink, AWriteTheEscAnswersWrongOrNotAtAllShowsTheReceiveErrorAndNoSuccess)
{
    const struct {
        const char* name;
        std::function<void(sim::Simulator&)> fault;
        Outcome::Kind outcome;
    } cases[] = {
        {"the ESC says no", [](sim::Simulator& sim) { sim.set_write_ack(0x66); }, Outcome::Kind::Rejected},
        {"the ESC is silent", [](sim::Simulator& sim) { sim.change_faults([&](sim::Faults& f) { f.reply_overrides[0x03] = {}; }); }, Outcome::Kind::NoAnswer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.fault(*sim_);
        dialogs_.boxes.clear();
        view_.statusTrail.clear();
        const Outcome written = s().params().write({0, 0, 1, 0, 0, 1, 2, 0});
        EXPECT_EQ(written.kind, c.outcome);
        EXPECT_EQ(written.box, QStringLiteral("Receive data error"));
        EXPECT_EQ(shownBoxes(), QStringList{"Comm error|Receive data error"});
        EXPECT_EQ(view_.statusTrail,
                  (QStringList{"Send parameter to ESC", "Wait user command", "Wait user command",
                               "Send parameter done", "Wait user command"}));
        EXPECT_TRUE(s().state().cmd_mode);
    }
}

}  // namespace
