#pragma once
// The device simulator as the fixtures run it: without line pacing, started.

#include "sim/simulator.h"

#include <memory>

// Null when it could not start.
inline std::unique_ptr<sim::Simulator> start_unpaced_sim()
{
    sim::Options o;
    o.paced = false;
    auto sim = std::make_unique<sim::Simulator>(o);
    return sim->start() ? std::move(sim) : nullptr;
}
