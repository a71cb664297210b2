#pragma once
// The rows of the tables whose ends finish a process: each runs in a forked
// child, and the row then checks how the child ended.

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

struct ChildEnd {
    int status = -1;       // exit status, or -1
    int signal = 0;        // the signal that ended the child, or 0
    std::string err;       // what it wrote on stderr
    qint64 elapsedMs = 0;  // from the fork to its end
};

inline std::string read_all(int fd)
{
    std::string bytes;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<size_t>(n));
    return bytes;
}

// Runs child in a forked process, with its standard error kept for
// ChildEnd::err; child never returns. Meanwhile parent, when given, runs
// here. Returns once the child has ended.
inline ChildEnd run_forked(const std::function<void()>& child, const std::function<void()>& parent = {})
{
    int errPipe[2];
    if (::pipe(errPipe) != 0)
        return {};
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(errPipe[1], STDERR_FILENO);
        ::close(errPipe[0]);
        child();
        ::_exit(99);  // the row's end did not happen
    }
    ::close(errPipe[1]);
    if (parent)
        parent();
    ChildEnd end;
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    end.elapsedMs = clock.elapsed();
    if (WIFEXITED(wstatus))
        end.status = WEXITSTATUS(wstatus);
    if (WIFSIGNALED(wstatus))
        end.signal = WTERMSIG(wstatus);
    end.err = read_all(errPipe[0]);
    ::close(errPipe[0]);
    return end;
}

// The child died of signal, or with signal 0 exited with status. A
// sanitizer's own report of a fatal signal may end it with an exit status
// instead.
inline void expect_child_end(const ChildEnd& end, int signal, int status)
{
    if (end.signal != 0 || signal == 0) {
        EXPECT_EQ(end.signal, signal) << end.err;
        if (signal == 0)
            EXPECT_EQ(end.status, status) << end.err;
    } else {
        EXPECT_NE(end.status, 0) << end.err;
    }
}
