#include "cli/round_trip_probe.h"

#include "cli/session.h"

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
        session.run([&] {
            clock.start();
            reply = session.link.exchange(QStringLiteral("35"),
                                          {kProbeWaitMs, [](const QString& r) { return r.size() > 3; }});
        });
        if (reply == QLatin1String("2501")) {
            times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
    }
    return times;
}

}  // namespace cli
