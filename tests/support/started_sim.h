#pragma once
// The device simulator as the tests start it: answering at once, without line
// pacing, unless a test asks for more (an adapter, a slower card).

#include "sim/simulator.h"

#include <memory>

inline sim::Options unpaced_options()
{
    sim::Options o;
    o.paced = false;
    return o;
}

// Started; null when the system has no pseudo-terminal to give.
inline std::unique_ptr<sim::Simulator> started_sim(const sim::Options& o = unpaced_options())
{
    auto sim = std::make_unique<sim::Simulator>(o);
    return sim->start() ? std::move(sim) : nullptr;
}
