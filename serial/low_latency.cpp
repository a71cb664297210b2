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

namespace {

QString answer_text(LowLatency result)
{
    static constexpr struct {
        LowLatency result;
        const char* text;
    } kTexts[] = {
        {LowLatency::Granted, "granted"},
        {LowLatency::AlreadyOn, "already on"},
        {LowLatency::NotOffered, "not offered here"},
        {LowLatency::Ignored, "ignored by the driver"},
    };
    for (const auto& t : kTexts) {
        if (t.result == result)
            return QString::fromLatin1(t.text);
    }
    return QStringLiteral("failed, the port is used as it is");
}

}  // namespace

QString low_latency_trace_line(const LowLatencyAnswer& answer)
{
    QString result = answer_text(answer.result);
    if (answer.systemError != 0) {
        result += QStringLiteral(" (") + system_reason(answer.systemError) + QLatin1Char(')');
    }
    return QStringLiteral("low latency asked: ") + result;
}
