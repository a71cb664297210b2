#pragma once
// The link trace: every block each way, opens and closes, through the Qt
// logging category "zelt.link". It is off by default; the rule
// "zelt.link.debug=true" (QT_LOGGING_RULES, or enable_link_trace) turns it
// on. Each line starts with the local time to the millisecond.

#include <QLoggingCategory>
#include <QString>

#include <cstddef>

Q_DECLARE_LOGGING_CATEGORY(lcLink)

// Turns the trace on or off for this process, whatever the rules said.
void enable_link_trace(bool on);

// "35 A0 0F": two upper-case hex digits per byte, one blank between.
QString trace_hex(const char* bytes, size_t length);

enum class TraceDirection { Sent, Received };

// The helpers below do nothing while the trace is off; they are safe to call
// from any thread.
void trace_block(TraceDirection direction, const char* bytes, size_t length);
void trace_open(const QString& path);
// message is the component's text, systemError the errno behind it (0: none).
void trace_open_failed(const QString& path, const char* message, int systemError);
void trace_close(const QString& path);
void trace_event(const QString& text);  // a hang-up request, a line error

// The system's text for an errno value ("Permission denied"); empty for 0.
QString system_reason(int systemError);
