#include "cli/round_trip_probe.h"

#include "cli/session.h"
#include "link/wire_codes.h"

#include <QElapsedTimer>

namespace cli {

namespace {
// As long as the search waits for the probe's answer.
constexpr int kProbeWaitMs = 1000;
}  // namespace

std::vector<double> probe_round_trips(Session& session, int tries)
{
    std::vector<double> times;
    for (int i = 0; i < tries; ++i) {
        QString reply;
        QElapsedTimer clock;
        session.core.link().run_command([&] {
            clock.start();
            reply = session.core.link().exchange(QByteArray(1, request::kProbeCard),
                                               {kProbeWaitMs, [](const QString& r) { return r.size() > 3; }});
        });
        if (reply == reply::kCardHere) {
            times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
    }
    return times;
}

}  // namespace cli
