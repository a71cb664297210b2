#pragma once
// The link to the setting card: hex-text requests, the receive accumulator,
// the setting card's unasked status, the bounded message-pumping reply waits,
// and hardware discovery over the listed ports.
//
// The main window owns the state, the controls, the timers and Comm1; Link
// works on them by reference. While an exchange runs (Exchange below) no other
// command may start one: the window asks busy() before acting on a click.

#include "link/dialogs.h"
#include "link/model_table.h"
#include "link/shared_state.h"
#include "link/window_timer.h"

#include <QObject>
#include <QString>
#include <functional>

class QComboBox;
class QLabel;
class QRadioButton;
class QWidget;
class TComm;

// The controls of the main window that the link procedures read or write.
struct LinkUi {
    QComboBox* cmbbxcomnum = nullptr;
    QWidget* shcom = nullptr;
    QWidget* Shdt = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label15 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
};

// The status line's idle text.
inline constexpr const char* kStatusIdle = "Wait user command";

class Link : public QObject {
    Q_OBJECT
public:
    // Takes Comm1's OnReceiveData (Comm1ReceiveData) and Timer2's tick
    // (Timer2Timer), and holds Timer1's ticks back while busy().
    Link(TComm& comm, SharedState& st, const LinkUi& ui, Dialogs& dialogs, WindowTimer& timer1,
         WindowTimer& timer2, QObject* parent = nullptr);
    ~Link() override;

    SharedState& state() { return st_; }
    TComm& comm() { return comm_; }
    Dialogs& dialogs() { return dialogs_; }
    const LinkUi& ui() const { return ui_; }
    WindowTimer& timer1() { return timer1_; }
    void setStatus(const QString& text);  // Label15

    // Runs the speed-test start (start Timer3, send "06", clear throttle_armed);
    // installed by the window, called when an ESC is identified in Speed mode.
    std::function<void()> start_speed_test;

    // Transport.
    void mscomm1send(const QString& hexText);
    void Comm1ReceiveData(TComm* sender, const char* buffer, uint16_t bufferLength);
    void Timer2Timer();
    void pumped_delay(int n);
    QString send0d();  // the reply text, or "00" after the error box

    // The reply wait: clears time_out, starts Timer2 with intervalMs, runs
    // passes until done(recv_str) or time_out, stops Timer2. It blocks in the
    // event loop between events instead of spinning.
    enum class Pass { ProcessOnce, Sleep1msThenProcess, ProcessTwice };
    void reply_wait(int intervalMs, const std::function<bool(const QString& recv)>& done,
                    Pass pass = Pass::ProcessOnce);

    // The "Receive data error" box (title "Comm error", error icon).
    void receive_data_error();

    // Identification display of an 8-character identification reply.
    void show_identification(const QString& reply);
    void set_esc_labels(const EscLabelTexts& texts);

    // Discovery and port switch.
    void Button5Click();
    void findbord();
    void Timer1Timer();
    void cmbbxcomnumChange();

    // Overlap guard. An Exchange lives for the whole of a command; while any
    // exists, busy() is true, clicks are not acted on, the busy cursor shows
    // (unless showCursor is false) and Timer1 ticks wait for its end.
    class Exchange {
    public:
        explicit Exchange(Link& link, bool showCursor = true);
        ~Exchange();
        Exchange(const Exchange&) = delete;
        Exchange& operator=(const Exchange&) = delete;

    private:
        Link& link_;
        bool cursor_;
    };
    bool busy() const { return exchanges_ > 0; }

    // A command as the window runs it: not acted on while busy() (returns
    // false), otherwise run inside an Exchange.
    bool run_command(const std::function<void()>& handler, bool showCursor = true);

private:
    void exchange_ended();
    bool probe_port(const QString& port);  // one port of the search; true: the card answered
    void identify_esc();                   // the identification request of a search

    TComm& comm_;
    SharedState& st_;
    LinkUi ui_;
    Dialogs& dialogs_;
    WindowTimer& timer1_;
    WindowTimer& timer2_;
    int exchanges_ = 0;
    QString model_label_;  // of the last identification, for the search's result box
};
