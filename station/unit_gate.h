#pragma once
// Whether a port may start a unit, and its number: shared by the engine and
// every port's thread. The engine closes it while the records cannot be
// stored and once the station stops; the count of units in all closes it too.

#include <QtGlobal>
#include <atomic>
#include <optional>

namespace station {

class UnitGate {
public:
    // limit: units in all, 0 for no limit; first: the number of the first.
    UnitGate(int limit, qint64 first) : limit_(limit), first_(first) {}

    void set_open(bool open) { open_ = open; }
    bool open() const { return open_; }

    // The next unit's number, or none when no unit may start now.
    std::optional<qint64> claim()
    {
        if (!open_)
            return std::nullopt;
        int taken = taken_.load();
        do {
            if (limit_ > 0 && taken >= limit_)
                return std::nullopt;
        } while (!taken_.compare_exchange_weak(taken, taken + 1));
        return first_ + taken;
    }

private:
    const int limit_;
    const qint64 first_;
    std::atomic<bool> open_{true};
    std::atomic<int> taken_{0};
};

}  // namespace station
