#include "serial/low_latency.h"

#include "serial/link_trace.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace {

LowLatencyAnswer refused(int error)
{
    const bool notOffered = error == ENOTTY || error == EINVAL || error == EPERM;
    return {notOffered ? LowLatency::NotOffered : LowLatency::Failed, error};
}

}  // namespace

LowLatencyAnswer request_low_latency(int fd)
{
    serial_struct s{};
    if (::ioctl(fd, TIOCGSERIAL, &s) != 0) {
        return refused(errno);
    }
    if (s.flags & ASYNC_LOW_LATENCY) {
        return {LowLatency::AlreadyOn};
    }
    s.flags |= ASYNC_LOW_LATENCY;
    if (::ioctl(fd, TIOCSSERIAL, &s) != 0) {
        return refused(errno);
    }
    // Some drivers accept the write and keep their own timing.
    serial_struct back{};
    if (::ioctl(fd, TIOCGSERIAL, &back) == 0 && !(back.flags & ASYNC_LOW_LATENCY)) {
        return {LowLatency::Ignored};
    }
    return {LowLatency::Granted};
}

QString low_latency_trace_line(const LowLatencyAnswer& answer)
{
    QString result;
    switch (answer.result) {
        case LowLatency::Granted:
            result = QStringLiteral("granted");
            break;
        case LowLatency::AlreadyOn:
            result = QStringLiteral("already on");
            break;
        case LowLatency::NotOffered:
            result = QStringLiteral("not offered here");
            break;
        case LowLatency::Ignored:
            result = QStringLiteral("ignored by the driver");
            break;
        case LowLatency::Failed:
            result = QStringLiteral("failed, the port is used as it is");
            break;
    }
    if (answer.systemError != 0) {
        result += QStringLiteral(" (") + system_reason(answer.systemError) + QLatin1Char(')');
    }
    return QStringLiteral("low latency asked: ") + result;
}
