#pragma once
// A Link to the unpaced device simulator with a FakeView and recorded boxes:
// the operations run as a console program would run them, without a window.

#include "link/line_settings.h"
#include "link/link.h"
#include "serial/tcomm.h"
#include "sim/simulator.h"
#include "testing/fake_view.h"
#include "testing/recording_dialogs.h"

#include <gtest/gtest.h>
#include <memory>

class SimLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::Options o;
        o.paced = false;
        sim_ = std::make_unique<sim::Simulator>(o);
        ASSERT_TRUE(sim_->start());
        comm_.SetCommName(QString::fromStdString(sim_->port_path()));
        apply_link_line_settings(comm_);
        ASSERT_NO_THROW(comm_.OpenComm());
        link_ = std::make_unique<Link>(comm_, st_, view_, dialogs_, timer1_, timer2_);
        st_.esc_ok = true;
    }
    void TearDown() override
    {
        link_.reset();
        comm_.CloseComm();
    }
    QStringList shownBoxes() const
    {
        QStringList shown;
        for (const RecordedBox& b : dialogs_.boxes)
            shown << b.title + "|" + b.text;
        return shown;
    }

    std::unique_ptr<sim::Simulator> sim_;
    TComm comm_;
    SharedState st_;
    FakeView view_;
    RecordingDialogs dialogs_;
    WindowTimer timer1_{1000};
    WindowTimer timer2_{1000, Qt::PreciseTimer};
    std::unique_ptr<Link> link_;
};
