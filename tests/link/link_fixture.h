#pragma once
// A Link over a real TComm on a pseudo-terminal, a FakeView in place of the
// main window and a scripted device on the other side.

#include "link/link.h"
#include "pty_peer.h"
#include "serial/tcomm.h"
#include "testing/event_wait.h"
#include "testing/fake_view.h"
#include "testing/recording_dialogs.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>
#include <memory>

class LinkTest : public ::testing::Test {
protected:
    LinkTest()
    {
        comm.SetBaudRate(19200);
        // Binary link: 0x11 and 0x13 are data, not flow control.
        comm.SetOutx_XonXoffFlow(false);
        comm.SetInx_XonXoffFlow(false);
        link = std::make_unique<Link>(comm, st, view, dialogs, timer1, timer2);
        link->start_speed_test = [this] { ++speedStarts; };
        QObject::connect(&timer1, &WindowTimer::tick, [this] {
            ++timer1Ticks;
            link->run_command([this] { link->Timer1Timer(); }, CommandKind::Watchdog);
        });
    }
    ~LinkTest() override
    {
        comm.CloseComm();
        link.reset();
    }

    void openPeer()
    {
        comm.SetCommName(peer.path());
        comm.OpenComm();
    }
    static bool waitUntil(const std::function<bool()>& cond, int timeoutMs)
    {
        return wait_until(cond, timeoutMs);
    }
    static void settle(int ms) { ::settle(ms); }
    // Hands a block to the receive handler as Comm1 would.
    void receive(const QByteArray& bytes)
    {
        link->Comm1ReceiveData(&comm, bytes.constData(), static_cast<uint16_t>(bytes.size()));
    }
    const QStringList& labels() const { return view.labels; }

    PtyPeer peer;
    TComm comm;
    SharedState st;
    FakeView view;
    RecordingDialogs dialogs;
    WindowTimer timer1{1000};
    WindowTimer timer2{1000, Qt::PreciseTimer};
    std::unique_ptr<Link> link;
    int speedStarts = 0;
    int timer1Ticks = 0;
};

inline const QString kNoSuchPort = QStringLiteral("/dev/zelt-no-such-port");
