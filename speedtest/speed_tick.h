#pragma once
// One tick of the rotate-speed poll as a record, for logs and plots: what was
// sent, what came back and what the display showed after it.

#include <QString>
#include <cstdint>
#include <optional>

struct SpeedTick {
    int64_t timeMs = 0;                // since the speed test sent its start byte
    int throttleUs = 0;                // the slider's position, 900 to 2100 microseconds
    int code = 0;                      // the byte sent, 1 to 133
    std::optional<int64_t> period;     // the period T answered; none when no whole answer came
    std::optional<int32_t> sampleRpm;  // the speed computed from T
    std::optional<int32_t> shownRpm;   // the speed on the display after the tick

    bool operator==(const SpeedTick&) const = default;
};

namespace speed {

// The first line of a speed log: the columns and their units.
QString csv_header();
// One tick as a line of the log, without its line end; a "none" is an empty cell.
QString csv_row(const SpeedTick& tick);

}  // namespace speed
