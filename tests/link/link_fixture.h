#pragma once
// The link of an EscSession over a real TComm on a pseudo-terminal, a
// FakeView in place of the main window and a scripted device on the other
// side. The watchdog runs; its ticks are counted. A suite hands in other
// choices (the port-loss follower, say) through the constructor.

#include "core/esc_session.h"
#include "testing/session_peer.h"
#include "pty_peer.h"
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
    explicit LinkTest(const SessionChoices& choices = {})
        : session(std::make_unique<EscSession>(view, dialogs, choices))
    {
        link->start_speed_test = [this] { ++speedStarts; };
        QObject::connect(&timer1, &WindowTimer::tick, [this] { ++timer1Ticks; });
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
        link->receive(&comm, bytes.constData(), static_cast<uint16_t>(bytes.size()));
    }
    const QStringList& labels() const { return view.labels; }

    PtyPeer peer;
    FakeView view;
    RecordingDialogs dialogs;
    std::unique_ptr<EscSession> session;
    TComm& comm = session->comm();
    SharedState& st = EscSessionTestPeer::state(*session);
    WindowTimer& timer1 = session->watchdog();
    WindowTimer& timer2 = session->replyTimer();
    Link* link = &session->link();
    int speedStarts = 0;
    int timer1Ticks = 0;
};

inline const QString kNoSuchPort = QStringLiteral("/dev/zelt-no-such-port");
