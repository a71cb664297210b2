#include "station/station_events.h"

namespace station {

QString step_name(Step step)
{
    switch (step) {
        case Step::Identify: return QStringLiteral("identify");
        case Step::Read: return QStringLiteral("read");
        case Step::Firmware: return QStringLiteral("firmware");
        case Step::Settings: return QStringLiteral("settings");
        case Step::Spin: return QStringLiteral("spin");
    }
    return {};
}

QString state_text(PortState state)
{
    switch (state) {
        case PortState::NoCard: return QStringLiteral("no card");
        case PortState::Waiting: return QStringLiteral("waiting for an ESC");
        case PortState::Running: return QStringLiteral("running");
        case PortState::Passed: return QStringLiteral("PASS, take the ESC out");
        case PortState::Failed: return QStringLiteral("FAIL, take the ESC out");
        case PortState::Paused: return QStringLiteral("paused: the records cannot be stored");
    }
    return {};
}

}  // namespace station
