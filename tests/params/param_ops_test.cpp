// Read, write and restore through a FakeView against the simulator: the bytes
// on the wire, the boxes, and what the lists show afterwards.

#include "params/param_ops.h"
#include "testing/event_wait.h"
#include "testing/qstring_printer.h"
#include "testing/sim_link.h"

#include <functional>

namespace {

using Settings = std::array<int, 8>;

class ParamOpsOnLink : public SimLinkTest {};

TEST_F(ParamOpsOnLink, EachCommandSendsItsBytesAndShowsItsResult)
{
    const Settings onEsc{1, 1, 2, 2, 3, 0, 4, 1};
    const Settings shown{0, 1, 0, 1, 2, 2, 3, 0};
    const std::vector<uint8_t> writeFrame{0x03, 0x43, 0, 1, 0, 1, 2, 2, 3, 0};
    const struct {
        const char* name;
        bool escOk;
        std::function<void(Settings&)> change;  // to the lists before the command
        std::function<void(ParamOps&)> command;
        std::vector<uint8_t> wire;
        QStringList boxes;
        Settings listsAfter;
        Settings escAfter;
    } cases[] = {
        {"read", true, nullptr, &ParamOps::Button3Click, {0x0D}, {"Prompt|Reading ESC parameter OK"}, onEsc, onEsc},
        {"write", true, nullptr, &ParamOps::Button4Click, writeFrame, {"Prompt|Send parameter to ESC OK"}, shown,
         shown},
        {"write with a list unselected",
         true,
         [](Settings& s) { s[3] = -1; },
         &ParamOps::Button4Click,
         {},
         {"Error|No value selected for Start Mode. Choose one before downloading."},
         {0, 1, 0, -1, 2, 2, 3, 0},
         onEsc},
        {"restore", true, nullptr, &ParamOps::Button6Click, {}, {}, {0, 0, 1, 0, 0, 1, 2, 0}, onEsc},
        {"read without ESC", false, nullptr, &ParamOps::Button3Click, {},
         {"Comm error|Hardware not connect,please connect first"}, shown, onEsc},
        {"write without ESC", false, nullptr, &ParamOps::Button4Click, {},
         {"Comm error|Hardware not connect,please connect first"}, shown, onEsc},
    };
    ParamOps ops(*link_, view_, dialogs_);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim_->set_settings({1, 1, 2, 2, 3, 0, 4, 1});
        sim_->clear_received();
        dialogs_.boxes.clear();
        view_.settings = shown;
        if (c.change)
            c.change(view_.settings);
        st_.esc_ok = c.escOk;

        c.command(ops);
        settle(50);  // the last bytes reach the simulator

        EXPECT_EQ(sim_->received(), c.wire);
        EXPECT_EQ(shownBoxes(), c.boxes);
        EXPECT_EQ(view_.settings, c.listsAfter);
        std::array<uint8_t, 8> esc{};
        std::copy(c.escAfter.begin(), c.escAfter.end(), esc.begin());
        EXPECT_EQ(sim_->settings(), esc);
        if (c.escOk && !c.wire.empty()) {
            EXPECT_EQ(view_.status, QStringLiteral("Wait user command"));
        }
    }
}

TEST_F(ParamOpsOnLink, RefusedWriteShowsTheReceiveErrorAndNoSuccess)
{
    sim_->set_write_ack(0x66);
    ParamOps ops(*link_, view_, dialogs_);
    ops.Button4Click();
    EXPECT_EQ(shownBoxes(), QStringList{"Comm error|Receive data error"});
    EXPECT_EQ(view_.statusTrail,
              (QStringList{"Send parameter to ESC", "Wait user command", "Wait user command", "Send parameter done",
                           "Wait user command"}));
    EXPECT_TRUE(st_.cmd_mode);
}

}  // namespace
