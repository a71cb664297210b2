#include "pty_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

PtyPeer::PtyPeer()
{
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
    path_ = QString::fromLocal8Bit(name);
    thread_ = std::thread([this] { serve(); });
}

PtyPeer::~PtyPeer()
{
    stop_ = true;
    thread_.join();
    close(master_);
    close(slave_);
}

void PtyPeer::answer(char request, std::vector<QByteArray> pieces, int gapMs)
{
    std::lock_guard lock(mutex_);
    scripts_[request] = Script{std::move(pieces), gapMs};
}

void PtyPeer::send(const QByteArray& bytes)
{
    (void)!write(master_, bytes.constData(), bytes.size());
}

QByteArray PtyPeer::received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

void PtyPeer::clear()
{
    std::lock_guard lock(mutex_);
    received_.clear();
}

bool PtyPeer::waitReceived(const QByteArray& bytes, int timeoutMs) const
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (received().contains(bytes))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return received().contains(bytes);
}

void PtyPeer::serve()
{
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN))
            continue;
        char buf[512];
        const ssize_t n = read(master_, buf, sizeof buf);
        if (n <= 0)
            continue;
        Script script;
        {
            std::lock_guard lock(mutex_);
            received_.append(buf, n);
            auto it = scripts_.find(buf[0]);
            if (it == scripts_.end())
                continue;
            script = it->second;
        }
        for (const QByteArray& piece : script.pieces) {
            if (script.gapMs > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(script.gapMs));
            send(piece);
        }
    }
}
