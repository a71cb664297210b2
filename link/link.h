#pragma once
// The link to the setting card: requests sent as bytes, the receive
// accumulator (hex text, whose length the replies are judged by), the setting
// card's unasked status, the bounded message-pumping reply waits, and hardware
// discovery over the listed ports.
//
// The owner (EscSession) holds the shared state, the port and the timers;
// Link works on them by reference and shows what happens through an EscView.
// Commands run one at a time (run_command below).

#include "link/dialogs.h"
#include "link/esc_view.h"
#include "link/model_table.h"
#include "link/outcome.h"
#include "link/shared_state.h"
#include "timing/window_timer.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <concepts>
#include <cstdint>
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
    Watchdog,    // a watchdog tick (background)
};

class Link : public QObject {
    Q_OBJECT
public:
    // Takes the port's OnReceiveData (receive) and the reply timer's tick
    // (reply_timeout), and holds the watchdog's ticks back while busy().
    Link(TComm& comm, SharedState& st, EscView& view, Dialogs& dialogs, WindowTimer& watchdog,
         WindowTimer& replyTimer, QObject* parent = nullptr);
    ~Link() override;

    void setStatus(const QString& text);  // the status line

    // Runs the speed-test start (start the poll, send 0x06, clear throttle_armed);
    // installed by the owner, called when an ESC is identified in Speed mode.
    std::function<void()> start_speed_test;

    // While the ESC may drive the motor (speed mode is on), the stop byte FF
    // is kept ready for the ends of the program that cannot wait for the link.
    void keep_stop_byte_ready(bool ready);

    // Transport.
    void send(const QByteArray& bytes);
    void send_code(uint8_t code) { send(QByteArray(1, static_cast<char>(code))); }
    void receive(TComm* sender, const char* buffer, uint16_t bufferLength);
    void reply_timeout();
    void pumped_delay(int n);
    // Asks the ESC for its parameter frame (0x0D). Done with the frame's
    // text in frame; otherwise the "Receive data error" box has been shown.
    Outcome read_settings_frame(QString& frame);
    // Waits (without handling events) until the port has handed what is queued
    // to the driver, at most maxMs, and then for one byte's time on the line.
    void wait_sent(int maxMs);

    // The reply wait: clears time_out, starts the reply timer with intervalMs,
    // runs passes until done(recv_str) or time_out, stops the reply timer. It blocks in the
    // event loop between events instead of spinning.
    enum class Pass { ProcessOnce, Sleep1msThenProcess, ProcessTwice };
    void reply_wait(int intervalMs, const std::function<bool(const QString& recv)>& done,
                    Pass pass = Pass::ProcessOnce);

    // One request and its reply, as every requester makes it.
    struct ReplyWait {
        int intervalMs;                              // the reply timer
        std::function<bool(const QString&)> done;    // ends the wait early
        Pass pass = Pass::ProcessOnce;
        std::function<bool(const QString&)> taken = nullptr;  // the reply is taken out of recv_str; null: always
    };
    // Clears recv_str, sets cmd_mode, sends the request, runs whileInFlight
    // (if any), waits as given and returns what arrived. The text is taken
    // out of recv_str when wait.taken holds; otherwise it stays there until
    // the next request clears it. cmd_mode stays set.
    QString exchange(const QByteArray& request, const ReplyWait& wait,
                     const std::function<void()>& whileInFlight = {});
    // More of the same reply: sets cmd_mode, waits, and takes out what arrived.
    QString await_more(const ReplyWait& wait);
    // What has arrived since, taken out of recv_str.
    QString take_received();

    // The "Receive data error" box (title "Comm error", error icon); kind
    // says what went wrong on the line.
    Outcome receive_data_error(Outcome::Kind kind = Outcome::Kind::NoAnswer);
    // Shows a box that ends an operation and returns the operation's outcome.
    Outcome report(Outcome::Kind kind, const QString& title, const QString& text);
    // The parameter, firmware and speed commands need an identified ESC: Done
    // when there is one, otherwise Refused after the "Hardware not
    // connect,please connect first" box.
    Outcome require_esc();

    // Identification display of an 8-character identification reply.
    void show_identification(const QString& reply);
    void set_esc_labels(const EscLabelTexts& texts);
    const EscLabels& esc_labels() const { return labels_; }
    // The model label of the last identification; empty for an unlisted type code.
    const QString& model_label() const { return model_label_; }

    // The ports the search steps through, in list order; shown in the port box.
    void set_port_list(const QStringList& ports);
    const QStringList& port_list() const { return ports_; }
    QString port_in_use() const;  // the port's CommName

    // Arms the search as start-up does: starts the watchdog, clears cmd_mode
    // and esc_ok, sets auto_search and sends the probe 0x35.
    void arm_search();

    // Discovery and port switch.
    // "Auto find hardware": opens the port in use and searches, with the result box.
    Outcome search_by_user();
    // Steps through the listed ports for the card and asks it for the ESC;
    // quiet (no box) while auto_search is set. Done when a card answered.
    Outcome search();
    // The same search for a caller without a window, quiet or with the
    // result box as the user's search has it, whatever the search armed.
    enum class SearchReport { Quiet, Box };
    Outcome search(SearchReport report);
    // The watchdog ran out: the quiet search, or the report that the card is gone.
    Outcome watchdog_expired();
    Outcome switch_port(const QString& portName);
    // The user changed the port box to text: the switch runs now, or right
    // after a background exchange; when it is refused the box goes back to
    // the port in use.
    void port_box_changed(const QString& text);

    // Overlap guard. An Exchange lives for the whole of a command; while any
    // exists, busy() is true, the busy cursor shows (for Click and Watchdog)
    // and watchdog ticks wait for its end.
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
    // A command runs, or one waits to: a new one would not run now.
    bool holding_back() const { return busy() || !deferred_.empty(); }

    // Runs a command inside an Exchange. While another runs: a Click that
    // arrives during a background exchange, and every ModeSwitch, is kept and
    // runs once that exchange has ended, in the order they came (true); a
    // Click during another command is refused (false), as is a tick.
    using Command = std::function<Outcome()>;
    bool run_command(const Command& handler, CommandKind kind = CommandKind::Click);
    // A command without an outcome of its own (a tick, a test's step) ends Done.
    template <std::invocable F>
        requires std::same_as<std::invoke_result_t<F>, void>
    bool run_command(F handler, CommandKind kind = CommandKind::Click)
    {
        return run_command(Command([handler = std::move(handler)]() mutable {
                               handler();
                               return Outcome::ok();
                           }),
                           kind);
    }
    // How the last command that ran to its end ended.
    const Outcome& last_outcome() const { return last_outcome_; }
    // Forgets the commands kept for later (the owner is closing).
    void drop_deferred();

    // The port at path went away under the link (empty: none). While the port
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
        Command handler;
    };
    void exchange_ended();
    void run_deferred();
    bool probe_port(const QString& port);  // one port of the search; true: the card answered
    void identify_esc();                   // the identification request of a search
    void start_speed_test_in_speed_mode();
    void run_now(const Command& handler, CommandKind kind);

    TComm& comm_;
    SharedState& st_;
    EscView& view_;
    Dialogs& dialogs_;
    WindowTimer& watchdog_;
    WindowTimer& replyTimer_;
    int exchanges_ = 0;
    bool background_ = false;  // the running command is a speed tick or the watchdog
    std::deque<Deferred> deferred_;
    EscLabels labels_;
    QString model_label_;  // of the last identification, for the search's result box
    QStringList ports_;
    QString lost_port_;
    Outcome last_outcome_;
};
