#include "serial/link_trace.h"

#include <cstdio>
#include <ctime>
#include <system_error>

namespace {

// Written out rather than made by Q_LOGGING_CATEGORY, whose object is const:
// enable_link_trace switches it. Debug messages are off unless a rule
// enables them.
QLoggingCategory& linkCategory()
{
    static QLoggingCategory category("zelt.link", QtWarningMsg);
    return category;
}

}  // namespace

const QLoggingCategory& lcLink()
{
    return linkCategory();
}

namespace {

// hh:mm:ss.zzz, local time. QTime::currentTime() has the C library look at
// the time zone again (a stat of /etc/localtime) for every line, and a line
// is traced on the receive path of every reply; localtime_r() keeps the zone
// it read first.
QString now()
{
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    ::localtime_r(&ts.tv_sec, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03ld", local.tm_hour, local.tm_min, local.tm_sec,
                  ts.tv_nsec / 1000000);
    return QString::fromLatin1(text);
}

void emitLine(const QString& text)
{
    qCDebug(lcLink).noquote() << now() + QLatin1Char(' ') + text;
}

}  // namespace

void enable_link_trace(bool on)
{
    // Holds until the logging rules are set again (QLoggingCategory::
    // setFilterRules), which this program does not do.
    linkCategory().setEnabled(QtDebugMsg, on);
}

QString trace_hex(const char* bytes, size_t length)
{
    static const char digits[] = "0123456789ABCDEF";
    QString out;
    out.reserve(static_cast<qsizetype>(length * 3));
    for (size_t i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (i != 0) {
            out += QLatin1Char(' ');
        }
        out += QLatin1Char(digits[b >> 4]);
        out += QLatin1Char(digits[b & 0xF]);
    }
    return out;
}

void trace_block(TraceDirection direction, const char* bytes, size_t length)
{
    if (lcLink().isDebugEnabled()) {
        emitLine((direction == TraceDirection::Sent ? QStringLiteral("TX ") : QStringLiteral("RX ")) +
                 trace_hex(bytes, length));
    }
}

void trace_open(const QString& path)
{
    if (lcLink().isDebugEnabled()) {
        emitLine(QStringLiteral("open ") + path);
    }
}

void trace_open_failed(const QString& path, const char* message, int systemError)
{
    if (!lcLink().isDebugEnabled()) {
        return;
    }
    QString line = QStringLiteral("open ") + path + QStringLiteral(" failed: ") + QString::fromUtf8(message);
    if (systemError != 0) {
        line += QStringLiteral(" (") + system_reason(systemError) + QLatin1Char(')');
    }
    emitLine(line);
}

void trace_close(const QString& path)
{
    if (lcLink().isDebugEnabled()) {
        emitLine(QStringLiteral("close ") + path);
    }
}

void trace_event(const QString& text)
{
    if (lcLink().isDebugEnabled()) {
        emitLine(text);
    }
}

QString system_reason(int systemError)
{
    if (systemError == 0) {
        return {};
    }
    // Unlike strerror(), safe from every thread.
    return QString::fromStdString(std::generic_category().message(systemError));
}
