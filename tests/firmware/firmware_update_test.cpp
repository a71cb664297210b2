// The update procedure on a bare link (no main window) against the unpaced
// simulator: what the status line and the progress bar show while each box
// is up, which the window's end-to-end tests cannot see.

#include "firmware/firmware_update.h"
#include "testing/event_wait.h"
#include "testing/qstring_printer.h"
#include "testing/sim_session.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

namespace {

struct Shown {
    QString text;
    QString status;  // Label15 while the box is up
    int progress;
    int maximum;
};

class RecordingBoxes : public Dialogs {
public:
    explicit RecordingBoxes(const FakeView& view) : view_(view) {}
    std::vector<Shown> shown;
    BoxAnswer message(const QString&, const QString& text, BoxIcon, BoxButtons buttons) override
    {
        shown.push_back({text, view_.status, view_.progress, view_.progressMaximum});
        return buttons == BoxButtons::YesNo ? BoxAnswer::Yes : BoxAnswer::Ok;
    }
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&) override { return {}; }

private:
    const FakeView& view_;
};

class FirmwareUpdateOnLink : public SimSessionTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        shownTo_ = &boxes_;
        programDir_ = dir_.path();
        SimSessionTest::SetUp();
        ASSERT_TRUE(sim::Simulator::write_sample_images(dir_.path().toStdString(), "2.4"));
        view_.status = QStringLiteral("Wait user command");
        EscSessionTestPeer::state(s()).fw_group = 1;
    }

    QTemporaryDir dir_;
    RecordingBoxes boxes_{view_};
};

TEST_F(FirmwareUpdateOnLink, EachEndShowsItsBoxOverTheStatusOfItsPhase)
{
    const QString confirm = QStringLiteral("Are you really update hardware to V2.4");
    const struct {
        const char* name;
        std::function<void(sim::Simulator&)> fault;
        Shown last;
        int progressAfter;
        Outcome::Kind outcome;
    } cases[] = {
        {"verified",
         [](sim::Simulator&) {},
         {"Update hardware succeed,Firmware versionV2.4", "Update hardware finished", 3072, 3072},
         0,
         Outcome::Kind::Done},
        {"ready twice in block 7",
         [](sim::Simulator& s) {
             s.change_faults([&](sim::Faults& f) { f.block_replies[7] = {0x59, 0x59}; });
         },
         {"Receive data error,Please update Hardware again", "Update process:Writing ROM.......", 7 * 32,
          3072},
         0,
         Outcome::Kind::NoAnswer},
        {"flipped read-back byte",
         [](sim::Simulator& s) { s.change_faults([&](sim::Faults& f) { f.flip_readback_byte = 6143; }); },
         {"Update hardware failure,Please update Hardware again", "Verrify update data...", 3072, 3072},
         0,
         Outcome::Kind::Rejected},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes_.shown.clear();
        sim_->change_faults([&](sim::Faults& f) { f.block_replies[7] = {0x59}; });
        sim_->change_faults([&](sim::Faults& f) { f.flip_readback_byte = -1; });
        c.fault(*sim_);
        // Let the identification that follows a verified update come in, and
        // let the ESC give up a write left unfinished (after a quiet second).
        settle(1300);
        EscSessionTestPeer::state(s()).esc_ok = true;
        // The ESC as an identification shows it: firmware 1.2.
        s().link().show_identification(QStringLiteral("50031012"));

        const Outcome updated = s().firmware().update(QString(), view_.progressTo());
        EXPECT_EQ(updated.kind, c.outcome);
        EXPECT_EQ(updated.box, c.last.text);

        ASSERT_EQ(boxes_.shown.size(), 2u);
        EXPECT_EQ(boxes_.shown[0].text, confirm);
        const Shown& last = boxes_.shown[1];
        EXPECT_EQ(last.text, c.last.text);
        EXPECT_EQ(last.status, c.last.status);
        EXPECT_EQ(last.progress, c.last.progress);
        EXPECT_EQ(last.maximum, c.last.maximum);
        EXPECT_EQ(view_.status, QStringLiteral("Wait user command"));
        EXPECT_EQ(view_.progress, c.progressAfter);
        EXPECT_FALSE(s().state().cmd_mode);
    }
}

}  // namespace
