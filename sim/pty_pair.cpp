#include "sim/pty_pair.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {

PtyPair::~PtyPair()
{
    close();
}

bool PtyPair::open()
{
    close();
    device_fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (device_fd_ < 0 || grantpt(device_fd_) != 0 || unlockpt(device_fd_) != 0) {
        error_ = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        close();
        return false;
    }
    char name[256];
    if (ptsname_r(device_fd_, name, sizeof name) != 0) {
        error_ = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        close();
        return false;
    }
    path_ = name;
    terminal_fd_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal_fd_ < 0) {
        error_ = "cannot open " + path_ + ": " + std::strerror(errno);
        close();
        return false;
    }
    termios tio{};
    tcgetattr(terminal_fd_, &tio);
    cfmakeraw(&tio);
    cfsetispeed(&tio, B19200);
    cfsetospeed(&tio, B19200);
    tcsetattr(terminal_fd_, TCSANOW, &tio);
    // The serving loop must never block in a write: a program that does not
    // read leaves the pty's buffer full.
    fcntl(device_fd_, F_SETFL, fcntl(device_fd_, F_GETFL) | O_NONBLOCK);
    return true;
}

void PtyPair::close()
{
    if (terminal_fd_ >= 0) {
        ::close(terminal_fd_);
        terminal_fd_ = -1;
    }
    if (device_fd_ >= 0) {
        ::close(device_fd_);
        device_fd_ = -1;
    }
}

}  // namespace sim
