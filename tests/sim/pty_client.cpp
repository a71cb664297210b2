#include "pty_client.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>

#include <stdexcept>

namespace simtest {

Bytes hex(const std::string& text)
{
    Bytes out;
    std::string digits;
    for (char c : text)
        if (c != ' ')
            digits += c;
    if (digits.size() % 2)
        throw std::invalid_argument("odd hex text " + text);
    for (size_t i = 0; i < digits.size(); i += 2)
        out.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return out;
}

std::string to_hex(const Bytes& bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

PtyClient::PtyClient(const std::string& path)
{
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        return;
    termios tio{};
    tcgetattr(fd_, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd_, TCSANOW, &tio);
}

PtyClient::~PtyClient()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void PtyClient::write(const Bytes& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
        } else {
            pollfd p{fd_, POLLOUT, 0};
            if (poll(&p, 1, 1000) <= 0)
                throw std::runtime_error("cannot write to the simulator");
        }
    }
}

Bytes PtyClient::read_chunk(int timeout_ms)
{
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0 || !(p.revents & POLLIN))
        return {};
    uint8_t buffer[8192];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n <= 0)
        return {};
    return Bytes(buffer, buffer + n);
}

Bytes PtyClient::read(size_t count, int timeout_ms)
{
    Bytes out;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    while (out.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        Bytes chunk = read_chunk(static_cast<int>(left.count()));
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

Bytes PtyClient::read_until_quiet(int quiet_ms, int limit_ms)
{
    Bytes out;
    const auto deadline = Clock::now() + std::chrono::milliseconds(limit_ms);
    while (Clock::now() < deadline) {
        Bytes chunk = read_chunk(quiet_ms);
        if (chunk.empty())
            break;
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

Bytes PtyClient::ask(const Bytes& request, int quiet_ms)
{
    write(request);
    return read_until_quiet(quiet_ms);
}

bool PtyClient::hung_up(int timeout_ms)
{
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0)
        return false;
    if (p.revents & POLLHUP)
        return true;
    uint8_t b;
    return ::read(fd_, &b, 1) < 0 && errno == EIO;
}

}  // namespace simtest
