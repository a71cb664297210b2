// The stop byte's table: one entry per port, as many ports as it holds, and
// each armed port gets its own byte once, whatever the others do.

#include "serial/emergency_byte.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

// Pipes stand for the ports: what send() wrote is read back from the other end.
struct Pipe {
    int read = -1;
    int write = -1;
    Pipe()
    {
        int fds[2];
        if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
            read = fds[0];
            write = fds[1];
        }
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe()
    {
        emergency_byte::release(write);
        ::close(read);
        ::close(write);
    }
    std::string drain() const
    {
        std::string bytes;
        char buffer[16];
        ssize_t n;
        while ((n = ::read(read, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, static_cast<size_t>(n));
        return bytes;
    }
};

TEST(EmergencyByte, EachArmedPortGetsItsOwnByteOnce)
{
    std::vector<Pipe> ports(emergency_byte::kPorts + 1);
    for (int i = 0; i < emergency_byte::kPorts; ++i) {
        ASSERT_GE(ports[i].write, 0);
        EXPECT_TRUE(emergency_byte::arm(ports[i].write, static_cast<unsigned char>(i))) << i;
    }
    EXPECT_FALSE(emergency_byte::arm(ports.back().write, 0xFF)) << "the table is full";
    // A port armed again keeps its one entry, even in a full table.
    EXPECT_TRUE(emergency_byte::arm(ports[0].write, 0xFF));
    emergency_byte::release(ports[1].write);

    EXPECT_EQ(emergency_byte::send(), emergency_byte::kPorts - 1);
    EXPECT_EQ(ports[0].drain(), "\xFF");
    EXPECT_EQ(ports[1].drain(), "") << "released";
    for (int i = 2; i < emergency_byte::kPorts; ++i)
        EXPECT_EQ(ports[i].drain(), std::string(1, static_cast<char>(i))) << i;
    EXPECT_EQ(ports.back().drain(), "");

    // The released entry is free for another port.
    EXPECT_TRUE(emergency_byte::arm(ports.back().write, 0xFF));
    for (const Pipe& p : ports)
        emergency_byte::release(p.write);
    EXPECT_EQ(emergency_byte::send(), 0);
}

}  // namespace
