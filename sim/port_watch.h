#pragma once
// Tells when the program has closed its side of the pseudo-terminal, as a card
// sees the DTR line drop. inotify reports each open and close of the terminal's
// device node; the device side cannot tell, since the simulator holds the
// terminal open itself so that its reads never report a hang-up.

#include <string>

namespace sim {

class PortWatch {
public:
    PortWatch() = default;
    ~PortWatch();
    PortWatch(const PortWatch&) = delete;
    PortWatch& operator=(const PortWatch&) = delete;

    // Starts counting opens and closes of the node at path from now on.
    bool start(const std::string& path);
    void stop();
    int fd() const { return fd_; }  // readable when an open or close is pending

    // Takes every pending event without blocking. True when the last holder
    // closed the port since the previous call.
    bool take_events();

private:
    int fd_ = -1;
    int holders_ = 0;
};

}  // namespace sim
