#include "serial/notification.h"

#include "serial/link_trace.h"

#include <QCoreApplication>

#include <atomic>

namespace {
// Every post releases, every receiver acquires: one counter for all events.
std::atomic<uint64_t> handovers{0};
}  // namespace

QEvent::Type CommNotification::eventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

CommNotification::CommNotification(NotificationKind kind, uint32_t value, DataBlock&& block)
    : QEvent(eventType()), kind_(kind), value_(value), block_(std::move(block))
{
}

CommNotification::~CommNotification()
{
    acquireHandover();
}

void CommNotification::acquireHandover()
{
    [[maybe_unused]] const uint64_t seen = handovers.load(std::memory_order_acquire);
}

void NotificationSink::post(NotificationKind kind, uint32_t value, DataBlock&& block) const
{
    // Traced where they arise, in order with the blocks the thread traces.
    if (kind == NotificationKind::LineError) {
        trace_event(QStringLiteral("line error 0x%1").arg(value, 4, 16, QLatin1Char('0')));
    } else if (kind == NotificationKind::HangupRequest) {
        trace_event(QStringLiteral("hang-up request"));
    }
    auto* event = new CommNotification(kind, value, std::move(block));
    handovers.fetch_add(1, std::memory_order_acq_rel);
    QCoreApplication::postEvent(target_, event);
}
