#pragma once
// Texts the status line showed while a command ran, in order, without
// repeats. A zero interval sees every pass of the event loop, also the single
// pass of a short pumped delay; it keeps the test's thread busy, so it is
// meant for quick exchanges against the unpaced simulator.

#include <QLabel>
#include <QObject>
#include <QStringList>
#include <QTimer>

class StatusTrail {
public:
    explicit StatusTrail(QLabel* label, int intervalMs = 1) : label_(label)
    {
        note();
        QObject::connect(&poll_, &QTimer::timeout, [this] { note(); });
        poll_.start(intervalMs);
    }
    QStringList texts()
    {
        note();
        poll_.stop();
        return texts_;
    }

private:
    void note()
    {
        if (texts_.isEmpty() || texts_.back() != label_->text())
            texts_ << label_->text();
    }
    QLabel* label_;
    QTimer poll_;
    QStringList texts_;
};
