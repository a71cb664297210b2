#include "sim/simulator.h"

#include "sim/device.h"
#include "sim/line_pacer.h"
#include "sim/port_watch.h"
#include "sim/pty_pair.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <algorithm>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace sim {

namespace {
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A request left half-sent (or a firmware write left unfinished) for this long
// means the program gave up on it.
constexpr milliseconds kQuietLine{1000};
// Replies up to this long leave in one write (a throttle answer, an
// identification, a settings frame).
constexpr size_t kWholeReplyBytes = 16;

struct OutByte {
    uint8_t byte;
    Clock::time_point due;  // when the program may have it
};
}  // namespace

struct Simulator::Impl {
    explicit Impl(const Options& o) : options(o), device(o), pacer(o.paced), adapter(o.adapter, Clock::now()) {}

    void run();
    void take_bytes(const uint8_t* bytes, ssize_t n, Clock::time_point now);
    void queue_reply(std::vector<uint8_t> reply, Clock::time_point request_arrived);
    void queue_unasked(const std::vector<uint8_t>& bytes);
    void flush_due(Clock::time_point now);
    void flush_packets(Clock::time_point now);
    std::optional<Clock::time_point> next_output() const;
    void hang_up();
    void take_port_events();
    void wake();

    Options options;
    mutable std::mutex mutex;
    Device device;
    LinePacer pacer;
    UsbAdapter adapter;
    PtyPair pty;
    PortWatch port_watch;
    int wake_fd = -1;
    std::thread thread;
    bool stopping = false;
    bool hung_up = false;
    bool output_blocked = false;
    std::deque<OutByte> output;
    std::vector<uint8_t> received;
    Clock::time_point last_activity = Clock::now();
};

void Simulator::Impl::wake()
{
    const uint64_t one = 1;
    if (wake_fd >= 0)
        (void)!write(wake_fd, &one, sizeof one);
}

void Simulator::Impl::queue_reply(std::vector<uint8_t> reply, Clock::time_point request_arrived)
{
    Faults& f = device.faults;
    if (f.corrupt_next_reply) {
        reply.front() ^= 0xFF;
        f.corrupt_next_reply = false;
    }
    Clock::time_point not_before =
        request_arrived + milliseconds(options.turnaround_ms) + milliseconds(f.reply_delay_ms);
    const size_t first = output.size();
    for (uint8_t b : reply) {
        const Clock::time_point due = pacer.send(not_before);
        output.push_back({b, due});
        if (f.split_reply_gap_ms > 0)
            not_before = due + milliseconds(f.split_reply_gap_ms);
    }
    // A short reply is written in one piece when its last byte would have
    // arrived. On a real line its bytes follow each other closely enough to
    // come as one block; a simulator thread woken late between two bytes
    // would split it where no real line would.
    if (f.split_reply_gap_ms == 0 && !reply.empty() && reply.size() <= kWholeReplyBytes) {
        const Clock::time_point last = output.back().due;
        for (size_t i = first; i < output.size(); ++i)
            output[i].due = last;
    }
}

void Simulator::Impl::queue_unasked(const std::vector<uint8_t>& bytes)
{
    const Clock::time_point now = Clock::now();
    for (uint8_t b : bytes)
        output.push_back({b, pacer.send(now)});
    wake();
}

void Simulator::Impl::take_bytes(const uint8_t* bytes, ssize_t n, Clock::time_point now)
{
    last_activity = now;
    for (ssize_t i = 0; i < n; ++i) {
        received.push_back(bytes[i]);
        const Clock::time_point arrived = pacer.arrive(now);
        for (auto& reply : device.receive(bytes[i], arrived))
            queue_reply(std::move(reply), arrived);
        int& left = device.faults.hangup_after_bytes;
        if (left > 0 && --left == 0)
            return;  // the loop hangs up before anything more is read or sent
    }
}

void Simulator::Impl::flush_due(Clock::time_point now)
{
    if (adapter.active()) {
        flush_packets(now);
        return;
    }
    std::vector<uint8_t> chunk;
    for (const OutByte& out : output) {
        if (out.due > now)
            break;
        chunk.push_back(out.byte);
    }
    if (chunk.empty())
        return;
    const ssize_t written = write(pty.device_fd(), chunk.data(), chunk.size());
    output_blocked = written < static_cast<ssize_t>(chunk.size());
    if (written > 0) {
        output.erase(output.begin(), output.begin() + written);
        last_activity = now;
    }
}

namespace {
// When the first bytes waiting reach the adapter: as many as one packet holds.
std::vector<Clock::time_point> adapter_arrivals(const std::deque<OutByte>& output, size_t packet_bytes)
{
    std::vector<Clock::time_point> arrivals;
    for (size_t i = 0; i < output.size() && i < packet_bytes; ++i)
        arrivals.push_back(output[i].due);
    return arrivals;
}
}  // namespace

// Through the adapter: each packet is one write, when the adapter sends it.
void Simulator::Impl::flush_packets(Clock::time_point now)
{
    while (!output.empty()) {
        const auto packet = adapter.next(adapter_arrivals(output, options.adapter.packet_bytes));
        if (!packet || packet->when > now)
            return;
        std::vector<uint8_t> chunk;
        for (size_t i = 0; i < packet->bytes; ++i)
            chunk.push_back(output[i].byte);
        const ssize_t written = write(pty.device_fd(), chunk.data(), chunk.size());
        output_blocked = written < static_cast<ssize_t>(chunk.size());
        if (written > 0) {
            output.erase(output.begin(), output.begin() + written);
            last_activity = now;
            adapter.sent(packet->when);
        }
        if (output_blocked)
            return;
    }
}

std::optional<Clock::time_point> Simulator::Impl::next_output() const
{
    if (output.empty())
        return std::nullopt;
    if (!adapter.active())
        return output.front().due;
    return adapter.next(adapter_arrivals(output, options.adapter.packet_bytes))->when;
}

void Simulator::Impl::take_port_events()
{
    if (!port_watch.take_events())
        return;
    // Replies still due would go to nobody; a fresh open finds a quiet line.
    device.port_closed();
    output.clear();
    output_blocked = false;
}

void Simulator::Impl::hang_up()
{
    port_watch.stop();
    pty.close();
    hung_up = true;
    output.clear();
    device.faults.hangup_after_bytes = -1;
}

void Simulator::Impl::run()
{
    // Reply bytes are due to the microsecond; the default 50 us timer slack
    // would lengthen every turnaround by that much.
    prctl(PR_SET_TIMERSLACK, 1UL);
    std::unique_lock lock(mutex);
    while (!stopping) {
        if (!hung_up && device.faults.hangup_after_bytes == 0)
            hang_up();

        Clock::time_point now = Clock::now();
        if (!hung_up) {
            flush_due(now);
            if (output.empty() && device.waiting_for_more() && now - last_activity >= kQuietLine) {
                for (auto& reply : device.line_quiet(now))
                    queue_reply(std::move(reply), now);
                last_activity = now;
            }
        }

        // Sleep until a byte is due, the line has been quiet long enough, the
        // program writes, or a test changes something.
        std::optional<Clock::time_point> until;
        if (!hung_up && !output.empty() && !output_blocked)
            until = next_output();
        else if (!hung_up && output.empty() && device.waiting_for_more())
            until = last_activity + kQuietLine;

        pollfd fds[3] = {{wake_fd, POLLIN, 0},
                         {hung_up ? -1 : pty.device_fd(), POLLIN, 0},
                         {hung_up ? -1 : port_watch.fd(), POLLIN, 0}};
        if (output_blocked)
            fds[1].events |= POLLOUT;
        // Due times are absolute and ppoll waits to the microsecond, so reply
        // bytes leave when a real line would deliver them, not a tick later.
        timespec timeout{};
        timespec* timeout_p = nullptr;
        if (until) {
            const auto wait = std::max(Clock::duration::zero(), *until - now);
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
            timeout = {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
            timeout_p = &timeout;
        }
        lock.unlock();
        const int ready = ppoll(fds, 3, timeout_p, nullptr);
        lock.lock();
        if (ready <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            uint64_t count;
            (void)!read(wake_fd, &count, sizeof count);
        }
        if (hung_up)
            continue;
        // Before any byte is read: the close of the port comes before the
        // bytes the program writes after opening it again, whatever this
        // poll saw of the two.
        take_port_events();
        if (fds[1].revents & POLLOUT)
            output_blocked = false;
        if (fds[1].revents & POLLIN) {
            uint8_t buffer[4096];
            const ssize_t n = read(pty.device_fd(), buffer, sizeof buffer);
            if (n > 0)
                take_bytes(buffer, n, Clock::now());
        }
    }
}

Simulator::Simulator(const Options& options) : d(std::make_unique<Impl>(options)) {}

Simulator::~Simulator()
{
    {
        std::lock_guard lock(d->mutex);
        d->stopping = true;
        d->wake();
    }
    if (d->thread.joinable())
        d->thread.join();
    if (d->wake_fd >= 0)
        close(d->wake_fd);
}

bool Simulator::start()
{
    std::lock_guard lock(d->mutex);
    if (d->thread.joinable())
        return true;
    if (!d->pty.open())
        return false;
    d->wake_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (d->wake_fd < 0 || !d->port_watch.start(d->pty.path())) {
        if (d->wake_fd >= 0)
            close(d->wake_fd);
        d->wake_fd = -1;
        d->pty.close();
        return false;
    }
    d->thread = std::thread([this] { d->run(); });
    return true;
}

std::string Simulator::port_path() const
{
    std::lock_guard lock(d->mutex);
    return d->pty.path();
}

void Simulator::plug(uint8_t type, uint8_t hw_version, uint8_t fw_version)
{
    std::lock_guard lock(d->mutex);
    d->queue_unasked(d->device.plug(type, hw_version, fw_version));
}

void Simulator::unplug()
{
    std::lock_guard lock(d->mutex);
    d->queue_unasked(d->device.unplug());
}

void Simulator::send_raw(const std::vector<uint8_t>& bytes)
{
    std::lock_guard lock(d->mutex);
    d->queue_unasked(bytes);
}

SettingBytes Simulator::settings() const
{
    std::lock_guard lock(d->mutex);
    return d->device.settings();
}

void Simulator::set_settings(const SettingBytes& s)
{
    std::lock_guard lock(d->mutex);
    d->device.set_settings(s);
}

std::vector<uint8_t> Simulator::flash() const
{
    std::lock_guard lock(d->mutex);
    return d->device.flash();
}

uint8_t Simulator::fw_version() const
{
    std::lock_guard lock(d->mutex);
    return d->device.fw_version();
}

bool Simulator::in_speed_mode() const
{
    std::lock_guard lock(d->mutex);
    return d->device.in_speed_mode();
}

int Simulator::motor_rpm() const
{
    std::lock_guard lock(d->mutex);
    return d->device.motor_rpm(Clock::now());
}

void Simulator::set_poles(int poles)
{
    std::lock_guard lock(d->mutex);
    d->device.set_poles(poles);
}

std::vector<uint8_t> Simulator::received() const
{
    std::lock_guard lock(d->mutex);
    return d->received;
}

void Simulator::clear_received()
{
    std::lock_guard lock(d->mutex);
    d->received.clear();
}

int Simulator::request_count() const
{
    std::lock_guard lock(d->mutex);
    return d->device.request_count();
}

void Simulator::set_write_ack(uint8_t ack)
{
    std::lock_guard lock(d->mutex);
    d->device.set_write_ack(ack);
}

void Simulator::change_faults(const std::function<void(Faults&)>& change)
{
    std::lock_guard lock(d->mutex);
    Faults& f = d->device.faults;
    change(f);
    f.reply_delay_ms = std::max(0, f.reply_delay_ms);
    f.split_reply_gap_ms = std::max(0, f.split_reply_gap_ms);
    f.stop_after_block = std::max(0, f.stop_after_block);
    f.hangup_after_bytes = std::max(-1, f.hangup_after_bytes);
    d->wake();
}

void Simulator::set_no_reply_to(int nth_request)
{
    std::lock_guard lock(d->mutex);
    d->device.faults.no_reply_to_request = nth_request > 0 ? d->device.request_count() + nth_request : 0;
}

}  // namespace sim
