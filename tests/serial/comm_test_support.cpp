#include "comm_test_support.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

CommRecorder::CommRecorder(TComm& comm)
{
    auto onMain = [] { return QThread::currentThread() == QCoreApplication::instance()->thread(); };
    comm.OnReceiveData = [this, onMain](TComm*, const char* buffer, uint16_t length) {
        entries.push_back({'D', QByteArray(buffer, length), length, buffer[length] == 0, onMain()});
    };
    comm.OnReceiveError = [this, onMain](TComm*, uint32_t mask) {
        entries.push_back({'E', {}, mask, false, onMain()});
    };
    comm.OnRequestHangup = [this, onMain](TComm*) { entries.push_back({'H', {}, 0, false, onMain()}); };
    comm.OnModemStateChange = [this, onMain](TComm*, uint32_t event) {
        entries.push_back({'M', {}, event, false, onMain()});
    };
    comm.OnSendDataEmpty = [this, onMain](TComm*) { entries.push_back({'S', {}, 0, false, onMain()}); };
}

QByteArray CommRecorder::received() const
{
    QByteArray all;
    for (const Entry& e : entries) {
        if (e.kind == 'D') {
            all += e.bytes;
        }
    }
    return all;
}

int CommRecorder::count(char kind) const
{
    return static_cast<int>(of(kind).size());
}

std::vector<CommRecorder::Entry> CommRecorder::of(char kind) const
{
    std::vector<Entry> out;
    for (const Entry& e : entries) {
        if (e.kind == kind) {
            out.push_back(e);
        }
    }
    return out;
}

std::string CommRecorder::kinds() const
{
    std::string s;
    for (const Entry& e : entries) {
        s += e.kind;
    }
    return s;
}

PtyPair::PtyPair()
{
    char name[128] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        ADD_FAILURE() << "openpty failed: " << errno;
        return;
    }
    termios t{};
    ::tcgetattr(master_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(master_, TCSANOW, &t);
    slavePath_ = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    if (slave_ >= 0) {
        ::close(slave_);
    }
    if (master_ >= 0) {
        ::close(master_);
    }
}

QByteArray PtyPair::readMaster(size_t n, int timeoutMs)
{
    QByteArray out;
    QDeadlineTimer deadline(timeoutMs);
    char buf[4096];
    while (static_cast<size_t>(out.size()) < n && !deadline.hasExpired()) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(deadline.remainingTime())) <= 0) {
            continue;
        }
        const ssize_t got = ::read(master_, buf, std::min(sizeof buf, n - static_cast<size_t>(out.size())));
        if (got > 0) {
            out.append(buf, got);
        }
    }
    return out;
}

void PtyPair::writeMaster(const QByteArray& bytes)
{
    qsizetype off = 0;
    while (off < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + off, bytes.size() - off);
        if (n < 0 && errno != EINTR && errno != EAGAIN) {
            ADD_FAILURE() << "write to pty master failed: " << errno;
            return;
        }
        off += n > 0 ? n : 0;
    }
}

QByteArray pattern(int size, int seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i) {
        b[i] = static_cast<char>((i * 7 + seed) % 251);
    }
    return b;
}
