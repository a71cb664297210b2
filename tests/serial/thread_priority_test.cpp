// The port threads run above the program's other threads where the system
// allows it, and quietly at the default where it does not.

#include "comm_test_support.h"
#include "fake_port.h"
#include "serial/tcomm.h"
#include "serial/thread_priority.h"

#include <QDir>
#include <QFile>

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace {

int threadNice()
{
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
}

struct Outcome {
    bool raised = false;
    int before = 0;
    int after = 0;
};

Outcome raiseInNewThread(PortThreadPriority priority)
{
    Outcome o;
    std::thread([&] {
        o.before = threadNice();
        o.raised = raise_current_thread_priority(priority);
        o.after = threadNice();
    }).join();
    return o;
}

// The nice values of this process's threads, from /proc.
std::vector<int> taskNices()
{
    std::vector<int> nices;
    for (const QString& tid : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(tid));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray text = stat.readAll();
        // Fields after the command's closing parenthesis; nice is field 19.
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        nices.push_back(fields.value(19 - 3).toInt());
    }
    return nices;
}

// An ordinary user without RLIMIT_NICE cannot raise a thread: the call says
// so and leaves the thread as it was.
TEST(ThreadPriority, AnOrdinaryUserKeepsTheDefaultQuietly)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to become an ordinary user";
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit none{0, 0};
        const bool dropped = ::setrlimit(RLIMIT_NICE, &none) == 0 && ::setgroups(0, nullptr) == 0 &&
                             ::setresgid(65534, 65534, 65534) == 0 && ::setresuid(65534, 65534, 65534) == 0;
        const Outcome o = raiseInNewThread(PortThreadPriority::Highest);
        ::_exit(dropped && !o.raised && o.after == o.before ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(ThreadPriority, AnOpenPortsThreadsRunRaisedWhereAllowed)
{
    const bool allowed = raiseInNewThread(PortThreadPriority::Highest).raised;
    const int base = threadNice();
    auto layer = std::make_shared<FakePortLayer>();
    TComm comm(nullptr, layer);
    CommRecorder rec(comm);
    comm.OpenComm();
    // Both threads have set their priority once the receive side reads and
    // the transmit side has reported its empty queue.
    ASSERT_TRUE(layer->current->waitForReadCalls(1, std::chrono::seconds(5)));
    ASSERT_TRUE(waitUntil([&] { return rec.count('S') == 1; }, 5000));
    const std::vector<int> nices = taskNices();
    comm.CloseComm();
    const auto has = [&](int nice) { return std::find(nices.begin(), nices.end(), nice) != nices.end(); };
    EXPECT_EQ(has(base - 2), allowed);
    EXPECT_EQ(has(base - 1), allowed);
}

}  // namespace
