#pragma once
// The shared rig: one EscSession on the unpaced device simulator, with a
// FakeView and recorded boxes; the operations run as a console program runs
// them, without a window. The watchdog does not run.

#include "core/esc_session.h"
#include "testing/session_peer.h"
#include "testing/started_sim.h"
#include "testing/fake_view.h"
#include "testing/recording_dialogs.h"

#include <gtest/gtest.h>
#include <memory>

class SimSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim_ = started_sim();
        ASSERT_NE(sim_, nullptr);
        session_ = std::make_unique<EscSession>(
            view_, shownTo_ ? *shownTo_ : dialogs_, SessionChoices{.programDir = programDir_, .watchdog = false});
        session_->comm().SetCommName(QString::fromStdString(sim_->port_path()));
        ASSERT_NO_THROW(session_->comm().OpenComm());
        EscSessionTestPeer::state(*session_).esc_ok = true;
    }
    void TearDown() override
    {
        session_->pollTimer().stop();
        session_.reset();
    }
    QStringList shownBoxes() const
    {
        QStringList shown;
        for (const RecordedBox& b : dialogs_.boxes)
            shown << b.title + "|" + b.text;
        return shown;
    }
    EscSession& s() { return *session_; }

    // Set before SetUp: the boxes go there instead of dialogs_, the firmware
    // images are looked for in programDir_.
    Dialogs* shownTo_ = nullptr;
    QString programDir_;

    std::unique_ptr<sim::Simulator> sim_;
    FakeView view_;
    RecordingDialogs dialogs_;
    std::unique_ptr<EscSession> session_;
};
