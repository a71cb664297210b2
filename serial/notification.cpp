#include "serial/notification.h"

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
    auto* event = new CommNotification(kind, value, std::move(block));
    handovers.fetch_add(1, std::memory_order_acq_rel);
    QCoreApplication::postEvent(target_, event);
}
