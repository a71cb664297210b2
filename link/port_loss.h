#pragma once
// The port in use going away while the program runs, and coming back.
//
// The port's hang-up request, or its device node removed (as the port watcher
// reports), ends the link as the watchdog's failure does: the same box, both
// lamps silver, esc_ok clear, the ESC labels unknown, the speed poll stopped
// and the port closed. A command running at that moment (a read, a flash)
// first ends with its own failure message; the link then goes down without a
// second box. When the same adapter comes back (its path or its stable by-id
// name), the port is opened again and the start-up chain runs, so the lamps
// come back without a click.

#include "link/dialogs.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class Link;
class PortWatcher;
class TComm;
class WindowTimer;
struct SharedState;
class EscView;

class PortLoss : public QObject {
    Q_OBJECT
public:
    // Takes the port's OnRequestHangup. watcher may be null (a fixed port
    // list): then only the hang-up request is seen and nothing reconnects.
    PortLoss(Link& link, TComm& comm, SharedState& st, EscView& view, Dialogs& dialogs, WindowTimer& watchdog,
             PortWatcher* watcher, QObject* parent = nullptr);
    ~PortLoss() override;

    // Ends the speed poll without a byte (the port is gone); installed by the owner.
    std::function<void()> stop_speed_poll;

    // The port in use went away: its hang-up request, or its node removed.
    void port_gone();
    // The port that went away is there again, at path.
    void port_back(const QString& path);
    // Tells the watcher which port to follow: the open port, or the one lost.
    // Runs after every command; the owner calls it once after start-up.
    void follow_port_in_use();

    // The link went down with the port and waits for it to come back.
    bool lost() const { return !lostPort_.isEmpty(); }

private:
    void link_down(bool box);
    void reconnect();
    void after_command();

    Link& link_;
    TComm& comm_;
    SharedState& st_;
    EscView& view_;
    Dialogs& dialogs_;
    WindowTimer& watchdog_;
    PortWatcher* watcher_;
    QString lostPort_;
    QString followed_;
    // Gone during a command: the link goes down once the command has ended,
    // with the box unless the command's outcome was a failure it has shown.
    bool downPending_ = false;
    // Back while a command ran, or the reopen failed (udev may still be
    // setting the node's permissions, ModemManager may be probing it).
    QString backAt_;
    QTimer retry_;
    int retriesLeft_ = 0;
};
