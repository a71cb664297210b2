#pragma once
// A pseudo-terminal another program has open at 115200 baud: its terminal
// side is held by a child process (sleep), the test keeps the controlling
// side, where anything sent to the port would arrive.

#include <QFile>
#include <QProcess>
#include <QString>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

class HeldPty {
public:
    HeldPty()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            return;
        path_ = QString::fromLocal8Bit(::ptsname(master_));
        terminal_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios t{};
        ::tcgetattr(terminal_, &t);
        ::cfsetispeed(&t, B115200);
        ::cfsetospeed(&t, B115200);
        t.c_lflag |= ECHO | ICANON;
        ::tcsetattr(terminal_, TCSANOW, &t);
        holder_.setStandardInputFile(path_);
        holder_.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        holder_.waitForStarted();
    }
    ~HeldPty()
    {
        holder_.kill();
        holder_.waitForFinished();
        for (const int fd : {terminal_, master_})
            if (fd >= 0)
                ::close(fd);
    }
    bool ok() const { return terminal_ >= 0 && holder_.state() == QProcess::Running; }
    const QString& path() const { return path_; }
    qint64 holderPid() const { return holder_.processId(); }
    termios settings() const
    {
        termios t{};
        ::tcgetattr(terminal_, &t);
        return t;
    }
    // What reached the device side.
    QByteArray sent() const
    {
        char buffer[256];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        return n > 0 ? QByteArray(buffer, static_cast<int>(n)) : QByteArray();
    }

private:
    int master_ = -1;
    int terminal_ = -1;
    QString path_;
    QProcess holder_;
};

// The line settings a program sees: its flags, rates and control characters.
inline bool same_settings(const termios& a, const termios& b)
{
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag && a.c_lflag == b.c_lflag &&
           ::cfgetispeed(&a) == ::cfgetispeed(&b) && ::cfgetospeed(&a) == ::cfgetospeed(&b) &&
           std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

