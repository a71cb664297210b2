#pragma once
// The link to the setting card: hex-text requests, the receive accumulator,
// the setting card's unasked status, the bounded message-pumping reply waits,
// and hardware discovery over the listed ports.
//
// The owner (the main window, or a console program) holds the shared state,
// Comm1 and the timers; Link works on them by reference and shows what
// happens through an EscView. Commands run one at a time (run_command below).

#include "link/dialogs.h"
#include "link/esc_view.h"
#include "link/model_table.h"
#include "link/shared_state.h"
#include "link/window_timer.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

class TComm;

// The three ESC label texts as they are shown.
struct EscLabels {
    QString type, hwVersion, fwVersion;
};

// How a command reaches the link, which decides what happens to it while
// another command runs.
enum class CommandKind {
    Click,       // the user's command: waits for a background exchange, refused during another command
    ModeSwitch,  // a mode button: the button already shows the new mode, so it always runs, later if need be
    SpeedTick,   // a speed-poll tick (background): skipped while anything runs
    Watchdog,    // a Timer1 tick (background)
};

class Link : public QObject {
    Q_OBJECT
public:
    // Takes Comm1's OnReceiveData (Comm1ReceiveData) and Timer2's tick
    // (Timer2Timer), and holds Timer1's ticks back while busy().
    Link(TComm& comm, SharedState& st, EscView& view, Dialogs& dialogs, WindowTimer& timer1,
         WindowTimer& timer2, QObject* parent = nullptr);
    ~Link() override;

    void setStatus(const QString& text);  // Label15

    // Runs the speed-test start (start Timer3, send "06", clear throttle_armed);
    // installed by the owner, called when an ESC is identified in Speed mode.
    std::function<void()> start_speed_test;

    // While the ESC may drive the motor (speed mode is on), the stop byte FF
    // is kept ready for the ends of the program that cannot wait for the link.
    void keep_stop_byte_ready(bool ready);

    // Transport.
    void mscomm1send(const QString& hexText);
    void Comm1ReceiveData(TComm* sender, const char* buffer, uint16_t bufferLength);
    void Timer2Timer();
    void pumped_delay(int n);
    QString send0d();  // the reply text, or "00" after the error box
    // Waits (without handling events) until Comm1 has handed what is queued
    // to the driver, at most maxMs, and then for one byte's time on the line.
    void wait_sent(int maxMs);

    // The reply wait: clears time_out, starts Timer2 with intervalMs, runs
    // passes until done(recv_str) or time_out, stops Timer2. It blocks in the
    // event loop between events instead of spinning.
    enum class Pass { ProcessOnce, Sleep1msThenProcess, ProcessTwice };
    void reply_wait(int intervalMs, const std::function<bool(const QString& recv)>& done,
                    Pass pass = Pass::ProcessOnce);

    // One request and its reply, as every requester makes it.
    struct ReplyWait {
        int intervalMs;                              // Timer2
        std::function<bool(const QString&)> done;    // ends the wait early
        Pass pass = Pass::ProcessOnce;
        std::function<bool(const QString&)> taken = nullptr;  // the reply is taken out of recv_str; null: always
    };
    // Clears recv_str, sets cmd_mode, sends the request, runs whileInFlight
    // (if any), waits as given and returns what arrived. The text is taken
    // out of recv_str when wait.taken holds; otherwise it stays there until
    // the next request clears it. cmd_mode stays set.
    QString exchange(const QString& request, const ReplyWait& wait,
                     const std::function<void()>& whileInFlight = {});
    // More of the same reply: sets cmd_mode, waits, and takes out what arrived.
    QString await_more(const ReplyWait& wait);
    // What has arrived since, taken out of recv_str.
    QString take_received();

    // The "Receive data error" box (title "Comm error", error icon).
    void receive_data_error();
    // The parameter, firmware and speed commands need an identified ESC: true
    // when there is one, otherwise the "Hardware not connect,please connect
    // first" box has been shown.
    bool esc_required();

    // Identification display of an 8-character identification reply.
    void show_identification(const QString& reply);
    void set_esc_labels(const EscLabelTexts& texts);
    const EscLabels& esc_labels() const { return labels_; }
    // The model label of the last identification; empty for an unlisted type code.
    const QString& model_label() const { return model_label_; }

    // The ports the search steps through, in list order; shown in the port box.
    void set_port_list(const QStringList& ports);
    const QStringList& port_list() const { return ports_; }
    QString port_in_use() const;  // Comm1's CommName

    // Arms the search as start-up does: starts Timer1, clears cmd_mode and
    // esc_ok, sets auto_search and sends the probe "35".
    void arm_search();

    // Discovery and port switch.
    void Button5Click();
    void findbord();
    void Timer1Timer();
    void cmbbxcomnumChange(const QString& portName);
    // The user changed the port box to text: the switch runs now, or right
    // after a background exchange; when it is refused the box goes back to
    // the port in use.
    void port_box_changed(const QString& text);

    // Overlap guard. An Exchange lives for the whole of a command; while any
    // exists, busy() is true, the busy cursor shows (for Click and Watchdog)
    // and Timer1 ticks wait for its end.
    class Exchange {
    public:
        explicit Exchange(Link& link, CommandKind kind = CommandKind::Click);
        ~Exchange();
        Exchange(const Exchange&) = delete;
        Exchange& operator=(const Exchange&) = delete;

    private:
        Link& link_;
        bool cursor_;
    };
    bool busy() const { return exchanges_ > 0; }

    // Runs a command inside an Exchange. While another runs: a Click that
    // arrives during a background exchange, and every ModeSwitch, is kept and
    // runs once that exchange has ended, in the order they came (true); a
    // Click during another command is refused (false), as is a tick.
    bool run_command(const std::function<void()>& handler, CommandKind kind = CommandKind::Click);
    // Forgets the commands kept for later (the owner is closing).
    void drop_deferred();

    // The port at path went away under the link (empty: none). While Comm1
    // is closed and still named so, nothing can answer: every reply wait
    // ends at once, so that a command fails now, not seconds later.
    void set_lost_port(const QString& path) { lost_port_ = path; }
    bool on_lost_port() const;

signals:
    // The last command has ended and nothing is held back.
    void idle();

private:
    struct Deferred {
        CommandKind kind;
        std::function<void()> handler;
    };
    void exchange_ended();
    void run_deferred();
    bool holding_back() const { return busy() || !deferred_.empty(); }
    bool probe_port(const QString& port);  // one port of the search; true: the card answered
    void identify_esc();                   // the identification request of a search
    void start_speed_test_in_speed_mode();

    TComm& comm_;
    SharedState& st_;
    EscView& view_;
    Dialogs& dialogs_;
    WindowTimer& timer1_;
    WindowTimer& timer2_;
    int exchanges_ = 0;
    bool background_ = false;  // the running command is a speed tick or the watchdog
    std::deque<Deferred> deferred_;
    EscLabels labels_;
    QString model_label_;  // of the last identification, for the search's result box
    QStringList ports_;
    QString lost_port_;
};
