#pragma once
// What the receive and transmit threads report to the component. Each
// notification is a QEvent posted to the TComm object, which lives on the
// creating thread; Qt delivers posted events to it one at a time, in posting
// order, from that thread's event loop.

#include "serial/data_block.h"

#include <QEvent>

#include <cstdint>

class QObject;

enum class NotificationKind : uint32_t {
    DataReceived = 1025,
    LineError = 1026,
    HangupRequest = 1027,
    ModemChange = 1028,
    TransmitEmpty = 1029,
};

class CommNotification : public QEvent {
public:
    static QEvent::Type eventType();

    CommNotification(NotificationKind kind, uint32_t value, DataBlock&& block);
    ~CommNotification() override;

    // Called by the receiver before it touches an event that may be one of
    // these: pairs with the publication in NotificationSink::post(), so the
    // handover is visible to race detectors that cannot see inside Qt's own
    // locking of its event queue.
    static void acquireHandover();

    NotificationKind kind() const { return kind_; }
    uint32_t value() const { return value_; }
    const DataBlock& block() const { return block_; }

private:
    NotificationKind kind_;
    uint32_t value_;
    DataBlock block_;  // released with the event, delivered or not
};

// Where a thread posts its notifications.
class NotificationSink {
public:
    explicit NotificationSink(QObject* target) : target_(target) {}
    // Posting to a live object cannot fail; the block goes with the event.
    void post(NotificationKind kind, uint32_t value = 0, DataBlock&& block = DataBlock()) const;

private:
    QObject* target_;
};
