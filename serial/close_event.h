#pragma once
// A manual-reset event that threads can include in poll(): once set it stays
// set until destroyed. Both threads of an open port wait on it, so setting it
// wakes every wait at once.

#include <array>
#include <memory>

class CloseEvent {
public:
    // Null when the kernel refuses a new event descriptor.
    static std::unique_ptr<CloseEvent> create();
    ~CloseEvent();
    CloseEvent(const CloseEvent&) = delete;
    CloseEvent& operator=(const CloseEvent&) = delete;

    void set();
    bool isSet() const;
    int fd() const { return fd_; }

private:
    explicit CloseEvent(int fd) : fd_(fd) {}
    int fd_;
};

// The events that end a wait: the port's close event, and for the receive
// side its own stop that the line-event wait sets when it fails.
class StopSignals {
public:
    explicit StopSignals(const CloseEvent& first, const CloseEvent* second = nullptr)
        : events_{&first, second}
    {
    }
    bool isSet() const;
    // poll() entries (POLLIN) for the events, written to out; returns how many.
    int fill(struct pollfd* out) const;
    static constexpr int kMaxFds = 2;

private:
    std::array<const CloseEvent*, kMaxFds> events_;
};
