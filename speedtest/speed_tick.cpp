#include "speedtest/speed_tick.h"

namespace speed {
namespace {

template <typename T>
QString cell(const std::optional<T>& value)
{
    return value ? QString::number(*value) : QString();
}

}  // namespace

QString csv_header()
{
    return QStringLiteral("time_ms,throttle_us,code,period_us,sample_rpm,shown_rpm");
}

QString csv_row(const SpeedTick& tick)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6")
        .arg(tick.timeMs)
        .arg(tick.throttleUs)
        .arg(tick.code)
        .arg(cell(tick.period), cell(tick.sampleRpm), cell(tick.shownRpm));
}

}  // namespace speed
