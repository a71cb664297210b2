#pragma once
// What the station tells whoever draws it (the command line, a window): each
// port's state and step. The texts are the ones both show.

#include <QString>

namespace station {

enum class PortState {
    NoCard,     // the setting card does not answer; it keeps being tried
    Waiting,    // the card answers, no ESC is plugged in
    Running,    // a unit's job runs
    Passed,     // the unit passed; the ESC is still plugged in
    Failed,     // the unit failed; the ESC is still plugged in
    Paused,     // the records cannot be stored: no new job starts
};

enum class Step { Identify, Read, Firmware, Settings, Spin };

QString step_name(Step step);  // "identify", "read", ...
QString state_text(PortState state);

}  // namespace station
