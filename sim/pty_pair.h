#pragma once
// The two ends of a pseudo-terminal: the program opens the terminal side by its
// path like any serial port; the device talks on the controlling side.

#include <string>

namespace sim {

class PtyPair {
public:
    PtyPair() = default;
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // Opens the pair with the terminal side raw at 19200 baud. False (with the
    // reason in error()) when the system has no pseudo-terminal to give.
    bool open();
    // Closes both sides: the program's side then sees a hang-up.
    void close();

    int device_fd() const { return device_fd_; }
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }

private:
    int device_fd_ = -1;
    // Held open so that the device side never reads a hang-up while the program
    // has the port closed, as a card stays powered between program runs.
    int terminal_fd_ = -1;
    std::string path_;
    std::string error_;
};

}  // namespace sim
