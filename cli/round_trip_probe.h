#pragma once
// How long the card takes to answer the probe "35" on an open session, for
// the doctor: a USB adapter that holds replies back shows here.

#include <vector>

namespace cli {

class Session;

// Asks tries times; the round trip in milliseconds of each try the card
// answered "25 01". Empty when it answered none.
std::vector<double> probe_round_trips(Session& session, int tries);

}  // namespace cli
