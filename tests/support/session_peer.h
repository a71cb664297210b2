#pragma once
// What a test rig sets on a session that a real search would have set: the
// identification flags, so that an operation can run without a search first.

#include "core/esc_session.h"

struct EscSessionTestPeer {
    static SharedState& state(EscSession& session) { return session.state_; }
};
