#pragma once
// A simulator started for one test, with the program's end of its line.

#include "pty_client.h"
#include "sim/simulator.h"

#include <gtest/gtest.h>

#include <memory>

namespace simtest {

inline sim::Options fast_options()
{
    sim::Options o;
    o.paced = false;
    return o;
}

class SimTest : public ::testing::Test {
protected:
    void start(const sim::Options& options = fast_options())
    {
        sim_ = std::make_unique<sim::Simulator>(options);
        ASSERT_TRUE(sim_->start());
        line_ = std::make_unique<PtyClient>(sim_->port_path());
        ASSERT_TRUE(line_->is_open()) << sim_->port_path();
    }
    sim::Simulator& sim() { return *sim_; }
    PtyClient& line() { return *line_; }

    std::unique_ptr<sim::Simulator> sim_;
    std::unique_ptr<PtyClient> line_;
};

}  // namespace simtest
