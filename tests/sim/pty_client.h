#pragma once
// The program's end of the simulator's line, for tests: raw writes and reads
// with deadlines, measured on the steady clock.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace simtest {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

Bytes hex(const std::string& text);  // "25 01" or "2501"
std::string to_hex(const Bytes& bytes);

class PtyClient {
public:
    explicit PtyClient(const std::string& path);
    ~PtyClient();
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool is_open() const { return fd_ >= 0; }
    void write(const Bytes& bytes);
    // Reads until `count` bytes have come or `timeout_ms` has passed.
    Bytes read(size_t count, int timeout_ms = 2000);
    // Reads whatever comes until the line has been quiet for `quiet_ms`.
    Bytes read_until_quiet(int quiet_ms = 60, int limit_ms = 3000);
    // Writes a request and returns what follows it until the line goes quiet.
    Bytes ask(const Bytes& request, int quiet_ms = 60);
    // Reads one chunk as the kernel delivers it; empty after `timeout_ms`.
    Bytes read_chunk(int timeout_ms);
    // True when the line reports a hang-up (the other side closed).
    bool hung_up(int timeout_ms);

private:
    int fd_ = -1;
};

}  // namespace simtest
