#pragma once
// The signals that ask a program to end (SIGINT, SIGTERM, SIGHUP, SIGQUIT,
// and for a console program a closed standard output, SIGPIPE) reach the
// event loop as stopRequested() instead of ending the process, so that the
// owner can stop the motor and keep what it must keep before it ends.
//
// The first one starts the shut-down; any later one changes nothing, so that
// a repeated signal (`timeout`, a kill of a process group) cannot cut it
// short. The shut-down is bounded: once about 2 s have passed since the first
// signal and no FinishFirst (finish_first.h) holds the program, each armed
// port's stop byte goes out straight to it and the process ends with the
// status 128 + the signal's number. SIGKILL still ends the program at once.

#include <QObject>
#include <QString>

#include <thread>

class QSocketNotifier;

class StopSignals : public QObject {
    Q_OBJECT
public:
    // program names the process in its messages on stderr; with
    // closedOutputStops, SIGPIPE asks for a stop too, and says nothing.
    explicit StopSignals(const QString& program, bool closedOutputStops = false);  // one at a time
    ~StopSignals() override;
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    int caught() const { return caught_; }  // the first signal's number; 0: none yet
    // Whether a stop has been asked for while one of these exists; from any
    // thread. Work that need not finish first, and would only hold the end
    // up (the check that follows a firmware write), ends when it sees it.
    static bool requested();
    // The shell's convention for a process a signal ended: 128 + its number.
    int exitStatus() const { return 128 + caught_; }

    static constexpr int kDeadlineMs = 2000;

signals:
    void stopRequested(int signal);

private:
    void onReadable();
    void watchDeadline(int readEnd);

    QString program_;
    QSocketNotifier* notifier_ = nullptr;
    std::thread deadline_;
    int caught_ = 0;
};
