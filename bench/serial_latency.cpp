// Round trip over a pseudo-terminal: one byte sent, an echo peer answers, and
// the time until the reply's handler runs on the main thread. Measured for
// TComm with the main window's settings (1 ms read interval) and for
// QSerialPort on the same terminal, then the CPU time TComm's two threads use
// while the port is open and idle. Goal: TComm's median and 99th percentile
// each within QSerialPort's plus the 1 ms read interval plus 0.5 ms.
// --quick: 50 round trips each and 0.2 s idle.

#include "bench_report.h"
#include "link/line_settings.h"
#include "serial/tcomm.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSerialPort>
#include <QThread>
#include <QTimer>

#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWarmUp = 20;

// Answers every byte the component writes with the same byte.
class EchoPeer {
public:
    explicit EchoPeer(int master) : master_(master), stop_(::eventfd(0, EFD_CLOEXEC))
    {
        thread_ = std::thread([this] { run(); });
    }
    ~EchoPeer()
    {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(stop_, &one, sizeof one);
        thread_.join();
        ::close(stop_);
    }

private:
    void run()
    {
        char buf[256];
        for (;;) {
            pollfd fds[2] = {{stop_, POLLIN, 0}, {master_, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 || (fds[0].revents & POLLIN)) {
                return;
            }
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0) {
                [[maybe_unused]] const ssize_t w = ::write(master_, buf, n);
            }
        }
    }

    int master_;
    int stop_;
    std::thread thread_;
};

struct Figures {
    double medianMs = 0;
    double p99Ms = 0;
    int lost = 0;
};

// send() starts one round trip; arrived() is true once its reply was handled.
template <class Send>
Figures measure(int roundTrips, Send send, bool& arrived)
{
    std::vector<double> ms;
    int lost = 0;
    for (int i = 0; i < kWarmUp + roundTrips; ++i) {
        QEventLoop loop;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        arrived = false;
        const auto t0 = Clock::now();
        send(&loop);
        guard.start(1000);
        if (!arrived) {
            loop.exec();
        }
        const auto t1 = Clock::now();
        if (!arrived) {
            ++lost;
        } else if (i >= kWarmUp) {
            ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        }
    }
    std::sort(ms.begin(), ms.end());
    Figures f;
    f.lost = lost;
    if (!ms.empty()) {
        f.medianMs = ms[ms.size() / 2];
        f.p99Ms = ms[std::min(ms.size() - 1, static_cast<size_t>(ms.size() * 0.99))];
    }
    return f;
}

// CPU time in ms of every thread but the main one (/proc schedstat: ns on CPU).
double otherThreadsCpuMs()
{
    double ns = 0;
    const QString self = QString::number(::getpid());
    for (const QString& tid : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (tid == self) {
            continue;
        }
        QFile f("/proc/self/task/" + tid + "/schedstat");
        if (f.open(QIODevice::ReadOnly)) {
            ns += f.readAll().split(' ').value(0).toDouble();
        }
    }
    return ns / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool quick = quick_run(argc, argv);
    const int roundTrips = quick ? 50 : 1000;
    const int idleMs = quick ? 200 : 5000;
    int master = -1;
    int slave = -1;
    char name[128] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    termios raw{};
    ::tcgetattr(master, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(master, TCSANOW, &raw);
    EchoPeer peer(master);

    // TComm as the main window configures it.
    TComm comm;
    comm.SetCommName(QString::fromLocal8Bit(name));
    apply_link_line_settings(comm);
    comm.OpenComm();
    bool arrived = false;
    QEventLoop* waiting = nullptr;
    comm.OnReceiveData = [&](TComm*, const char*, uint16_t) {
        arrived = true;
        waiting->quit();
    };
    const Figures ours = measure(
        roundTrips,
        [&](QEventLoop* loop) {
            waiting = loop;
            comm.SendData("\x55", 1);
        },
        arrived);

    // Idle: both threads should sleep in poll() the whole time.
    const double idle0 = otherThreadsCpuMs();
    QThread::msleep(idleMs);
    const double idleCpuMs = otherThreadsCpuMs() - idle0;
    comm.CloseComm();

    QSerialPort port;
    port.setPortName(QString::fromLocal8Bit(name));
    port.setBaudRate(19200);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    if (!port.open(QIODevice::ReadWrite)) {
        std::fprintf(stderr, "QSerialPort: %s\n", qPrintable(port.errorString()));
        return 1;
    }
    QObject::connect(&port, &QSerialPort::readyRead, [&] {
        port.readAll();
        arrived = true;
        waiting->quit();
    });
    const Figures theirs = measure(
        roundTrips,
        [&](QEventLoop* loop) {
            waiting = loop;
            port.write("\x55", 1);
        },
        arrived);
    port.close();
    ::close(slave);

    const double allowanceMs = 1.0 + 0.5;  // the 1 ms read interval plus 0.5 ms
    std::printf("round trips: %d over %s (after %d warm-up)\n", roundTrips, name, kWarmUp);
    std::printf("TComm       median %.3f ms  p99 %.3f ms  lost %d\n", ours.medianMs, ours.p99Ms, ours.lost);
    std::printf("QSerialPort median %.3f ms  p99 %.3f ms  lost %d\n", theirs.medianMs, theirs.p99Ms,
                theirs.lost);
    std::printf("difference  median %+.3f ms  p99 %+.3f ms\n", ours.medianMs - theirs.medianMs,
                ours.p99Ms - theirs.p99Ms);
    std::printf(
        "CPU of the other threads (TComm's two and the idle echo peer), port open and idle %d ms: %.3f ms\n",
        idleMs, idleCpuMs);

    BenchReport report;
    report.atMost("round trip p50, TComm (QSerialPort + 1.5 ms)", ours.medianMs, "ms",
                  theirs.medianMs + allowanceMs);
    report.atMost("round trip p99, TComm (QSerialPort + 1.5 ms)", ours.p99Ms, "ms",
                  theirs.p99Ms + allowanceMs);
    report.atMost("round trips lost, TComm", ours.lost, "", 0, 0);
    report.info("  round trip p50, QSerialPort", theirs.medianMs, "ms");
    report.info("  round trip p99, QSerialPort", theirs.p99Ms, "ms");
    report.info("  CPU of the idle port threads per second", idleCpuMs * 1000.0 / idleMs, "ms");
    report.print();
    return 0;
}
